#include "app/rules/rule_set.h"

#include <signal.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/common/app_settings.h"
#include "app/common/ini_file.h"
#include "platform/store/atomic_file.h"
#include "platform/store/profile.h"
#include "tests/app/rules/rules_fixture.h"
#include "tests/platform/store/read_only_folder.h"

using namespace modRules;

namespace {

struct EditRule {
    QString name;
    int16_t enabled;
    QString account;
    int16_t action;
    QStringList lines;
};

// Puts rules into the edit set, as the Rules page does.
void SetEditRules(const std::vector<EditRule>& rules, int16_t show = 1, int16_t showNew = 0,
                  int16_t time = 30) {
    gEditRules.Count = static_cast<int16_t>(rules.size());
    gEditRules.Show = show;
    gEditRules.ShowNew = showNew;
    gEditRules.Time = time;
    ResizeRuleArrays(gEditRules.Count);
    for (int i = 1; i <= gEditRules.Count; ++i) {
        const EditRule& r = rules[static_cast<size_t>(i - 1)];
        gEditRules[i].Name = r.name;
        gEditRules[i].Enabled = r.enabled;
        gEditRules[i].Account = r.account;
        gEditRules[i].Action = r.action;
        gEditRules[i].DescCount = static_cast<int16_t>(r.lines.size());
        gEditRules[i].Desc[0] = r.lines.join(QString());
        for (int j = 1; j <= r.lines.size(); ++j) gEditRules[i].Desc[j] = r.lines[j - 1];
    }
}

std::vector<EditRule> LiveRules() {
    std::vector<EditRule> rules;
    for (int i = 1; i <= gRules.Count; ++i) {
        QStringList lines;
        for (int j = 1; j <= gRules[i].DescCount; ++j) lines.append(gRules[i].Desc[j]);
        EXPECT_EQ(gRules[i].Desc[0], lines.join(QString())) << "column 0 of rule " << i;
        rules.push_back({gRules[i].Name, gRules[i].Enabled, gRules[i].Account, gRules[i].Action, lines});
    }
    return rules;
}

std::string Slurp(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void WriteRaw(const QString& path, std::string_view text) {
    std::ofstream(path.toStdString(), std::ios::binary) << text;
}

class RuleSetTest : public RulesTest, public RulesView {
protected:
    void SetUp() override {
        RulesTest::SetUp();
        gRulesFileName = "Rules.ini";
        path = RulesFilePath();
        shown = gRulesView.Register(*this);
    }
    void TearDown() override { platform::store::SetWriteFaultHook(nullptr); }
    void ShowRulesFileName(const QString& caption) override { shownCaption = caption; }
    ViewSlot<RulesView>::Registration shown;
    QString path;
    QString shownCaption;
};

bool operator==(const EditRule& a, const EditRule& b) {
    return a.name == b.name && a.enabled == b.enabled && a.account == b.account && a.action == b.action &&
           a.lines == b.lines;
}
void PrintTo(const EditRule& r, std::ostream* os) {
    *os << "{\"" << r.name.toStdString() << "\", " << r.enabled << ", \"" << r.account.toStdString() << "\", "
        << r.action << ", [";
    for (const QString& l : r.lines) *os << '"' << l.toStdString() << "\" ";
    *os << "]}";
}

TEST_F(RuleSetTest, WrittenRulesReadBackUnchanged) {
    const QString longText = "Body Contains " + QString(2000, u'x') + " ";
    const std::vector<EditRule> rules{
        {"Newsletters",
         1,
         "All Accounts",
         2,
         {"From Contains newsletter ", "OR Subject Contains unsubscribe "}},
        {"NA", 0, "NA", 1, {"Subject Equals NA "}},
        {"Empty lines", 1, "Home", 3, {}},
        {"Long", 1, "Work", 1, {longText}},
        {"Ten",
         1,
         "All Accounts",
         2,
         {"Size GreaterThan 1 ", "AND Size GreaterThan 2 ", "AND Size GreaterThan 3 ",
          "AND Size GreaterThan 4 ", "AND Size GreaterThan 5 ", "AND Size GreaterThan 6 ",
          "AND Size GreaterThan 7 ", "AND Size GreaterThan 8 ", "AND Size GreaterThan 9 ",
          "AND Attachment IsPresent NOT "}},
        {"Symbols", 1, "Zoë's = [box]", 2, {"From Contains ;x=y# ", "AND To Equals NOT a?b*c "}},
    };
    SetEditRules(rules, 1, 1, 45);
    ASSERT_TRUE(WriteRulesFile(path));
    EXPECT_EQ(LiveRules(), rules) << "the live set equals the edit set after the write";

    SetLiveRules({});
    gRules.Show = gRules.ShowNew = gRules.Time = 0;
    ReadRulesFile(path);
    EXPECT_EQ(LiveRules(), rules);
    EXPECT_EQ(gRules.Show, 1);
    EXPECT_EQ(gRules.ShowNew, 1);
    EXPECT_EQ(gRules.Time, 45);
    EXPECT_EQ(gIniFileName, path);
    EXPECT_EQ(shownCaption, "FileName: Rules.ini");
}

TEST_F(RuleSetTest, TheWriterWritesKeysInOrderAndEditorSpacesVanish) {
    SetEditRules({{"Att", 1, "All Accounts", 1, {"Attachment IsPresent  "}}});
    ASSERT_TRUE(WriteRulesFile(path));
    EXPECT_EQ(Slurp(path),
              "[Rules]\nRuleCount=1\nShow=1\nShowNew=0\nTime=30\n[Rule1]\nName=Att\nEnabled=1\n"
              "Account=All Accounts\nAction=1\nDescCount=1\nDescription1=Attachment IsPresent  \n");
    ReadRulesFile(path);
    EXPECT_EQ(gRules[1].Desc[1], "Attachment IsPresent ");
}

TEST_F(RuleSetTest, AMissingFileIsAnEmptySet) {
    gRules.Count = 5;
    ReadRulesFile(path);
    EXPECT_EQ(gRules.Count, 0);
    EXPECT_EQ(gRules.Show, 0);
    EXPECT_EQ(gRules.ShowNew, 0);
    EXPECT_EQ(gRules.Time, 30);
    EXPECT_EQ(gRules.Rules.UBound(), 0);
    EXPECT_EQ(gEditRules.Rules.UBound(), 0);
}

TEST_F(RuleSetTest, AFileFromAnotherToolReadsWithItsDefaults) {
    WriteRaw(path,
             "[rules]\r\nRuleCount = 2\r\nTime=x\r\n"
             "[RULE1]\r\nname=  Spaced  \r\nDescCount=3\r\nDescription1=From Contains a\r\n"
             "Description2=  OR To Contains b   \r\nDescription4=ignored\r\n"
             "[Rule2]\r\nDescCount=12\r\nEnabled=0\r\n"
             "[Rule3]\r\nName=above the count\r\n");
    ReadRulesFile(path);
    EXPECT_EQ(gRules.Time, 30);
    ASSERT_EQ(gRules.Count, 2);
    EXPECT_EQ(LiveRules(),
              (std::vector<EditRule>{
                  {"Spaced", 1, "All Accounts", 2, {"From Contains a ", "OR To Contains b ", " "}},
                  {"Rule", 0, "All Accounts", 2, {" ", " ", " ", " ", " ", " ", " ", " ", " ", " "}}}));
}

// A count that is no number from 0 to 32767 makes no rules of the file, is
// told with the file's name and the count, and no write replaces the file;
// a count that is a number, written as a person may write it, is read.
TEST_F(RuleSetTest, ACountThatIsNoNumberInRangeIsToldAndTheFileNeverReplaced) {
    struct Case {
        const char* count;
        int16_t rules;  // -1: not read as rules
    };
    const Case cases[] = {{"abc", -1}, {"-7", -1}, {"70000", -1}, {"", -1}, {"1e9", -1},
                          {" 2 ", 2},  {"2.4", 2}, {"0", 0},      {"1", 1}};
    for (const Case& c : cases) {
        const std::string text = std::string("[Rules]\nRuleCount=") + c.count +
                                 "\n[Rule1]\nName=x\nDescCount=1\nDescription1=From Contains x\n"
                                 "[Rule2]\nName=y\n";
        WriteRaw(path, text);
        const std::error_code read = ReadRulesFile(path);
        const QString problem = RulesFileReadProblem(path);
        SetEditRules({{"new", 1, "All Accounts", 1, {"From Contains new "}}});
        if (c.rules < 0) {
            EXPECT_EQ(read, std::errc::invalid_argument) << c.count;
            EXPECT_EQ(gRules.Count, 0) << c.count;
            EXPECT_EQ(problem, path + "\r\ncould not be read: its RuleCount \"" + QString(c.count).trimmed() +
                                   "\" is not a number from 0 to 32767.");
            EXPECT_FALSE(WriteRulesFile(path)) << c.count;
            EXPECT_EQ(gRules.Count, 0) << "the live set is put back: " << c.count;
            EXPECT_EQ(Slurp(path), text) << c.count;
        } else {
            EXPECT_FALSE(read) << c.count;
            EXPECT_EQ(gRules.Count, c.rules) << c.count;
            EXPECT_TRUE(problem.isEmpty()) << problem.toStdString();
            EXPECT_TRUE(WriteRulesFile(path)) << c.count;
        }
    }
}

TEST_F(RuleSetTest, FewerRulesLeaveNoStaleSection) {
    SetEditRules({{"a", 1, "All Accounts", 1, {"From Contains a "}},
                  {"b", 1, "All Accounts", 1, {"From Contains b "}}});
    ASSERT_TRUE(WriteRulesFile(path));
    gEditRules.Count = 1;  // the editor deletes a rule without shrinking the arrays
    ASSERT_TRUE(WriteRulesFile(path));
    EXPECT_EQ(Slurp(path).find("[Rule2]"), std::string::npos);
    gEditRules.Count = 0;
    ASSERT_TRUE(WriteRulesFile(path));
    EXPECT_EQ(Slurp(path), "[Rules]\nRuleCount=0\nShow=1\nShowNew=0\nTime=30\n");
}

TEST_F(RuleSetTest, AFailedWriteKeepsTheOldFileAndIsReported) {
    SetEditRules({{"keep", 1, "All Accounts", 1, {"From Contains a "}}});
    ASSERT_TRUE(WriteRulesFile(path));
    const std::string before = Slurp(path);
    SetEditRules({});
    platform::store::SetWriteFaultHook(
        [](platform::store::WriteStep) { return std::make_error_code(std::errc::no_space_on_device); });
    EXPECT_FALSE(WriteRulesFile(path));
    platform::store::SetWriteFaultHook(nullptr);
    EXPECT_EQ(Slurp(path), before);
    EXPECT_FALSE(WriteRulesFile(path + ".d/none.ini")) << "a folder that does not exist";
}

TEST_F(RuleSetTest, AReadOnlyFolderFailsTheWriteAndKeepsTheOldFile) {
    SetEditRules({{"keep", 1, "All Accounts", 1, {"From Contains a "}}});
    ASSERT_TRUE(WriteRulesFile(path));
    const std::string before = Slurp(path);
    SetEditRules({{"new", 1, "Home", 2, {"Size GreaterThan 10 "}}});
    {
        const ReadOnlyFolder readOnly(std::filesystem::path(path.toStdString()).parent_path());
        if (!readOnly.Effective()) GTEST_SKIP() << "this file system cannot make a folder read-only for root";
        EXPECT_FALSE(WriteRulesFile(path));
    }
    EXPECT_EQ(Slurp(path), before);
}

TEST_F(RuleSetTest, ResizingKeepsEachSetsOwnRulesAndLines) {
    SetEditRules({{"saved", 1, "Home", 1, {"From Contains saved "}}});
    ASSERT_TRUE(WriteRulesFile(path));
    // Unsaved edits on the page: another line and another name.
    gEditRules[1].Name = "edited";
    gEditRules[1].Desc[1] = "From Contains unsaved ";
    gEditRules[1].DescCount = 1;
    gEditRules.Count = 3;
    ResizeRuleArrays(3);  // the editor's Add
    EXPECT_EQ(gRules[1].Name, "saved");
    EXPECT_EQ(gRules[1].Desc[1], "From Contains saved ") << "edit lines must not reach the live set";
    EXPECT_EQ(gRules[1].DescCount, 1);
    EXPECT_EQ(gEditRules[1].Name, "edited");
    EXPECT_EQ(gEditRules[1].Desc[1], "From Contains unsaved ");
    for (int i = 2; i <= 3; ++i) {
        EXPECT_EQ(gRules[i].Name, "");
        EXPECT_EQ(gEditRules[i].Action, 0);
        EXPECT_EQ(gEditRules[i].DescCount, 0);
        EXPECT_EQ(gEditRules[i].Desc[1], "");
    }
    EXPECT_EQ(gRules.Rules.UBound(), 3);
    EXPECT_EQ(gEditRules.Rules.UBound(), 3);
}

TEST_F(RuleSetTest, RenamingAnAccountRebindsBothSetsAndKeepsItInTheFile) {
    SetEditRules({{"a", 1, "Home", 1, {"From Contains a "}}, {"b", 1, "home", 1, {"From Contains b "}}});
    ASSERT_TRUE(WriteRulesFile(path));
    gEditRules[2].Name = "unsaved edit";
    ASSERT_TRUE(RenameRuleAccount("Home", "House"));
    EXPECT_EQ(gRules[1].Account, "House");
    EXPECT_EQ(gRules[2].Account, "home");
    EXPECT_EQ(gEditRules[1].Account, "House");
    SetLiveRules({});
    ReadRulesFile(path);
    EXPECT_EQ(gRules[1].Account, "House");
    EXPECT_EQ(gRules[2].Name, "b") << "pending page edits are not written";
}

// Two versions of a rules file that share no value: a read that takes
// anything from both is caught.
struct RulesVersion {
    char letter;
    int16_t count;
    int16_t time;
};
constexpr RulesVersion kVersions[] = {{'A', 30, 11}, {'B', 45, 22}};

std::string RulesText(const RulesVersion& v) {
    std::string text = "[Rules]\nRuleCount=" + std::to_string(v.count) +
                       "\nShow=1\nShowNew=0\nTime=" + std::to_string(v.time) + "\n";
    for (int i = 1; i <= v.count; ++i) {
        const std::string tag = v.letter + std::to_string(i);
        text += "[Rule" + std::to_string(i) + "]\nName=" + tag + "\nEnabled=1\nAccount=" + v.letter +
                "\nAction=2\nDescCount=2\nDescription1=From Contains " + tag +
                "\nDescription2=OR To Contains " + tag + "\n";
    }
    return text;
}

// The version every value of the live set comes from; null when they come from more than one.
const RulesVersion* VersionOfLiveSet() {
    for (const RulesVersion& v : kVersions) {
        bool same = gRules.Count == v.count && gRules.Time == v.time;
        for (int i = 1; same && i <= v.count; ++i) {
            const QString tag = QChar(v.letter) + QString::number(i);
            same = gRules[i].Name == tag && gRules[i].Account == QString(QChar(v.letter)) &&
                   gRules[i].DescCount == 2 &&
                   gRules[i].Desc[0] == "From Contains " + tag + " OR To Contains " + tag + " ";
        }
        if (same) return &v;
    }
    return nullptr;
}

// Another process that rewrites the rules file, alternating the two versions,
// until it is told to stop; it counts its finished rewrites in memory it
// shares with the test.
class RewritingProcess {
public:
    explicit RewritingProcess(const std::filesystem::path& file) {
        void* memory =
            ::mmap(nullptr, sizeof(Shared), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
        if (memory == MAP_FAILED) return;
        shared_ = new (memory) Shared{};
        const platform::store::IniDocument versions[] = {
            platform::store::IniDocument::Parse(RulesText(kVersions[0])),
            platform::store::IniDocument::Parse(RulesText(kVersions[1]))};
        pid_ = ::fork();
        if (pid_ != 0) return;
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        for (int n = 1; !shared_->stop; ++n) {
            if (platform::store::WriteProfileFile(file, versions[n % 2])) ::_exit(1);
            shared_->rewrites = n;
        }
        ::_exit(0);
    }
    ~RewritingProcess() {
        Stop();
        if (shared_) ::munmap(shared_, sizeof(Shared));
    }
    RewritingProcess(const RewritingProcess&) = delete;
    RewritingProcess& operator=(const RewritingProcess&) = delete;

    [[nodiscard]] bool Started() const { return shared_ && pid_ > 0; }
    [[nodiscard]] int Rewrites() const { return shared_->rewrites; }
    // True while the process runs.
    bool Alive() {
        if (pid_ <= 0) return false;
        if (::waitpid(pid_, &status_, WNOHANG) == 0) return true;
        pid_ = -1;
        return false;
    }
    // Stops the process; true when it ended on request after rewrites that all succeeded.
    bool Stop() {
        if (!shared_) return false;
        if (pid_ > 0) {
            shared_->stop = true;
            if (::waitpid(std::exchange(pid_, -1), &status_, 0) < 0) return false;
        }
        return WIFEXITED(status_) && WEXITSTATUS(status_) == 0;
    }

private:
    struct Shared {
        std::atomic<int> rewrites{0};
        std::atomic<bool> stop{false};
    };
    Shared* shared_ = nullptr;
    pid_t pid_ = -1;
    int status_ = -1;
};

// Reads go on for as long as the other process needs for its rewrites, so
// they overlap them however the machine schedules the two; the bound is the
// number of rewrites, never a time.
TEST_F(RuleSetTest, AReadOverlappingAnotherProcesssRewritesSeesOneVersion) {
    constexpr int kRewrites = 150;
    const std::filesystem::path file = path.toStdString();
    ASSERT_FALSE(platform::store::WriteProfileFile(
        file, platform::store::IniDocument::Parse(RulesText(kVersions[0]))));
    RewritingProcess writer(file);
    ASSERT_TRUE(writer.Started());
    int reads = 0;
    while (writer.Rewrites() < kRewrites && writer.Alive()) {
        ReadRulesFile(path);
        const RulesVersion* version = VersionOfLiveSet();
        ASSERT_NE(version, nullptr) << "read " << reads << " took values from both versions, after "
                                    << writer.Rewrites() << " rewrites";
        ++reads;
    }
    EXPECT_TRUE(writer.Stop()) << "a rewrite failed";
    EXPECT_GE(writer.Rewrites(), kRewrites);
    EXPECT_GT(reads, 0);
}

}  // namespace
