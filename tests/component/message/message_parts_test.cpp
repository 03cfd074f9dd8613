// MIME parts as message objects: ranges, sizes, members, nesting, and parts
// kept after their message is gone.
#include <gtest/gtest.h>

#include "tests/component/message/message_test_util.h"

using namespace msgtest;

namespace {

const std::string kNested =
    "Subject: outer\r\n"
    "Content-Type: multipart/mixed; boundary=\"outer\"\r\n"
    "\r\n"
    "--outer\r\n"
    "Content-Type: multipart/alternative; boundary=\"inner\"\r\n"
    "\r\n"
    "--inner\r\n"
    "Content-Type: text/plain\r\n"
    "\r\n"
    "plain words\r\n"
    "--inner\r\n"
    "Content-Type: text/html\r\n"
    "\r\n"
    "<b>html</b>\r\n"
    "--inner--\r\n"
    "--outer\r\n"
    "Content-Type: application/octet-stream; name=\"x.bin\"\r\n"
    "Content-Transfer-Encoding: base64\r\n"
    "Content-Disposition: attachment\r\n"
    "\r\n"
    "eHl6\r\n"
    "--outer--\r\n";

com::ComPtr<IPop3Msgs> PartsOf(IPop3Msg* message) {
    com::ComPtr<IPop3Msgs> parts;
    EXPECT_EQ(message->get_Parts(parts.ReleaseAndGetAddressOf()), com::S_OK);
    return parts;
}

com::ComPtr<IPop3Msg> Item(IPop3Msgs* parts, std::int16_t i) {
    com::ComPtr<IPop3Msg> part;
    EXPECT_EQ(parts->get_Item(i, part.ReleaseAndGetAddressOf()), com::S_OK);
    return part;
}

std::int16_t CountOf(IPop3Msgs* parts) {
    std::int16_t n = -1;
    parts->get_Count(&n);
    return n;
}

TEST(Parts, AreMessagesOverTheirRanges) {
    const auto message = Downloaded(kNested);
    const auto parts = PartsOf(message.Get());
    ASSERT_EQ(CountOf(parts.Get()), 2);
    const auto alternative = Item(parts.Get(), 0);
    EXPECT_EQ(Text<IPop3Msg>(alternative.Get(), &IPop3Msg::get_ContentTypeOnly), "multipart/alternative");
    EXPECT_EQ(Text<IPop3Msg>(alternative.Get(), &IPop3Msg::get_PlainText), "plain words\r\n");
    EXPECT_EQ(Text<IPop3Msg>(alternative.Get(), &IPop3Msg::get_HTMLText), "<b>html</b>\r\n");
    const auto inner = PartsOf(alternative.Get());
    ASSERT_EQ(CountOf(inner.Get()), 2);
    EXPECT_EQ(Text<IPop3Msg>(Item(inner.Get(), 1).Get(), &IPop3Msg::get_Text), "<b>html</b>\r\n");

    const auto binary = Item(parts.Get(), 1);
    const std::string body = Text<IPop3Msg>(binary.Get(), &IPop3Msg::get_Body);
    EXPECT_EQ(body.rfind("--outer\r\nContent-Type: application/octet-stream", 0), 0u) << body;
    std::int32_t size = 0;
    binary->get_Size(&size);
    EXPECT_EQ(size, static_cast<std::int32_t>(body.size()));
    com::Bstr decoded;
    ASSERT_EQ(binary->get_DecodedText(com::Variant(), decoded.ReleaseAndGetAddressOf()), com::S_OK);
    EXPECT_EQ(Narrow(decoded.View()), "xyz");
    // A part has no session to download through.
    EXPECT_EQ(binary->Get(), com::E_FAIL);
    EXPECT_EQ(parts->GetAll(), com::E_FAIL);
    com::ComPtr<IPop3Msg> none;
    EXPECT_EQ(parts->get_Item(2, none.ReleaseAndGetAddressOf()), com::E_INVALIDARG);
}

TEST(Parts, KeptAfterTheMessageIsReleasedStillReadTheirBytes) {
    com::ComPtr<IPop3Msg> alternative;
    com::ComPtr<IPop3Attachment> attachment;
    std::string file;
    {
        const auto message = Downloaded(kNested);
        file = message->FilenameAnsi();
        alternative = Item(PartsOf(message.Get()).Get(), 0);
        com::ComPtr<IPop3Attachments> attachments;
        ASSERT_EQ(message->get_Attachments(attachments.ReleaseAndGetAddressOf()), com::S_OK);
        ASSERT_EQ(attachments->get_Item(0, attachment.ReleaseAndGetAddressOf()), com::S_OK);
    }
    EXPECT_FALSE(FileExists(file));
    EXPECT_EQ(Text<IPop3Msg>(alternative.Get(), &IPop3Msg::get_PlainText), "plain words\r\n");
    com::ComPtr<IPop3Msg> holder;
    ASSERT_EQ(attachment->get_Part(holder.ReleaseAndGetAddressOf()), com::S_OK);
    EXPECT_EQ(Text<IPop3Msg>(holder.Get(), &IPop3Msg::get_ContentName), "x.bin");
}

TEST(Parts, ASinglePartMessageHasNone) {
    EXPECT_EQ(CountOf(PartsOf(Downloaded("Subject: x\r\n\r\nbody\r\n").Get()).Get()), 0);
    const auto top = HeadersOnly("Subject: x\r\n");
    com::ComPtr<IPop3Msgs> parts;
    EXPECT_EQ(top->get_Parts(parts.ReleaseAndGetAddressOf()), com::CtlError(errHeadersOnly));
}

TEST(Parts, AnAttachmentOfTheMessageItselfNamesATwinOfIt) {
    const auto message = Downloaded(
        "Subject: whole\r\nContent-Type: application/pdf; name=a.pdf\r\nContent-Transfer-Encoding: base64\r\n"
        "Content-Disposition: attachment\r\n\r\nJVBERg==\r\n");
    com::ComPtr<IPop3Attachments> attachments;
    ASSERT_EQ(message->get_Attachments(attachments.ReleaseAndGetAddressOf()), com::S_OK);
    com::ComPtr<IPop3Attachment> a;
    ASSERT_EQ(attachments->get_Item(0, a.ReleaseAndGetAddressOf()), com::S_OK);
    com::ComPtr<IPop3Msg> holder;
    ASSERT_EQ(a->get_Part(holder.ReleaseAndGetAddressOf()), com::S_OK);
    EXPECT_EQ(Text<IPop3Msg>(holder.Get(), &IPop3Msg::get_Subject), "whole");
}

}  // namespace
