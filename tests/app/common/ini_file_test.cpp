#include "app/common/ini_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/store/atomic_file.h"

namespace fs = std::filesystem;

namespace {

QString TempPath(const char* name) {
    return QString::fromStdString((fs::path(std::getenv("TMPDIR")) / name).string());
}

void WriteRaw(const QString& path, std::string_view text) {
    std::ofstream(path.toStdString(), std::ios::binary) << text;
}

std::string Slurp(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

class IniFileTest : public testing::Test {
protected:
    void SetUp() override {
        path = TempPath("test.ini");
        gIniFileName = path;
    }
    void TearDown() override { platform::store::SetWriteFaultHook(nullptr); }
    QString path;
};

TEST_F(IniFileTest, NewObjectStartsOnTheLastUsedFile) {
    IniFile ini;
    EXPECT_EQ(ini.ConfigName(), path);
    EXPECT_EQ(ini.Section(), "");
    EXPECT_EQ(ini.KeyName(), "");
    EXPECT_EQ(ini.KeyValue(), "");
    gIniFileName = "/elsewhere/Rules.ini";
    EXPECT_EQ(IniFile().ConfigName(), "/elsewhere/Rules.ini");
}

TEST_F(IniFileTest, KeyGetReadsWithDefaultsAndKeepsMembersOnNA) {
    WriteRaw(path, "[Rules]\nTime=45\nEmpty=\n");
    IniFile ini;
    EXPECT_EQ(ini.KeyGet("Rules", "Time", "30"), "45");
    EXPECT_EQ(ini.KeyGet("NA", "Missing", "d1"), "d1");
    EXPECT_EQ(ini.KeyGet("NA", "NA", "d2"), "d2");  // the same key again, with the new default
    EXPECT_EQ(ini.KeyName(), "Missing");
    EXPECT_EQ(ini.KeyGet("NA", "Empty", "not used"), "");
    EXPECT_EQ(ini.KeyGet("Other", "Time", ""), "");
    EXPECT_EQ(ini.Section(), "Other");
    EXPECT_EQ(ini.KeyValue(), "");
}

TEST_F(IniFileTest, KeySaveWritesNALikeAnyOtherText) {
    IniFile ini;
    ini.KeySave("NA", "Rule1", "Name");
    ini.KeySave("NA", "NA", "Account");
    ini.KeySave("2", "NA", "NA");
    EXPECT_FALSE(ini.WriteFailed());
    EXPECT_EQ(Slurp(path), "[Rule1]\nName=NA\nAccount=2\n");
    IniFile reader;
    EXPECT_EQ(reader.KeyGet("Rule1", "Name", "Rule"), "NA");
}

TEST_F(IniFileTest, AValueKeptWholeComesBackWhole) {
    for (const char* value : {"Home", " Home ", "\tTab", "\"Work\"", "'x'", "\"Work", ""}) {
        IniFile().KeySave(KeptWhole(value), "Rule1", "Account");
        EXPECT_EQ(IniFile().KeyGet("Rule1", "Account", "<missing>"), value);
    }
    EXPECT_EQ(KeptWhole("Home"), "Home") << "a plain value is written as it is";
}

TEST_F(IniFileTest, SectionGetListsLinesThenOneEmptyElement) {
    WriteRaw(path, "[A]\na=1\nb=2\n[Empty]\n");
    IniFile ini;
    EXPECT_EQ(ini.SectionGet(""), std::nullopt);
    EXPECT_EQ(ini.SectionGet("Missing"), QStringList{});
    EXPECT_EQ(ini.SectionGet("Empty"), QStringList{});
    EXPECT_EQ(ini.SectionGet("A"), (QStringList{"a=1", "b=2", ""}));
    EXPECT_EQ(ini.SectionGet(""), (QStringList{"a=1", "b=2", ""}));  // "" keeps the current section
}

TEST_F(IniFileTest, LongValuesAndSectionsAreReadWhole) {
    const std::string value(600, 'v');
    std::string text = "[Big]\n";
    for (int i = 0; i < 20; ++i) text += "Key" + std::to_string(i) + "=" + value + "\n";
    WriteRaw(path, text);
    IniFile ini;
    EXPECT_EQ(ini.KeyGet("Big", "Key19", ""), QString::fromStdString(value));
    const auto lines = ini.SectionGet("Big");
    ASSERT_TRUE(lines);
    EXPECT_EQ(lines->size(), 21);
    EXPECT_EQ(lines->at(19), QString::fromStdString("Key19=" + value));
}

TEST_F(IniFileTest, TextIsUtf8OrWindows1252) {
    WriteRaw(path, "[S]\nUtf8=Caf\xC3\xA9 \xE2\x82\xAC\n");
    EXPECT_EQ(IniFile().KeyGet("S", "Utf8", ""), QString::fromUtf8("Café €"));
    WriteRaw(path, "[S]\nAnsi=Caf\xE9 \x80\n");
    EXPECT_EQ(IniFile().KeyGet("S", "Ansi", ""), QString::fromUtf8("Café €"));
}

// Another process replaces the file between two reads of one object.
TEST_F(IniFileTest, AFileReadOnceStaysThatVersionUntilAWriteOrAnotherFile) {
    const auto replace = [&](std::string_view text) {
        WriteRaw(path + ".new", text);
        fs::rename((path + ".new").toStdString(), path.toStdString());
    };
    replace("[S]\nA=1\nB=1\n");
    IniFile ini;
    ini.ReadFileOnce();
    EXPECT_EQ(ini.KeyGet("S", "A", ""), "1");
    replace("[S]\nA=2\nB=2\n[T]\nx=2\n");
    EXPECT_EQ(ini.KeyGet("S", "B", ""), "1");
    EXPECT_EQ(ini.SectionGet("T"), QStringList{});
    EXPECT_EQ(IniFile().KeyGet("S", "B", ""), "2")
        << "an object that did not read once sees the file as it is";

    ini.KeySave("3", "S", "C");  // its own write: the file as written is read from then on
    EXPECT_EQ(ini.KeyGet("S", "A", ""), "2");
    EXPECT_EQ(ini.KeyGet("S", "C", ""), "3");

    ini.ReadFileOnce();
    ini.ConfigName(TempPath("other.ini"));
    EXPECT_EQ(ini.KeyGet("S", "A", "none"), "none") << "another file is read, not the version held";
}

TEST_F(IniFileTest, ANewFileReplacesTheOldOneWholeOnCommit) {
    WriteRaw(path, "[Rules]\nRuleCount=3\n[Rule3]\nName=old\n");
    IniFile ini;
    ini.StartNewFile();
    ini.KeySave("1", "Rules", "RuleCount");
    EXPECT_EQ(Slurp(path), "[Rules]\nRuleCount=3\n[Rule3]\nName=old\n");  // nothing written yet
    EXPECT_EQ(ini.KeyGet("Rules", "RuleCount", ""), "1");
    ASSERT_TRUE(ini.Commit());
    EXPECT_EQ(Slurp(path), "[Rules]\nRuleCount=1\n");
}

TEST_F(IniFileTest, AFailedCommitLeavesTheOldFileAndIsReported) {
    WriteRaw(path, "[Rules]\nRuleCount=3\n");
    IniFile ini;
    ini.StartNewFile();
    ini.KeySave("0", "Rules", "RuleCount");
    platform::store::SetWriteFaultHook(
        [](platform::store::WriteStep) { return std::make_error_code(std::errc::no_space_on_device); });
    EXPECT_FALSE(ini.Commit());
    EXPECT_TRUE(ini.WriteFailed());
    EXPECT_EQ(Slurp(path), "[Rules]\nRuleCount=3\n");
}

TEST_F(IniFileTest, AValueAnIniLineCannotHoldFailsTheWholeNewFile) {
    WriteRaw(path, "[Rules]\nRuleCount=3\n");
    IniFile ini;
    ini.StartNewFile();
    ini.KeySave("0", "Rules", "RuleCount");
    ini.KeySave("two\nlines", "Rule1", "Name");
    EXPECT_FALSE(ini.Commit());
    EXPECT_EQ(Slurp(path), "[Rules]\nRuleCount=3\n");
}

TEST_F(IniFileTest, ADirectWriteThatFailsIsRecorded) {
    IniFile ini;
    ini.ConfigName(TempPath("missing-folder/x.ini"));
    ini.KeySave("1", "S", "k");
    EXPECT_TRUE(ini.WriteFailed());
    EXPECT_EQ(ini.KeyValue(), "1");
}

}  // namespace
