// The stand-alone decoder: each method over a whole file, and its errors.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "component/protocol/pop3_decoder.h"
#include "tests/component/message/message_test_util.h"

using namespace msgtest;
using component::protocol::CPop3Decoder;

namespace {

using Method = com::HRESULT (IPop3Decoder::*)(com::BSTR, com::BSTR);

struct DecoderCase {
    const char* name;
    Method method;
    std::string input;
    std::string expected;
};
void PrintTo(const DecoderCase& c, std::ostream* os) { *os << c.name; }
class Decoder : public testing::TestWithParam<DecoderCase> {};

TEST_P(Decoder, DecodesTheWholeFile) {
    const std::string in = TempDir() + "/in";
    const std::string out = TempDir() + "/out";
    { std::ofstream(in, std::ios::binary) << GetParam().input; }
    const auto decoder = com::MakeComObject<CPop3Decoder>();
    ASSERT_EQ((decoder.Get()->*GetParam().method)(Wide(in).Get(), Wide(out).Get()), com::S_OK);
    EXPECT_EQ(ReadFile(out), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Table, Decoder,
                         testing::Values(DecoderCase{"Base64", &IPop3Decoder::Base64,
                                                     "SGVsbG8s\r\nIHdvcmxk\r\n", "Hello, world"},
                                         DecoderCase{"QuotedPrintable", &IPop3Decoder::QuotedPrintable,
                                                     "caf=C3=A9 =\r\nsoft\r\n", "caf\xC3\xA9 soft\r\n"},
                                         DecoderCase{"Uudecode", &IPop3Decoder::Uudecode,
                                                     "begin 644 cat.txt\n#0V%T\n`\nend\n", "Cat"},
                                         DecoderCase{"EmptyInput", &IPop3Decoder::Base64, "", ""}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Decoder, MissingOrUnreadableFilesFailWithTheirErrors) {
    const std::string in = TempDir() + "/present";
    { std::ofstream(in) << "QQ=="; }
    const std::string fifo = TempDir() + "/decoder.fifo";
    unlink(fifo.c_str());
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const auto decoder = com::MakeComObject<CPop3Decoder>();
    struct Row {
        const char* name;
        std::string in, out;
        std::int32_t code;
    } rows[] = {
        {"NoInputName", "", TempDir() + "/o", errCannotOpenMessage},
        {"InputMissing", TempDir() + "/absent", TempDir() + "/o", errCannotOpenMessage},
        // Refused at once: a FIFO nobody writes would block, a device never ends.
        {"InputIsAFifo", fifo, TempDir() + "/o", errCannotOpenMessage},
        {"InputIsADevice", "/dev/zero", TempDir() + "/o", errCannotOpenMessage},
        {"NoOutputName", in, "", errCannotAccessDestination},
        {"OutputFolderMissing", in, TempDir() + "/no/such/o", errCannotAccessDestination},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(decoder->Base64(Wide(row.in).Get(), Wide(row.out).Get()),
                  com::CtlError(static_cast<std::uint16_t>(row.code)));
    }
}

}  // namespace
