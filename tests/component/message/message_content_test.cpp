// The message object's content members: texts, Save, attachments and the
// received records, with the lifetime of what they hand out.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>
#include <utility>
#include <vector>

#include "tests/component/message/message_test_util.h"

using namespace msgtest;

namespace {

const std::string kAlternative =
    "From: a@example.org\r\n"
    "Subject: alt\r\n"
    "MIME-Version: 1.0\r\n"
    "Content-Type: multipart/alternative; boundary=\"b1\"\r\n"
    "\r\n"
    "preamble line\r\n"
    "--b1\r\n"
    "Content-Type: text/plain; charset=utf-8\r\n"
    "Content-Transfer-Encoding: quoted-printable\r\n"
    "\r\n"
    "Gr=C3=BC=C3=9Fe\r\n"
    "--b1\r\n"
    "Content-Type: text/html\r\n"
    "\r\n"
    "<p>Hi</p>\r\n"
    "--b1--\r\n";

const std::string kMixed =
    "Subject: files\r\n"
    "Content-Type: multipart/mixed; boundary=zz\r\n"
    "\r\n"
    "--zz\r\n"
    "Content-Type: text/plain\r\n"
    "\r\n"
    "See attached.\r\n"
    "--zz\r\n"
    "Content-Type: application/octet-stream; name=\"data.bin\"\r\n"
    "Content-Transfer-Encoding: base64\r\n"
    "Content-Disposition: attachment; filename=\"data.bin\"\r\n"
    "\r\n"
    "AAECAwQFBgc=\r\n"
    "--zz\r\n"
    "Content-Type: text/plain; name==?UTF-8?Q?r=C3=A9sum=C3=A9.txt?=\r\n"
    "Content-Disposition: attachment\r\n"
    "\r\n"
    "plain words\r\n"
    "--zz--\r\n";

using Getter = com::HRESULT (IPop3Msg::*)(com::BSTR*);

struct TextCase {
    const char* name;
    const std::string* message;
    Getter getter;
    std::string expected;  // CP1252
};
void PrintTo(const TextCase& c, std::ostream* os) { *os << c.name; }
class MessageText : public testing::TestWithParam<TextCase> {};

TEST_P(MessageText, IsDecodedFromTheRightPart) {
    const auto message = Downloaded(*GetParam().message);
    EXPECT_EQ(Text<IPop3Msg>(message.Get(), GetParam().getter), GetParam().expected);
}

const std::string kSingle = "Subject: s\r\n\r\nJust text.\r\n";
const std::string kNoText = "Content-Type: image/png\r\nContent-Transfer-Encoding: base64\r\n\r\nAAAA\r\n";

INSTANTIATE_TEST_SUITE_P(
    Table, MessageText,
    testing::Values(TextCase{"PlainOfAlternative", &kAlternative, &IPop3Msg::get_PlainText,
                             "Gr\xFC\xDF"
                             "e\r\n"},
                    TextCase{"HtmlOfAlternative", &kAlternative, &IPop3Msg::get_HTMLText, "<p>Hi</p>\r\n"},
                    TextCase{"TextIsThePreamble", &kAlternative, &IPop3Msg::get_Text, "preamble line\r\n"},
                    TextCase{"PlainOfMixed", &kMixed, &IPop3Msg::get_PlainText, "See attached.\r\n"},
                    TextCase{"NoContentTypeIsPlain", &kSingle, &IPop3Msg::get_PlainText, "Just text.\r\n"},
                    TextCase{"TextOfASinglePart", &kSingle, &IPop3Msg::get_Text, "Just text.\r\n"},
                    TextCase{"NoTextPart", &kNoText, &IPop3Msg::get_PlainText, ""},
                    TextCase{"BodyIsRaw", &kSingle, &IPop3Msg::get_Body, kSingle}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MessageText, DecodedTextTakesTheEncodingFromHeadersOrTheArgument) {
    const auto message = Downloaded("Content-Transfer-Encoding: base64\r\n\r\naGVsbG8=\r\n");
    com::Bstr text;
    ASSERT_EQ(message->get_DecodedText(com::Variant(), text.ReleaseAndGetAddressOf()), com::S_OK);
    EXPECT_EQ(Narrow(text.View()), "hello");
    ASSERT_EQ(message->get_DecodedText(com::Variant(std::int32_t{enc7BIT}), text.ReleaseAndGetAddressOf()),
              com::S_OK);
    EXPECT_EQ(Narrow(text.View()), "aGVsbG8=\r\n");
    const auto plain = Downloaded("Subject: x\r\n\r\nabc\r\n");
    EXPECT_EQ(plain->get_DecodedText(com::Variant(), text.ReleaseAndGetAddressOf()),
              com::CtlError(errUnknownEncoder));
}

// The text search of a headers-only message fails only when it reaches a
// text part; a multipart or non-text message answers an empty text.
TEST(MessageText, HeadersOnlyTextSearchFailsOnlyWhenItReachesAText) {
    struct Row {
        const char* name;
        const char* headers;
        com::HRESULT plain;
        com::HRESULT html;
    };
    const Row rows[] = {
        {"NoContentType", "Subject: a\r\n", com::CtlError(errHeadersOnly), com::S_OK},
        {"TextPlain", "Content-Type: text/plain\r\n", com::CtlError(errHeadersOnly), com::S_OK},
        {"TextHtml", "Content-Type: text/html\r\n", com::S_OK, com::CtlError(errHeadersOnly)},
        {"Multipart", "Content-Type: multipart/alternative; boundary=b\r\n", com::S_OK, com::S_OK},
        {"Image", "Content-Type: image/png\r\n", com::S_OK, com::S_OK},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto message = HeadersOnly(row.headers);
        com::Bstr text;
        EXPECT_EQ(message->get_PlainText(text.ReleaseAndGetAddressOf()), row.plain);
        if (row.plain == com::S_OK) {
            EXPECT_EQ(Narrow(text.View()), "");
        }
        EXPECT_EQ(message->get_HTMLText(text.ReleaseAndGetAddressOf()), row.html);
    }
}

TEST(MessageText, HeadersOnlyRetrievalRefusesTheBodyMembers) {
    const auto message = HeadersOnly("Subject: top\r\n");
    com::Bstr text;
    EXPECT_EQ(message->get_Text(text.ReleaseAndGetAddressOf()), com::CtlError(errHeadersOnly));
    EXPECT_EQ(message->get_PlainText(text.ReleaseAndGetAddressOf()), com::CtlError(errHeadersOnly));
    EXPECT_EQ(message->get_DecodedText(com::Variant(), text.ReleaseAndGetAddressOf()),
              com::CtlError(errHeadersOnly));
    com::ComPtr<IPop3Attachments> attachments;
    EXPECT_EQ(message->get_Attachments(attachments.ReleaseAndGetAddressOf()), com::CtlError(errHeadersOnly));
    EXPECT_EQ(message->Save(Wide(TempDir() + "/out").Get()), com::CtlError(errHeadersOnly));
}

TEST(MessageSave, WritesTheRawMessageAndRefusesNoName) {
    const auto message = Downloaded(kMixed);
    const std::string out = TempDir() + "/saved.eml";
    ASSERT_EQ(message->Save(Wide(out).Get()), com::S_OK);
    EXPECT_EQ(ReadFile(out), kMixed);
    EXPECT_EQ(message->Save(Wide("").Get()), com::CtlError(errNoDestination));
    EXPECT_EQ(message->Save(Wide(TempDir() + "/no/such/folder/x").Get()),
              com::CtlError(errCannotAccessDestination));
}

// A message whose bytes are not there is never saved or decoded as an empty one.
TEST(MessageSave, MissingBytesFailAndLeaveNoFile) {
    const std::string client = TempDir() + "/gone.eml";
    { std::ofstream(client, std::ios::binary) << kSingle; }
    auto named = com::MakeComObject<CPop3Msg>();
    ASSERT_EQ(named->put_Filename(Wide(client).Get()), com::S_OK);
    unlink(client.c_str());
    const auto downloaded = Downloaded(kSingle);
    unlink(downloaded->FilenameAnsi().c_str());
    // A download that did not reach its end, past what memory holds.
    auto cut = com::MakeComObject<CPop3Msg>();
    cut->PrepareDownload(false);
    ASSERT_TRUE(cut->BeginDownload(1000));
    for (int i = 0; i < 1000; ++i) ASSERT_TRUE(cut->AppendDownload(std::string(78, 'x')));
    const std::string partial = cut->FilenameAnsi();
    ASSERT_TRUE(FileExists(partial));
    cut->DropDownload();
    EXPECT_FALSE(FileExists(partial));
    // Sources that are not regular files: a FIFO nobody writes would block
    // the open, a device never ends, a folder is no message.
    const std::string fifo = TempDir() + "/no-writer.fifo";
    unlink(fifo.c_str());
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    auto named_source = [](const std::string& path) {
        auto message = com::MakeComObject<CPop3Msg>();
        EXPECT_EQ(message->put_Filename(Wide(path).Get()), com::S_OK);
        return message;
    };
    const std::pair<const char*, com::ComPtr<CPop3Msg>> rows[] = {
        {"NeverRetrieved", com::MakeComObject<CPop3Msg>()},
        {"ClientFileRemoved", named},
        {"DownloadFileRemoved", downloaded},
        {"DownloadCut", cut},
        {"ClientFileIsAFifo", named_source(fifo)},
        {"ClientFileIsADevice", named_source("/dev/zero")},
        {"ClientFileIsAFolder", named_source(TempDir())},
    };
    for (const auto& [name, message] : rows) {
        SCOPED_TRACE(name);
        const std::string out = TempDir() + "/missing-" + name + ".eml";
        EXPECT_EQ(Text<IPop3Msg>(message.Get(), &IPop3Msg::get_Body), "");
        EXPECT_EQ(Text<IPop3Msg>(message.Get(), &IPop3Msg::get_Subject), "");
        EXPECT_EQ(message->Save(Wide(out).Get()), com::E_FAIL);
        EXPECT_FALSE(FileExists(out));
        com::Bstr text;
        EXPECT_EQ(
            message->get_DecodedText(com::Variant(std::int32_t{enc7BIT}), text.ReleaseAndGetAddressOf()),
            com::CtlError(errCannotOpenMessage));
    }
}

TEST(MessageFile, ClientNamedFileIsReadToItsEndAndNotDeleted) {
    const std::string path = TempDir() + "/client.eml";
    { std::ofstream(path, std::ios::binary) << kSingle; }
    {
        auto message = com::MakeComObject<CPop3Msg>();
        ASSERT_EQ(message->put_Filename(Wide(path).Get()), com::S_OK);
        EXPECT_EQ(Text<IPop3Msg>(message.Get(), &IPop3Msg::get_Body), kSingle);
        EXPECT_EQ(Text<IPop3Msg>(message.Get(), &IPop3Msg::get_Subject), "s");
    }
    EXPECT_TRUE(FileExists(path));
}

TEST(MessageFile, SameFilenameKeepsTheOwnedFile) {
    const auto message = Downloaded(kSingle);
    const std::string path = message->FilenameAnsi();
    ASSERT_EQ(message->put_Filename(Wide(path).Get()), com::S_OK);
    EXPECT_TRUE(FileExists(path));
    EXPECT_EQ(Text<IPop3Msg>(message.Get(), &IPop3Msg::get_Body), kSingle);
}

// ---- Attachments -------------------------------------------------------------

struct AttachmentRow {
    std::string name;
    std::string type;
    AttachmentEncodingsEnum encoding;
    std::int32_t size;
    std::string saved;
};

com::ComPtr<IPop3Attachments> AttachmentsOf(IPop3Msg* message) {
    com::ComPtr<IPop3Attachments> attachments;
    EXPECT_EQ(message->get_Attachments(attachments.ReleaseAndGetAddressOf()), com::S_OK);
    return attachments;
}

TEST(Attachments, AreDetectedNamedAndSaved) {
    const auto message = Downloaded(kMixed);
    const auto attachments = AttachmentsOf(message.Get());
    std::int16_t count = 0;
    ASSERT_EQ(attachments->get_Count(&count), com::S_OK);
    const std::vector<AttachmentRow> expected{
        {"data.bin", "application/octet-stream", encBASE64, 9, std::string("\0\1\2\3\4\5\6\7", 8)},
        {"r\xE9sum\xE9.txt", "text/plain", enc7BIT, 11, "plain words"},
    };
    ASSERT_EQ(count, static_cast<std::int16_t>(expected.size()));
    for (std::int16_t i = 0; i < count; ++i) {
        SCOPED_TRACE(i);
        const auto& row = expected[static_cast<std::size_t>(i)];
        com::ComPtr<IPop3Attachment> a;
        ASSERT_EQ(attachments->get_Item(i, a.ReleaseAndGetAddressOf()), com::S_OK);
        EXPECT_EQ(Text<IPop3Attachment>(a.Get(), &IPop3Attachment::get_Name), row.name);
        EXPECT_EQ(Text<IPop3Attachment>(a.Get(), &IPop3Attachment::get_Type), row.type);
        AttachmentEncodingsEnum encoding{};
        a->get_Encoding(&encoding);
        EXPECT_EQ(encoding, row.encoding);
        std::int32_t size = 0;
        a->get_Size(&size);
        EXPECT_EQ(size, row.size);
        const std::string out = TempDir() + "/att" + std::to_string(i);
        ASSERT_EQ(a->Save(com::Variant(Wide(out).Get())), com::S_OK);
        EXPECT_EQ(ReadFile(out), row.saved);
    }
    com::ComPtr<IPop3Attachment> none;
    EXPECT_EQ(attachments->get_Item(2, none.ReleaseAndGetAddressOf()), com::E_INVALIDARG);
    EXPECT_EQ(attachments->get_Item(-1, none.ReleaseAndGetAddressOf()), com::E_INVALIDARG);
}

TEST(Attachments, SaveRefusesAMissingName) {
    const auto attachments = AttachmentsOf(Downloaded(kMixed).Get());
    com::ComPtr<IPop3Attachment> a;
    ASSERT_EQ(attachments->get_Item(0, a.ReleaseAndGetAddressOf()), com::S_OK);
    EXPECT_EQ(a->Save(com::Variant()), com::CtlError(errNoDestination));
    EXPECT_EQ(a->Save(com::Variant(std::int32_t{7})), com::CtlError(errNoDestination));
}

// An attachment a client keeps saves the bytes it was found in, whatever
// happened to its message's file since.
TEST(Attachments, KeptAttachmentSavesItsOwnBytes) {
    const std::string bytes("\0\1\2\3\4\5\6\7", 8);
    const std::vector<std::pair<std::string, std::function<void(com::ComPtr<CPop3Msg>&)>>> cases{
        {"MessageReleased", [](com::ComPtr<CPop3Msg>& m) { m = nullptr; }},
        {"MessageRetrievedAgain",
         [](com::ComPtr<CPop3Msg>& m) {
             m->PrepareDownload(false);
             ASSERT_EQ(m->WriteFile(kSingle), com::S_OK);
             m->SetEndOffset(static_cast<std::int64_t>(kSingle.size()));
         }},
    };
    for (const auto& [name, change] : cases) {
        SCOPED_TRACE(name);
        auto message = Downloaded(kMixed);
        const std::string file = message->FilenameAnsi();
        const auto attachments = AttachmentsOf(message.Get());
        com::ComPtr<IPop3Attachment> a;
        ASSERT_EQ(attachments->get_Item(0, a.ReleaseAndGetAddressOf()), com::S_OK);
        change(message);
        std::int16_t count = 0;
        EXPECT_EQ(attachments->get_Count(&count), com::S_OK);
        EXPECT_EQ(count, 2);
        EXPECT_EQ(Text<IPop3Attachment>(a.Get(), &IPop3Attachment::get_Name), "data.bin");
        const std::string out = TempDir() + "/kept-" + name;
        EXPECT_EQ(a->Save(com::Variant(Wide(out).Get())), com::S_OK);
        EXPECT_EQ(ReadFile(out), bytes);
        if (message == nullptr) {
            EXPECT_FALSE(FileExists(file));
        }
    }
}

TEST(Attachments, PlainMessageHasNone) {
    std::int16_t count = -1;
    ASSERT_EQ(AttachmentsOf(Downloaded(kAlternative).Get())->get_Count(&count), com::S_OK);
    EXPECT_EQ(count, 0);
}

// ---- Received records ------------------------------------------------------------

const std::string kTraced =
    "Received: from mail.example.org (mail.example.org [192.0.2.7])\r\n"
    "\tby mx.example.net (Postfix) with ESMTPS id 4F1\r\n"
    "\tfor <box@example.net>; Tue, 1 Jul 2003 10:52:37 +0000\r\n"
    "Received: from localhost by mail.example.org with local\r\n"
    "Subject: traced\r\n"
    "\r\n"
    "x\r\n";

TEST(ReceivedList, TakesEachTraceHeaderApartInOrder) {
    setenv("TZ", "UTC", 1);
    tzset();
    const auto message = Downloaded(kTraced);
    com::ComPtr<IPop3Recs> records;
    ASSERT_EQ(message->get_ReceivedList(records.ReleaseAndGetAddressOf()), com::S_OK);
    std::int16_t count = 0;
    ASSERT_EQ(records->get_Count(&count), com::S_OK);
    ASSERT_EQ(count, 2);
    com::ComPtr<IPop3Rec> first;
    ASSERT_EQ(records->get_Item(0, first.ReleaseAndGetAddressOf()), com::S_OK);
    EXPECT_EQ(Text<IPop3Rec>(first.Get(), &IPop3Rec::get_FromHost), "mail.example.org");
    EXPECT_EQ(Text<IPop3Rec>(first.Get(), &IPop3Rec::get_FromIP), "192.0.2.7");
    EXPECT_EQ(Text<IPop3Rec>(first.Get(), &IPop3Rec::get_ToHost), "mx.example.net");
    EXPECT_EQ(Text<IPop3Rec>(first.Get(), &IPop3Rec::get_Protocol), "ESMTPS");
    EXPECT_EQ(Text<IPop3Rec>(first.Get(), &IPop3Rec::get_ToEmail), "box@example.net");
    com::DATE date = 0;
    ASSERT_EQ(first->get_Date(&date), com::S_OK);
    EXPECT_EQ(*com::OleDateToParts(date), (com::DateParts{2003, 7, 1, 10, 52, 37}));
    com::ComPtr<IPop3Rec> second;
    ASSERT_EQ(records->get_Item(1, second.ReleaseAndGetAddressOf()), com::S_OK);
    EXPECT_EQ(second->get_Date(&date), com::CtlError(errNoDate));
    EXPECT_EQ(records->get_Item(2, second.ReleaseAndGetAddressOf()), com::E_INVALIDARG);
}

TEST(ReceivedList, WorksOnAHeadersOnlyRetrievalAndOutlivesTheMessage) {
    com::ComPtr<IPop3Recs> records;
    {
        const auto message =
            HeadersOnly("Received: from a by b; 1 Jul 2003 10:00:00 +0000\r\nSubject: x\r\n");
        ASSERT_EQ(message->get_ReceivedList(records.ReleaseAndGetAddressOf()), com::S_OK);
    }
    std::int16_t count = 0;
    ASSERT_EQ(records->get_Count(&count), com::S_OK);
    EXPECT_EQ(count, 1);
}

}  // namespace
