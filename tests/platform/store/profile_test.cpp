#include "platform/store/profile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/store/atomic_file.h"
#include "tests/platform/store/raw_file.h"
#include "tests/platform/store/write_step_name.h"

namespace fs = std::filesystem;
using namespace platform::store;

namespace {

fs::path TempIni(const char* name) { return fs::path(std::getenv("TMPDIR")) / name; }

// A file as another tool might have written it: CRLF, a BOM, odd spacing and case.
const std::string kForeign =
    "\xEF\xBB\xBF; written by hand\r\n"
    "[Rules]\r\n"
    "RuleCount = 2\r\n"
    "  Show=1  \r\n"
    "\r\n"
    "[ Rule1 ]\r\n"
    "Name=  \"  quoted name  \"  \r\n"
    "Account='single'\r\n"
    "Empty=\r\n"
    "Semicolon=;x\r\n"
    "Description1=From Contains a=b \r\n"
    "Name=second duplicate\r\n"
    "NA=NA\r\n"
    "Long=" +
    std::string(1000, 'x') +
    "\r\n"
    "OnlyQuote=\"\r\n"
    "Mismatched=\"abc'\r\n";

struct ReadCase {
    const char* name;
    const char* section;
    const char* key;
    std::string expected;
};

void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

class ProfileRead : public testing::TestWithParam<ReadCase> {};

TEST_P(ProfileRead, WindowsSemantics) {
    for (const bool lf : {false, true}) {
        std::string text = kForeign;
        if (lf) std::erase(text, '\r');
        const fs::path file = TempIni("read.ini");
        WriteRaw(file, text);
        const auto& c = GetParam();
        EXPECT_EQ(GetPrivateProfileString(c.section, c.key, "dflt", file), c.expected)
            << (lf ? "LF file" : "CRLF file");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ProfileRead,
    testing::Values(ReadCase{"BlanksAroundEquals", "Rules", "RuleCount", "2"},
                    ReadCase{"IndentedKeyAndTrailingBlanks", "Rules", "Show", "1"},
                    ReadCase{"CaseInsensitiveNames", "rULES", "SHOW", "1"},
                    ReadCase{"SectionNameTrimmed", "Rule1", "Account", "single"},
                    ReadCase{"OnePairOfQuotesStripped", "Rule1", "Name", "  quoted name  "},
                    ReadCase{"PresentEmptyIsEmpty", "Rule1", "Empty", ""},
                    ReadCase{"SemicolonInValueIsData", "Rule1", "Semicolon", ";x"},
                    ReadCase{"TrailingBlankDropped", "Rule1", "Description1", "From Contains a=b"},
                    ReadCase{"NAIsPlainText", "Rule1", "NA", "NA"},
                    ReadCase{"LongValueWhole", "Rule1", "Long", std::string(1000, 'x')},
                    ReadCase{"LoneQuoteKept", "Rule1", "OnlyQuote", "\""},
                    ReadCase{"MismatchedQuotesKept", "Rule1", "Mismatched", "\"abc'"},
                    ReadCase{"MissingKeyGivesDefault", "Rule1", "Nope", "dflt"},
                    ReadCase{"MissingSectionGivesDefault", "Rule2", "Name", "dflt"},
                    ReadCase{"CommentIsNoKey", "Rules", "; written by hand", "dflt"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Profile, MissingFileGivesDefaultsAndNoSection) {
    const fs::path file = TempIni("none.ini");
    EXPECT_EQ(GetPrivateProfileString("Rules", "Time", "30", file), "30");
}

TEST(Profile, FirstWriteCreatesTheFileWithMode0600) {
    const fs::path file = TempIni("new.ini");
    ASSERT_FALSE(WritePrivateProfileString("Menu", "MenuStyle", "4", file));
    ASSERT_FALSE(WritePrivateProfileString("New3D", "New3DColor1", "10072511", file));
    ASSERT_FALSE(WritePrivateProfileString("Menu", "Other", "x", file));
    EXPECT_EQ(Slurp(file), "[Menu]\nMenuStyle=4\nOther=x\n[New3D]\nNew3DColor1=10072511\n");
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST(Profile, RewritingAKeyKeepsEveryOtherLineAndTheLineEnds) {
    const fs::path file = TempIni("keep.ini");
    WriteRaw(file, "; keep me\r\n[Menu]\r\nmenustyle = 2\r\nOther=1\r\n\r\n[Tail]\r\nz=9\r\n");
    ASSERT_FALSE(WritePrivateProfileString("MENU", "MenuStyle", "4", file));
    ASSERT_FALSE(WritePrivateProfileString("Menu", "Added", "NA", file));
    EXPECT_EQ(Slurp(file),
              "; keep me\r\n[Menu]\r\nmenustyle=4\r\nOther=1\r\nAdded=NA\r\n\r\n[Tail]\r\nz=9\r\n");
    EXPECT_EQ(GetPrivateProfileString("Menu", "Added", "", file), "NA");
}

TEST(Profile, ValuesAreNeverCut) {
    const fs::path file = TempIni("long.ini");
    const std::string value = std::string(5000, 'v') + " tail";
    ASSERT_FALSE(WritePrivateProfileString("Rule1", "Description1", value, file));
    EXPECT_EQ(GetPrivateProfileString("Rule1", "Description1", "", file), value);
}

TEST(Profile, TextAnIniLineCannotHoldIsRefusedAndNothingWritten) {
    const fs::path file = TempIni("refuse.ini");
    ASSERT_FALSE(WritePrivateProfileString("S", "k", "v", file));
    const std::string before = Slurp(file);
    for (const auto& [section, key, value] :
         std::vector<std::tuple<std::string, std::string, std::string>>{{"S", "k", "two\nlines"},
                                                                        {"S", "k", "cr\r"},
                                                                        {"", "k", "v"},
                                                                        {"S", "", "v"},
                                                                        {"S]", "k", "v"},
                                                                        {"S", "a=b", "v"},
                                                                        {"S", "[k", "v"},
                                                                        {"S", ";k", "v"}}) {
        EXPECT_EQ(WritePrivateProfileString(section, key, value, file), std::errc::invalid_argument)
            << section << "/" << key;
    }
    EXPECT_EQ(Slurp(file), before);
}

class ProfileFailedWrite : public testing::TestWithParam<WriteStep> {
protected:
    void TearDown() override { SetWriteFaultHook(nullptr); }
};

TEST_P(ProfileFailedWrite, LeavesTheOldFileWhole) {
    const fs::path file = TempIni("fail.ini");
    WriteRaw(file, "[Rules]\nRuleCount=1\n");
    const WriteStep failing = GetParam();
    SetWriteFaultHook([failing](WriteStep step) {
        return step == failing ? std::make_error_code(std::errc::no_space_on_device) : std::error_code{};
    });
    EXPECT_EQ(WritePrivateProfileString("Rules", "RuleCount", "0", file), std::errc::no_space_on_device);
    SetWriteFaultHook(nullptr);
    EXPECT_EQ(Slurp(file), "[Rules]\nRuleCount=1\n");
    size_t files = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(file.parent_path())) ++files;
    EXPECT_EQ(files, 1u);
}

INSTANTIATE_TEST_SUITE_P(Steps, ProfileFailedWrite,
                         testing::Values(WriteStep::Create, WriteStep::Write, WriteStep::Sync,
                                         WriteStep::Rename),
                         [](const auto& info) { return StepName(info.param); });

TEST(Profile, MissingFolderIsAReportedFailure) {
    EXPECT_TRUE(WritePrivateProfileString("S", "k", "v", TempIni("no/such/folder.ini")));
}

TEST(Profile, AnUpdatedFileIsReadAgain) {
    const fs::path file = TempIni("cache.ini");
    WriteRaw(file, "[S]\nk=1\n");
    EXPECT_EQ(GetPrivateProfileString("S", "k", "", file), "1");
    WriteRaw(TempIni("cache2.ini"), "[S]\nk=22\n");
    fs::rename(TempIni("cache2.ini"), file);
    EXPECT_EQ(GetPrivateProfileString("S", "k", "", file), "22");
}

}  // namespace
