// The message object's header members: decoded values, addresses, date,
// priority, Content-Type family, the header collection and late binding.
#include <gtest/gtest.h>

#include <cmath>
#include <ctime>

#include "component/protocol/pop3_hdrs.h"
#include "platform/com/enum_variant.h"
#include "tests/component/message/message_test_util.h"

using namespace msgtest;
using component::protocol::CPop3Msg;

namespace {

using Getter = com::HRESULT (IPop3Msg::*)(com::BSTR*);

struct GetterCase {
    const char* name;
    std::string message;
    Getter getter;
    std::string expected;  // 8-bit (CP1252) form of the BSTR
};
void PrintTo(const GetterCase& c, std::ostream* os) { *os << c.name; }

const std::string kBody = "\r\nBody.\r\n";

class HeaderGetter : public testing::TestWithParam<GetterCase> {};

TEST_P(HeaderGetter, ReturnsTheDecodedValue) {
    const auto& c = GetParam();
    const auto message = Downloaded(c.message);
    EXPECT_EQ(Text<IPop3Msg>(message.Get(), c.getter), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, HeaderGetter,
    testing::Values(
        GetterCase{"PlainSubject", "Subject: Hello there\r\n" + kBody, &IPop3Msg::get_Subject, "Hello there"},
        GetterCase{"AbsentHeaderIsEmpty", "Subject: x\r\n" + kBody, &IPop3Msg::get_CC, ""},
        GetterCase{"NameIgnoresCase", "sUbJeCt: case\r\n" + kBody, &IPop3Msg::get_Subject, "case"},
        GetterCase{"QEncodedLatin1", "Subject: =?ISO-8859-1?Q?caf=E9?=\r\n" + kBody, &IPop3Msg::get_Subject,
                   "caf\xE9"},
        GetterCase{"Base64Utf8", "Subject: =?UTF-8?B?w6l0w6k=?=\r\n" + kBody, &IPop3Msg::get_Subject,
                   "\xE9t\xE9"},
        GetterCase{"FoldedWordsKeepTheirBlank", "Subject: one\r\n two\r\n" + kBody, &IPop3Msg::get_Subject,
                   "one two"},
        GetterCase{"FirstOfTwoHeadersWins", "Subject: first\r\nSubject: second\r\n" + kBody,
                   &IPop3Msg::get_Subject, "first"},
        GetterCase{"FromWhole", "From: \"Doe, John\" <john@example.org>\r\n" + kBody, &IPop3Msg::get_From,
                   "\"Doe, John\" <john@example.org>"},
        GetterCase{"FromEmailInBrackets", "From: \"Doe, John\" <john@example.org>\r\n" + kBody,
                   &IPop3Msg::get_FromEmail, "john@example.org"},
        GetterCase{"FromNameWithoutQuotes", "From: \"Doe, John\" <john@example.org>\r\n" + kBody,
                   &IPop3Msg::get_FromName, "Doe, John"},
        GetterCase{"BareAddressHasNoName", "From: john@example.org\r\n" + kBody, &IPop3Msg::get_FromName, ""},
        GetterCase{"BareNameHasNoAddress", "From: John Doe\r\n" + kBody, &IPop3Msg::get_FromEmail, ""},
        GetterCase{"EncodedDisplayName", "From: =?UTF-8?Q?J=C3=B6rg?= <j@example.de>\r\n" + kBody,
                   &IPop3Msg::get_FromName, "J\xF6rg"},
        GetterCase{"ToEmail", "To: Box <box@example.org>\r\n" + kBody, &IPop3Msg::get_ToEmail,
                   "box@example.org"},
        GetterCase{"ToName", "To: Box <box@example.org>\r\n" + kBody, &IPop3Msg::get_ToName, "Box"},
        GetterCase{"ReplyTo", "Reply-To: r@example.org\r\n" + kBody, &IPop3Msg::get_ReplyTo, "r@example.org"},
        GetterCase{"MessageID", "Message-ID: <1@x>\r\n" + kBody, &IPop3Msg::get_MessageID, "<1@x>"},
        GetterCase{"ContentTypeOnly", "Content-Type: text/plain; charset=us-ascii\r\n" + kBody,
                   &IPop3Msg::get_ContentTypeOnly, "text/plain"},
        GetterCase{"ContentCharsetQuoted", "Content-Type: text/plain; charset=\"UTF-8\"\r\n" + kBody,
                   &IPop3Msg::get_ContentCharset, "UTF-8"},
        GetterCase{"ContentBoundary", "Content-Type: multipart/mixed; boundary=abc\r\n" + kBody,
                   &IPop3Msg::get_ContentBoundary, "abc"},
        GetterCase{"ContentNameFromFilename", "Content-Type: application/pdf; filename=a.pdf\r\n" + kBody,
                   &IPop3Msg::get_ContentName, "a.pdf"},
        GetterCase{"ColonWithoutBlank", "Subject:tight\r\n" + kBody, &IPop3Msg::get_Subject, "tight"},
        GetterCase{"ContinuationFirstGivesNothing", " folded\r\nSubject: x\r\n" + kBody,
                   &IPop3Msg::get_Subject, ""}),
    [](const auto& info) { return std::string(info.param.name); });

// Dates are read with TZ=UTC so the local offset is 0.
class MessageDate : public testing::Test {
protected:
    void SetUp() override {
        setenv("TZ", "UTC", 1);
        tzset();
    }
};

struct DateCase {
    const char* name;
    const char* header;
    com::DateParts expected;
};
void PrintTo(const DateCase& c, std::ostream* os) { *os << c.name; }

class MessageDateTable : public MessageDate, public testing::WithParamInterface<DateCase> {};

TEST_P(MessageDateTable, IsTheStatedTimeMovedToLocal) {
    const auto& c = GetParam();
    const auto message = Downloaded(std::string("Date: ") + c.header + "\r\n\r\nx\r\n");
    com::DATE date = 0;
    ASSERT_EQ(message->get_Date(&date), com::S_OK);
    const auto parts = com::OleDateToParts(date);
    ASSERT_TRUE(parts.has_value());
    EXPECT_EQ(*parts, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, MessageDateTable,
    testing::Values(DateCase{"Utc", "Tue, 1 Jul 2003 10:52:37 +0000", {2003, 7, 1, 10, 52, 37}},
                    DateCase{"EastZone", "Tue, 01 Jul 2003 10:52:37 +0200", {2003, 7, 1, 8, 52, 37}},
                    DateCase{"HalfHourZone", "1 Jul 2003 10:52 +0530", {2003, 7, 1, 5, 22, 0}},
                    DateCase{"NamedZoneInParentheses", "1 Jul 2003 10:00:00 (EST)", {2003, 7, 1, 15, 0, 0}},
                    DateCase{"TwoDigitYearBelowFifty", "1 Jan 10 00:00:00 GMT", {2010, 1, 1, 0, 0, 0}},
                    DateCase{"CrossesMidnight", "Wed, 31 Dec 2008 23:30:00 -0100", {2009, 1, 1, 0, 30, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MessageDate, AbsentDateIsNow) {
    const auto message = Downloaded("Subject: x\r\n\r\nx\r\n");
    com::DATE date = 0;
    ASSERT_EQ(message->get_Date(&date), com::S_OK);
    EXPECT_LT(std::fabs(date - com::CurrentOleDate()), 5.0 / 86400.0);
}

TEST_F(MessageDate, UnknownMonthFails) {
    const auto message = Downloaded("Date: 1 Foo 2003 10:00:00 +0000\r\n\r\nx\r\n");
    com::DATE date = 0;
    EXPECT_EQ(message->get_Date(&date), com::E_INVALIDARG);
}

struct PriorityCase {
    const char* name;
    const char* headers;
    PrioritiesEnum expected;
};
void PrintTo(const PriorityCase& c, std::ostream* os) { *os << c.name; }
class Priority : public testing::TestWithParam<PriorityCase> {};

TEST_P(Priority, FollowsTheFirstPresentHeader) {
    const auto message = Downloaded(std::string(GetParam().headers) + "\r\nx\r\n");
    PrioritiesEnum p{};
    ASSERT_EQ(message->get_Priority(&p), com::S_OK);
    EXPECT_EQ(p, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Priority,
    testing::Values(PriorityCase{"None", "Subject: x\r\n", NormalPriority},
                    PriorityCase{"ImportanceHigh", "Importance: High\r\n", HighPriority},
                    PriorityCase{"MsMailLow", "X-MSMail-Priority: Low\r\n", LowPriority},
                    PriorityCase{"XPriorityOne", "X-Priority: 1 (Highest)\r\n", HighPriority},
                    PriorityCase{"XPriorityFive", "X-Priority: 5\r\n", LowPriority},
                    PriorityCase{"ImportanceNormalDecidesAlone", "Importance: normal\r\nX-Priority: 1\r\n",
                                 NormalPriority}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- The header collection --------------------------------------------------

const std::string kThree = "From: a@example.org\r\nSubject: old\r\nX-Thing: 1\r\n\r\nbody\r\n";

com::ComPtr<IPop3Hdrs> HeadersOf(IPop3Msg* message) {
    com::ComPtr<IPop3Hdrs> headers;
    EXPECT_EQ(message->get_Headers(headers.ReleaseAndGetAddressOf()), com::S_OK);
    return headers;
}

TEST(HeaderCollection, ListsTheLinesInOrderAndFindsByNameOrPosition) {
    const auto message = Downloaded(kThree);
    const auto headers = HeadersOf(message.Get());
    std::int16_t count = 0;
    ASSERT_EQ(headers->get_Count(&count), com::S_OK);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(Text<IPop3Hdrs>(headers.Get(), &IPop3Hdrs::ToString),
              "From: a@example.org\r\nSubject: old\r\nX-Thing: 1\r\n");

    com::ComPtr<IPop3Hdr> byName;
    ASSERT_EQ(headers->get_Item(com::Variant(Wide("x-thing").Get()), byName.ReleaseAndGetAddressOf()),
              com::S_OK);
    EXPECT_EQ(Text<IPop3Hdr>(byName.Get(), &IPop3Hdr::get_Name), "X-Thing");
    com::ComPtr<IPop3Hdr> byPosition;
    ASSERT_EQ(headers->get_Item(com::Variant(std::int32_t{1}), byPosition.ReleaseAndGetAddressOf()),
              com::S_OK);
    EXPECT_EQ(Text<IPop3Hdr>(byPosition.Get(), &IPop3Hdr::ToString), "Subject: old");

    com::ComPtr<IPop3Hdr> none;
    EXPECT_EQ(headers->get_Item(com::Variant(std::int32_t{3}), none.ReleaseAndGetAddressOf()),
              com::E_INVALIDARG);
    EXPECT_EQ(headers->get_Item(com::Variant(Wide("Missing").Get()), none.ReleaseAndGetAddressOf()),
              com::E_INVALIDARG);
    // A reference to a text that refers to nothing names no header.
    com::VARIANT nullReference{};
    nullReference.vt = com::VT_BSTR | com::VT_BYREF;
    nullReference.pbstrVal = nullptr;
    EXPECT_EQ(headers->get_Item(nullReference, none.ReleaseAndGetAddressOf()), com::E_INVALIDARG);
}

TEST(HeaderCollection, AChangedHeaderChangesTheGetter) {
    const auto message = Downloaded(kThree);
    const auto headers = HeadersOf(message.Get());
    com::ComPtr<IPop3Hdr> subject;
    ASSERT_EQ(headers->get_Item(com::Variant(Wide("Subject").Get()), subject.ReleaseAndGetAddressOf()),
              com::S_OK);
    ASSERT_EQ(subject->put_Value(Wide("new").Get()), com::S_OK);
    EXPECT_EQ(Text<IPop3Msg>(message.Get(), &IPop3Msg::get_Subject), "new");
}

TEST(HeaderCollection, OutlivesItsMessage) {
    com::ComPtr<IPop3Hdrs> headers = HeadersOf(Downloaded(kThree).Get());
    std::int16_t count = 0;
    EXPECT_EQ(headers->get_Count(&count), com::S_OK);
    EXPECT_EQ(count, 3);
}

TEST(HeaderCollection, ABlockOpeningWithAContinuationFails) {
    const auto message = Downloaded(" folded\r\nSubject: x\r\n\r\nbody\r\n");
    com::ComPtr<IPop3Hdrs> headers;
    EXPECT_EQ(message->get_Headers(headers.ReleaseAndGetAddressOf()), com::E_FAIL);
    ASSERT_EQ(message->get_Headers(headers.ReleaseAndGetAddressOf()), com::S_OK);
    std::int16_t count = -1;
    headers->get_Count(&count);
    EXPECT_EQ(count, 0);
}

TEST(HeaderCollection, EnumeratesASnapshotOfItsHeaders) {
    const auto headers = HeadersOf(Downloaded(kThree).Get());
    com::ComPtr<com::IUnknown> unknown;
    ASSERT_EQ(headers->get__NewEnum(unknown.ReleaseAndGetAddressOf()), com::S_OK);
    com::ComPtr<com::IEnumVARIANT> items;
    ASSERT_EQ(unknown.As(&items), com::S_OK);
    std::vector<std::string> names;
    com::Variant item;
    std::uint32_t fetched = 0;
    while (items->Next(1, &item, &fetched) == com::S_OK && fetched == 1) {
        com::ComPtr<IPop3Hdr> header;
        ASSERT_EQ(com::ComPtr<com::IDispatch>(item.pdispVal).As(&header), com::S_OK);
        names.push_back(Text<IPop3Hdr>(header.Get(), &IPop3Hdr::get_Name));
        item.Clear();
    }
    EXPECT_EQ(names, (std::vector<std::string>{"From", "Subject", "X-Thing"}));
}

TEST(HeaderCollection, ANewDownloadReplacesIt) {
    const auto message = Downloaded(kThree);
    EXPECT_EQ(Text<IPop3Msg>(message.Get(), &IPop3Msg::get_Subject), "old");
    message->PrepareDownload(false);
    ASSERT_EQ(message->WriteFile("Subject: fresh\r\n\r\nx\r\n"), com::S_OK);
    message->SetEndOffset(21);
    EXPECT_EQ(Text<IPop3Msg>(message.Get(), &IPop3Msg::get_Subject), "fresh");
}

TEST(HeadersOnlyMessage, ReadsItsHeadersFromMemory) {
    const auto message = HeadersOnly("Subject: top\r\nFrom: T <t@example.org>\r\n");
    EXPECT_EQ(Text<IPop3Msg>(message.Get(), &IPop3Msg::get_Subject), "top");
    EXPECT_EQ(Text<IPop3Msg>(message.Get(), &IPop3Msg::get_FromEmail), "t@example.org");
}

// A headers-only retrieval after a whole one: the message file stays, but
// what the message reads is the new header text.
TEST(HeadersOnlyMessage, AfterAWholeRetrievalReadsTheNewHeaders) {
    const auto message = Downloaded(kThree);
    EXPECT_EQ(Text<IPop3Msg>(message.Get(), &IPop3Msg::get_Subject), "old");
    message->PrepareDownload(true);
    message->AppendMemoryLine("Subject: top");
    message->SetEndOffset(0);
    message->AppendMemoryLine("");
    EXPECT_EQ(Text<IPop3Msg>(message.Get(), &IPop3Msg::get_Subject), "top");
    EXPECT_EQ(Text<IPop3Msg>(message.Get(), &IPop3Msg::get_Body), "Subject: top\r\n\r\n");
}

// ---- Late binding -----------------------------------------------------------

TEST(MessageDispatch, EveryMemberIsReachableByName) {
    const auto message = Downloaded("Subject: late\r\nFrom: a@example.org\r\n\r\nx\r\n");
    for (const char* name : {"Filename",
                             "Body",
                             "Index",
                             "Tag",
                             "Size",
                             "Uid",
                             "Get",
                             "GetHeaders",
                             "MarkDelete",
                             "MarkGet",
                             "Headers",
                             "From",
                             "FromEmail",
                             "FromName",
                             "To",
                             "ToEmail",
                             "ToName",
                             "CC",
                             "BCC",
                             "Subject",
                             "Date",
                             "Attachments",
                             "ContentDescription",
                             "ContentDisposition",
                             "ContentID",
                             "ContentTransferEncoding",
                             "ContentType",
                             "HTMLText",
                             "PlainText",
                             "MessageID",
                             "Parts",
                             "Text",
                             "Save",
                             "GetLines",
                             "ReplyTo",
                             "VerifySignature",
                             "Decrypt",
                             "DecodedText",
                             "DeliveryFailed",
                             "DeliveryDelayed",
                             "ContentTypeOnly",
                             "ContentName",
                             "ContentCharset",
                             "ContentBoundary",
                             "ReceivedList",
                             "Priority"}) {
        com::Bstr wide = Wide(name);
        com::OLECHAR* names[] = {wide.Get()};
        com::DISPID id = -1;
        EXPECT_EQ(message->GetIDsOfNames(IPop3Msg::iid, names, 1, 0, &id), com::S_OK) << name;
    }
    com::Bstr subject = Wide("SUBJECT");
    com::OLECHAR* names[] = {subject.Get()};
    com::DISPID id = -1;
    ASSERT_EQ(message->GetIDsOfNames(IPop3Msg::iid, names, 1, 0, &id), com::S_OK);
    EXPECT_EQ(id, DISPID_Pop3Msg_Subject);
    com::DISPPARAMS none{};
    com::Variant result;
    ASSERT_EQ(
        message->Invoke(id, IPop3Msg::iid, 0, com::DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr),
        com::S_OK);
    ASSERT_EQ(result.vt, com::VT_BSTR);
    EXPECT_EQ(Narrow(com::BstrView(result.bstrVal)), "late");
}

// Every collection and item answers its members' names with their numbers.
template <class I>
com::DISPID IdOf(I* object, const char* name) {
    com::Bstr wide = Wide(name);
    com::OLECHAR* names[] = {wide.Get()};
    com::DISPID id = -99;
    EXPECT_EQ(object->GetIDsOfNames(I::iid, names, 1, 0, &id), com::S_OK) << name;
    return id;
}

TEST(MessageDispatch, CollectionsAndItemsAnswerTheirMembers) {
    const auto message = Downloaded(
        "Received: from a by b; 1 Jul 2003 10:00:00 +0000\r\nContent-Type: image/png; name=a.png\r\n"
        "Content-Transfer-Encoding: base64\r\n\r\nAAAA\r\n");
    const auto headers = HeadersOf(message.Get());
    com::ComPtr<IPop3Hdr> header;
    ASSERT_EQ(headers->get_Item(com::Variant(std::int32_t{0}), header.ReleaseAndGetAddressOf()), com::S_OK);
    com::ComPtr<IPop3Attachments> attachments;
    ASSERT_EQ(message->get_Attachments(attachments.ReleaseAndGetAddressOf()), com::S_OK);
    com::ComPtr<IPop3Attachment> attachment;
    ASSERT_EQ(attachments->get_Item(0, attachment.ReleaseAndGetAddressOf()), com::S_OK);
    com::ComPtr<IPop3Recs> records;
    ASSERT_EQ(message->get_ReceivedList(records.ReleaseAndGetAddressOf()), com::S_OK);
    com::ComPtr<IPop3Rec> record;
    ASSERT_EQ(records->get_Item(0, record.ReleaseAndGetAddressOf()), com::S_OK);

    const std::pair<const char*, com::DISPID> hdrs[] = {
        {"Item", 0}, {"Count", 1}, {"ToString", 2}, {"_NewEnum", -4}};
    for (const auto& [name, id] : hdrs) EXPECT_EQ(IdOf(headers.Get(), name), id) << name;
    const std::pair<const char*, com::DISPID> hdr[] = {{"ToString", 0}, {"Name", 1}, {"Value", 2}};
    for (const auto& [name, id] : hdr) EXPECT_EQ(IdOf(header.Get(), name), id) << name;
    const std::pair<const char*, com::DISPID> atts[] = {{"Item", 0}, {"Count", 1}, {"_NewEnum", -4}};
    for (const auto& [name, id] : atts) EXPECT_EQ(IdOf(attachments.Get(), name), id) << name;
    const std::pair<const char*, com::DISPID> att[] = {{"Name", 0}, {"Type", 1}, {"Encoding", 2},
                                                       {"Save", 3}, {"Part", 4}, {"Size", 5}};
    for (const auto& [name, id] : att) EXPECT_EQ(IdOf(attachment.Get(), name), id) << name;
    const std::pair<const char*, com::DISPID> recs[] = {{"Item", 0}, {"Count", 1}, {"_NewEnum", -4}};
    for (const auto& [name, id] : recs) EXPECT_EQ(IdOf(records.Get(), name), id) << name;
    const std::pair<const char*, com::DISPID> rec[] = {{"FromHost", 0}, {"FromIP", 1},  {"ToHost", 2},
                                                       {"ToIP", 3},     {"Date", 4},    {"Protocol", 5},
                                                       {"ToEmail", 6},  {"FullLine", 7}};
    for (const auto& [name, id] : rec) EXPECT_EQ(IdOf(record.Get(), name), id) << name;
}

}  // namespace
