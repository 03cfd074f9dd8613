#include "platform/store/settings_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "platform/store/atomic_file.h"
#include "tests/platform/store/read_only_folder.h"
#include "tests/platform/store/write_step_name.h"

namespace fs = std::filesystem;
using namespace platform::store;

namespace {

constexpr std::string_view kApp = "ZKT\\Veltrane";

// The list of files set aside is the process's: every case starts with it
// empty, as it does when run alone, whatever the cases before it damaged.
class EmptySetAsideList : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo&) override { TakeSetAsideFiles(); }
};
const bool kListEmptied = [] {
    testing::UnitTest::GetInstance()->listeners().Append(new EmptySetAsideList);
    return true;
}();

std::string Slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void WriteRaw(const fs::path& p, std::string_view text) {
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << text;
}

std::vector<fs::path> FilesIn(const fs::path& folder) {
    std::vector<fs::path> out;
    for (const auto& e : fs::directory_iterator(folder)) out.push_back(e.path().filename());
    std::sort(out.begin(), out.end());
    return out;
}

struct RoundTripCase {
    const char* name;
    std::string key;
    std::string value;
};

void PrintTo(const RoundTripCase& c, std::ostream* os) { *os << c.name; }

class SettingsRoundTrip : public testing::TestWithParam<RoundTripCase> {};

TEST_P(SettingsRoundTrip, ValueComesBackByteForByte) {
    const auto& c = GetParam();
    ASSERT_FALSE(SaveSetting(kApp, "Settings\\Options", c.key, c.value));
    ASSERT_FALSE(SaveSetting(kApp, "Settings", "After", "x"));  // a neighbour must not disturb it
    EXPECT_EQ(GetSetting(kApp, "Settings\\Options", c.key, "default"), c.value);
    EXPECT_EQ(GetSetting(kApp, "Settings", "After"), "x");
}

INSTANTIATE_TEST_SUITE_P(Values, SettingsRoundTrip,
                         testing::Values(RoundTripCase{"Empty", "AcntServer1", ""},
                                         RoundTripCase{"LeadingBlank", "AcntPort1", " 995"},
                                         RoundTripCase{"TrailingBlank", "AcntName1", "Home "},
                                         RoundTripCase{"OnlyBlanks", "AcntName2", "   "},
                                         RoundTripCase{"EqualsAndBrackets", "AcntPassword1", "a=b[c]d="},
                                         RoundTripCase{"LineBreaks", "AcntSound1", "one\ntwo\r\nthree\r"},
                                         RoundTripCase{"PercentAndHash", "AcntLoginID1", "#50% ;off"},
                                         RoundTripCase{"TabsAndControls", "AcntClient1", "\ta\x01z\x7f\t"},
                                         RoundTripCase{"Utf8", "AcntName3", "Zoë – “Büro”"},
                                         RoundTripCase{"NA", "AcntName4", "NA"},
                                         RoundTripCase{"Long", "AcntPassword2",
                                                       std::string(100000, 'p') + " "},
                                         RoundTripCase{"OddKeyName", " weird=key[1] ", "v"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SettingsStore, MissingFileAndMissingValuesGiveTheDefault) {
    EXPECT_EQ(GetSetting(kApp, "Settings", "AcntNum", "0"), "0");
    ASSERT_FALSE(SaveSetting(kApp, "Settings", "AcntNum", "2"));
    EXPECT_EQ(GetSetting(kApp, "Settings", "FirstUse", "1"), "1");
    EXPECT_EQ(GetSetting(kApp, "Other", "AcntNum", "d"), "d");
}

TEST(SettingsStore, NamesMatchWithoutRegardToCaseAndKeepTheirFirstSpelling) {
    ASSERT_FALSE(SaveSetting(kApp, "Settings", "AcntName1", "a"));
    ASSERT_FALSE(SaveSetting(kApp, "SETTINGS", "acntname1", "b"));
    EXPECT_EQ(GetSetting(kApp, "settings", "ACNTNAME1"), "b");
    const std::string text = Slurp(SettingsFilePath(kApp));
    EXPECT_NE(text.find("[Settings]\nAcntName1=b\n"), std::string::npos) << text;
}

TEST(SettingsStore, FileLivesUnderTheConfigFolderWithMode0600) {
    ASSERT_FALSE(SaveSetting(kApp, "Settings", "AcntNum", "1"));
    const fs::path expected = fs::path(std::getenv("XDG_CONFIG_HOME")) / "ZKT" / "Veltrane" / "settings.ini";
    EXPECT_EQ(SettingsFilePath(kApp), expected);
    struct stat st {};
    ASSERT_EQ(::stat(expected.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(SettingsFilePath("ZKT\\..\\..\\x").parent_path(),
              fs::path(std::getenv("XDG_CONFIG_HOME")) / "ZKT" / "x");
}

TEST(SettingsStore, DeleteRemovesOneValueOrAWholeSection) {
    ASSERT_FALSE(SaveSettings(kApp, "Settings", {{"A1", "1"}, {"A2", "2"}}));
    ASSERT_FALSE(SaveSetting(kApp, "Settings\\Options", "Minutes", "5"));
    ASSERT_FALSE(DeleteSetting(kApp, "Settings", "a1"));
    ASSERT_FALSE(DeleteSetting(kApp, "Settings", "NotThere"));
    EXPECT_EQ(GetSetting(kApp, "Settings", "A1", "gone"), "gone");
    EXPECT_EQ(GetSetting(kApp, "Settings", "A2"), "2");
    ASSERT_FALSE(DeleteSetting(kApp, "Settings"));
    EXPECT_EQ(GetSetting(kApp, "Settings", "A2", "gone"), "gone");
    EXPECT_EQ(GetSetting(kApp, "Settings\\Options", "Minutes"), "5");
}

TEST(SettingsStore, ReplaceWritesAndRemovesInOneStep) {
    ASSERT_FALSE(
        SaveSettings(kApp, "Settings", {{"AcntNum", "3"}, {"AcntName2", "Two"}, {"AcntName3", "Three"}}));
    ASSERT_FALSE(ReplaceSettings(kApp, "Settings", {{"AcntName2", "Three"}, {"AcntNum", "2"}},
                                 {"acntname3", "NotThere"}));
    EXPECT_EQ(GetSetting(kApp, "Settings", "AcntName2"), "Three");
    EXPECT_EQ(GetSetting(kApp, "Settings", "AcntNum"), "2");
    EXPECT_EQ(GetSetting(kApp, "Settings", "AcntName3", "gone"), "gone");

    SetWriteFaultHook([](WriteStep) { return std::make_error_code(std::errc::no_space_on_device); });
    EXPECT_TRUE(ReplaceSettings(kApp, "Settings", {{"AcntNum", "1"}}, {"AcntName2"}));
    SetWriteFaultHook(nullptr);
    EXPECT_EQ(GetSetting(kApp, "Settings", "AcntNum"), "2");
    EXPECT_EQ(GetSetting(kApp, "Settings", "AcntName2"), "Three");
}

// A file a person opened in an editor reads as the person meant it.
struct EditedCase {
    const char* name;
    std::string text;
    std::string section, key, expected;
};

void PrintTo(const EditedCase& c, std::ostream* os) { *os << c.name; }

class EditedSettings : public testing::TestWithParam<EditedCase> {};

TEST_P(EditedSettings, ReadsAsMeantAndIsNeitherSetAsideNorChangedByReading) {
    const EditedCase& c = GetParam();
    const fs::path file = SettingsFilePath(kApp);
    WriteRaw(file, c.text);
    EXPECT_EQ(GetSetting(kApp, c.section, c.key, "<default>"), c.expected);
    EXPECT_EQ(FilesIn(file.parent_path()), std::vector<fs::path>{"settings.ini"});
    EXPECT_EQ(Slurp(file), c.text);
    EXPECT_TRUE(TakeSetAsideFiles().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Files, EditedSettings,
    testing::Values(
        EditedCase{"ByteOrderMarkCrLfAndComments", "\xEF\xBB\xBF; mine\r\n[Settings]\r\nAcntNum=2\r\n",
                   "Settings", "AcntNum", "2"},
        EditedCase{"BlanksAndTabsAroundEquals", "[Settings]\n\tAcntName1 \t=\t Home \t\n", "Settings",
                   "AcntName1", "Home"},
        EditedCase{"TabsPercentAndEscapesInAValue", "[Settings]\nAcntName1=%20a\tb 50% %zz 100%\n",
                   "Settings", "AcntName1", " a\tb 50% %zz 100%"},
        EditedCase{"LastLineCutShortWithoutALineEnd", "[Settings]\nAcntNum=2\nAcntSer", "Settings", "AcntNum",
                   "2"},
        EditedCase{"ANulInOneLine", std::string("[Settings]\nAcntName1=a\0b\nAcntNum=2", 34), "Settings",
                   "AcntNum", "2"},
        EditedCase{"BlanksInsideTheBrackets", "[ Settings\\Options ]\nMinutes=5", "Settings\\Options",
                   "Minutes", "5"},
        EditedCase{"SectionNamedTwice", "[Settings]\nA=1\n[Other]\nB=2\n[settings]\nAcntNum=3\n", "Settings",
                   "AcntNum", "3"},
        EditedCase{"ValuesAfterABrokenHeaderBelongToNoSection",
                   "[Settings]\nA=1\n[Settings\\Opt\nMinutes=5\n", "Settings\\Opt", "Minutes", "<default>"},
        EditedCase{"CrAloneEndsEachLine",
                   "# Settings of ZKT\\Veltrane\r[Settings]\rAcntName1=Keep Me Caf\xC3\xA9\r", "Settings",
                   "AcntName1", "Keep Me Caf\xC3\xA9"},
        EditedCase{"CrAloneCrLfAndLfMixed", "[Settings]\rA=1\r\nAcntNum=2\nB=3", "Settings", "AcntNum", "2"},
        EditedCase{"OnlyTheWritersFirstLine", "# Settings of ZKT\\Veltrane\n\n", "Settings", "AcntNum",
                   "<default>"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SettingsStore, LinesThatAreNoSettingSurviveEverySaveAsTheyStand) {
    const fs::path file = SettingsFilePath(kApp);
    const std::string odd = std::string("AcntSer\0ver1 pop.example.org", 29);
    WriteRaw(file, "stray before any section\r\n[Settings]\nAcntNum=1\n" + odd +
                       "\n# my note\r; old=1\n[Settings\\Opt\nMinutes=5\n");
    ASSERT_FALSE(SaveSetting(kApp, "Settings", "AcntName1", " Home "));
    ASSERT_FALSE(DeleteSetting(kApp, "Settings", "AcntNum"));
    const std::string text = Slurp(file);
    for (const std::string& line :
         {std::string("\nstray before any section\n"), "\n" + odd + "\n",
          std::string("\n# my note\n; old=1\n"), std::string("\n[Settings\\Opt\nMinutes=5\n")})
        EXPECT_NE(text.find(line), std::string::npos) << text;
    EXPECT_EQ(GetSetting(kApp, "Settings", "AcntName1"), " Home ");
    EXPECT_EQ(GetSetting(kApp, "Settings", "AcntNum", "gone"), "gone");
    EXPECT_EQ(FilesIn(file.parent_path()), std::vector<fs::path>{"settings.ini"});
}

// Only a file of which nothing reads as a setting is damaged.
struct DamagedCase {
    const char* name;
    std::string text;
};

void PrintTo(const DamagedCase& c, std::ostream* os) { *os << c.name; }

class DamagedSettings : public testing::TestWithParam<DamagedCase> {};

TEST_P(DamagedSettings, ReadsAsDefaultsAndIsKeptAside) {
    const fs::path file = SettingsFilePath(kApp);
    WriteRaw(file, GetParam().text);
    EXPECT_EQ(GetSetting(kApp, "Settings", "AcntNum", "0"), "0");
    ASSERT_FALSE(fs::exists(file));
    const auto files = FilesIn(file.parent_path());
    ASSERT_EQ(files.size(), 1u);
    EXPECT_TRUE(files[0].string().starts_with("settings.ini.damaged-")) << files[0];
    EXPECT_EQ(Slurp(file.parent_path() / files[0]), GetParam().text);
    const std::vector<SetAsideFile> listed = TakeSetAsideFiles();
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].copy, file.parent_path() / files[0]);
    EXPECT_TRUE(TakeSetAsideFiles().empty()) << "each file is told once";

    // The next save starts a new file and leaves the damaged copy alone.
    ASSERT_FALSE(SaveSetting(kApp, "Settings", "AcntNum", "1"));
    EXPECT_EQ(GetSetting(kApp, "Settings", "AcntNum"), "1");
    EXPECT_EQ(Slurp(file.parent_path() / files[0]), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Files, DamagedSettings,
    testing::Values(DamagedCase{"OnlyLinesThatAreNoSetting", "this is\nno settings file\n"},
                    DamagedCase{"OnlyComments", "# Settings of ZKT\\Veltrane\n# AcntNum=1\n; x\n"},
                    DamagedCase{"OnlyAHeader", "[Settings]\r\n"},
                    DamagedCase{"UnclosedHeader", "[Settings\nAcntNum=1\n"},
                    DamagedCase{"BinaryGarbage", std::string("\0\x01\x02[x]=\xff", 8)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SettingsStore, SaveOnADamagedFileNeverOverwritesIt) {
    const fs::path file = SettingsFilePath(kApp);
    WriteRaw(file, "not a settings file");
    ASSERT_FALSE(SaveSetting(kApp, "Settings", "AcntNum", "3"));
    EXPECT_EQ(GetSetting(kApp, "Settings", "AcntNum"), "3");
    EXPECT_EQ(FilesIn(file.parent_path()).size(), 2u);
}

class SettingsFault : public testing::Test {
protected:
    void TearDown() override { SetWriteFaultHook(nullptr); }
};

TEST_F(SettingsFault, ADamagedFileThatCannotBeKeptAsideIsNeverOverwritten) {
    const fs::path file = SettingsFilePath(kApp);
    const std::string damaged = "not a settings file";
    WriteRaw(file, damaged);
    // As when every name the copy could take is taken already.
    SetWriteFaultHook([](WriteStep step) {
        return step == WriteStep::KeepAside ? std::make_error_code(std::errc::file_exists)
                                            : std::error_code{};
    });
    EXPECT_EQ(GetSetting(kApp, "Settings", "AcntNum", "0"), "0");
    EXPECT_EQ(SaveSetting(kApp, "Settings", "AcntNum", "3"), std::errc::file_exists);
    EXPECT_EQ(GetSetting(kApp, "Settings", "AcntNum", "0"), "0");
    EXPECT_EQ(Slurp(file), damaged);
    EXPECT_EQ(FilesIn(file.parent_path()), std::vector<fs::path>{"settings.ini"});
    const std::vector<SetAsideFile> listed = TakeSetAsideFiles();
    ASSERT_EQ(listed.size(), 1u) << "told once, however often it is met";
    EXPECT_EQ(listed[0].file, file);
    EXPECT_TRUE(listed[0].copy.empty());
    EXPECT_EQ(listed[0].error, std::errc::file_exists);
}

class FailedWrite : public testing::TestWithParam<WriteStep> {
protected:
    void TearDown() override { SetWriteFaultHook(nullptr); }
};

TEST_P(FailedWrite, ReportsAndLeavesTheOldFileWhole) {
    ASSERT_FALSE(SaveSettings(kApp, "Settings", {{"AcntNum", "1"}, {"AcntName1", "Home"}}));
    const fs::path file = SettingsFilePath(kApp);
    const std::string before = Slurp(file);
    const WriteStep failing = GetParam();
    SetWriteFaultHook([failing](WriteStep step) {
        return step == failing ? std::make_error_code(std::errc::no_space_on_device) : std::error_code{};
    });
    EXPECT_EQ(SaveSetting(kApp, "Settings", "AcntName1", "Work"), std::errc::no_space_on_device);
    SetWriteFaultHook(nullptr);
    EXPECT_EQ(Slurp(file), before);
    EXPECT_EQ(GetSetting(kApp, "Settings", "AcntName1"), "Home");
    EXPECT_EQ(FilesIn(file.parent_path()), std::vector<fs::path>{"settings.ini"});  // no temporary left
}

INSTANTIATE_TEST_SUITE_P(Steps, FailedWrite,
                         testing::Values(WriteStep::Create, WriteStep::Write, WriteStep::Sync,
                                         WriteStep::Rename),
                         [](const auto& info) { return StepName(info.param); });

TEST(SettingsStore, AReadOnlyFolderIsReportedAndTheOldFileKept) {
    ASSERT_FALSE(SaveSetting(kApp, "Settings", "AcntNum", "1"));
    const fs::path file = SettingsFilePath(kApp);
    const std::string before = Slurp(file);
    {
        const ReadOnlyFolder readOnly(file.parent_path());
        if (!readOnly.Effective()) GTEST_SKIP() << "this file system cannot make a folder read-only for root";
        EXPECT_TRUE(SaveSetting(kApp, "Settings", "AcntNum", "2"));
        EXPECT_TRUE(DeleteSetting(kApp, "Settings"));
    }
    EXPECT_EQ(Slurp(file), before);
    EXPECT_EQ(GetSetting(kApp, "Settings", "AcntNum"), "1");
}

TEST(SettingsStore, AFolderThatCannotBeCreatedIsReported) {
    const fs::path config = std::getenv("XDG_CONFIG_HOME");
    WriteRaw(config / "ZKT", "a file where the folder should be");
    EXPECT_TRUE(SaveSetting(kApp, "Settings", "AcntNum", "1"));
    EXPECT_EQ(GetSetting(kApp, "Settings", "AcntNum", "0"), "0");
}

TEST(SettingsStore, ConcurrentWritersFromSeveralProcessesLoseNothing) {
    constexpr int kProcesses = 4;
    constexpr int kValues = 25;
    std::vector<pid_t> children;
    for (int p = 0; p < kProcesses; ++p) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            int failures = 0;
            for (int i = 0; i < kValues; ++i)
                failures += SaveSetting(kApp, "Settings", "P" + std::to_string(p) + "_" + std::to_string(i),
                                        std::to_string(i))
                                ? 1
                                : 0;
            ::_exit(failures == 0 ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (const pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    for (int p = 0; p < kProcesses; ++p)
        for (int i = 0; i < kValues; ++i)
            EXPECT_EQ(GetSetting(kApp, "Settings", "P" + std::to_string(p) + "_" + std::to_string(i), "lost"),
                      std::to_string(i));
    // No writer took another's live temporary for a leftover, and none is left.
    EXPECT_EQ(FilesIn(SettingsFilePath(kApp).parent_path()), std::vector<fs::path>{"settings.ini"});
}

}  // namespace
