// The Rules page driven through its controls and tool bars: what the load
// shows from the rules file, edits kept apart from the live set until Save,
// Cancel giving the live set back exactly, and the description editor.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QFile>
#include <filesystem>
#include <functional>
#include <vector>

#include "app/common/app_settings.h"
#include "app/common/program_identity.h"
#include "app/general/check_status.h"
#include "app/rules/rule_set.h"
#include "app/rules/rules_editor.h"
#include "platform/store/atomic_file.h"
#include "platform/store/program_folder.h"
#include "platform/ui/msg_box.h"
#include "tests/app/forms/laid_out_main_window.h"
#include "tests/platform/store/read_only_folder.h"

using namespace frmMainElements;  // tbrClient(tbrClient::kAccount)

using namespace modRules;

namespace {

const char kTwoRules[] =
    "[Rules]\nRuleCount=2\nShow=1\nShowNew=0\nTime=20\n"
    "[Rule1]\nName=Newsletters\nEnabled=1\nAccount=All Accounts\nAction=2\nDescCount=2\n"
    "Description1=From Contains newsletter\nDescription2=OR Subject Contains NOT unsubscribe\n"
    "[Rule2]\nName=Big\nEnabled=0\nAccount=Work\nAction=1\nDescCount=1\nDescription1=Size GreaterThan 500\n";

void WriteRulesText(const QByteArray& text) {
    QFile file(RulesFilePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
}

QByteArray RulesText() {
    QFile file(RulesFilePath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A set in one text: Show, ShowNew and Time, then per rule its name,
// enabled value, account, action and lines (each line in brackets).
std::string Read(const RuleSet& set) {
    QString text = QStringLiteral("%1 %2 %3").arg(set.Show).arg(set.ShowNew).arg(set.Time);
    for (int i = 1; i <= set.Count; ++i) {
        const Rule& rule = set[i];
        QString lines;
        for (int j = 1; j <= rule.DescCount; ++j) lines += '[' + rule.Desc.at(j) + ']';
        EXPECT_EQ(rule.Desc[0], QString(lines).remove('[').remove(']')) << "line 0 of rule " << i;
        text += QStringLiteral(" / %1 %2 %3 %4 %5")
                    .arg(rule.Name)
                    .arg(rule.Enabled)
                    .arg(rule.Account)
                    .arg(rule.Action)
                    .arg(lines);
    }
    return text.toStdString();
}

std::string LiveSet() { return Read(gRules); }

std::string EditSet() { return Read(gEditRules); }

const std::string kSaved =
    "1 0 20 / Newsletters 1 All Accounts 2 [From Contains newsletter ][OR Subject Contains NOT unsubscribe ] "
    "/ "
    "Big 0 Work 1 [Size GreaterThan 500 ]";

class RulesPage : public ::testing::Test {
protected:
    void SetUp() override {
        SetProgramIdentity();
        modGeneral::gAppName = QStringLiteral("Veltrane");
        modGeneral::gPaneName = {QStringLiteral("Email"), QStringLiteral("Accounts"), QStringLiteral("Rules"),
                                 QStringLiteral("Options")};
        SaveSetting(kAppKey, QStringLiteral("Settings"), QStringLiteral("AcntNum"), QStringLiteral("2"));
        SaveSetting(kAppKey, QStringLiteral("Settings"), QStringLiteral("AcntName1"), QStringLiteral("Home"));
        SaveSetting(kAppKey, QStringLiteral("Settings"), QStringLiteral("AcntName2"), QStringLiteral("Work"));
        WriteRulesText(RulesFileText());
        form_ = &LaidOutMainWindow();
        form_->Show();
        Click(form_->controls().tbrMainButtons, "Rules");
    }
    void TearDown() override {
        form_->mQuitting = true;
        vb::Forms::Unload<frmMain>();
    }
    virtual QByteArray RulesFileText() const { return kTwoRules; }

    static void Click(vb::ToolBar& bar, const char* key) {
        bar.Buttons(QString::fromLatin1(key)).QtButton().click();
    }
    void Save() { Click(form_->controls().tbrButtons(tbrButtons::kSaveRules), "SaveRules"); }
    void Cancel() { Click(form_->controls().tbrButtons(tbrButtons::kCancelRules), "Cancel"); }
    void Update() { Click(form_->controls().tbrRuleUpdate(tbrRuleUpdate::kDescription), "Update"); }
    void ChooseRule(int rule) { form_->controls().lstRules.SetListIndex(rule - 1); }
    bool SaveEnabled() const {
        return form_->controls().tbrButtons(tbrButtons::kSaveRules).Buttons(1).Enabled();
    }
    bool CancelEnabled() const {
        return form_->controls().tbrButtons(tbrButtons::kCancelRules).Buttons(1).Enabled();
    }
    QStringList ListEntries() const {
        QStringList entries;
        for (int i = 0; i < form_->controls().lstRules.ListCount(); ++i)
            entries << form_->controls().lstRules.List(i) +
                           (form_->controls().lstRules.Selected(i) ? "[x]" : "[ ]");
        return entries;
    }
    // The shown rule as the editor's controls show it, in one line.
    std::string Shown() const {
        frmMain& f = *form_;
        int action = 0;
        for (int i = 1; i <= 3; ++i) action = f.controls().optRuleAction(i).Value() ? i : action;
        QString buttons;
        for (vb::ToolButton* b : {&f.controls().tbrMoveButtons(tbrMoveButtons::kRules).Buttons("Up"),
                                  &f.controls().tbrMoveButtons(tbrMoveButtons::kRules).Buttons("Down"),
                                  &f.controls().tbrRuleUpdate(tbrRuleUpdate::kUndoRedo).Buttons("Undo"),
                                  &f.controls().tbrRuleUpdate(tbrRuleUpdate::kUndoRedo).Buttons("Redo")})
            buttons += b->Key() + (b->Enabled() ? "+" : "-");
        return QStringList{f.controls().fraRule.Caption(),
                           f.controls().txtRuleName.Text(),
                           f.controls().cboRuleAccount.Text(),
                           QString::number(action),
                           f.controls().cboWhere.Text(),
                           f.controls().cboCondition.Text(),
                           f.controls().chkNot.Value() == vb::vbChecked ? "NOT" : "",
                           f.controls().txtCriteria.Text(),
                           f.controls().cboBoolean.Text(),
                           f.controls().lblRuleDescEntries.Caption(),
                           buttons}
            .join('|')
            .toStdString();
    }
    static constexpr char kFirstRule[] =
        "Rule: Enabled|Newsletters|All Accounts|2|Subject|Contains|NOT|unsubscribe|OR|2 of 10 "
        "Entries|Up-Down+Undo+Redo-";
    // The page shows rule 1 of the saved set, unchanged.
    void ExpectSavedPage() {
        frmMain& f = *form_;
        EXPECT_EQ(ListEntries(), QStringList({"Newsletters[x]", "Big[ ]"}));
        EXPECT_EQ(Shown(), kFirstRule);
        EXPECT_EQ(f.controls().chkRuleNotify.Value(), vb::vbChecked);
        EXPECT_EQ(f.controls().txtRuleNotifyTime.Text(), "20");
        EXPECT_EQ(f.controls().txtRuleDescription.Text(),
                  "From Contains newsletter OR Subject Contains NOT unsubscribe ");
        EXPECT_FALSE(SaveEnabled());
        EXPECT_FALSE(CancelEnabled());
        EXPECT_TRUE(f.controls().fraMainButtons.Enabled());
    }
    frmMain* form_ = nullptr;
};

TEST_F(RulesPage, TheLoadShowsTheSavedRulesAndEachRulesLastLine) {
    frmMain& f = *form_;
    EXPECT_EQ(LiveSet(), kSaved);
    EXPECT_EQ(EditSet(), kSaved);
    ExpectSavedPage();
    EXPECT_EQ(f.controls().lblRulesFileName.Caption(), "FileName: Rules.ini");
    EXPECT_EQ(f.controls().lblCriteria.Caption(), "Enter Text...");
    ChooseRule(2);
    EXPECT_EQ(Shown(),
              "Rule: Not Enabled|Big|Work|1|Size|GreaterThan||500|OR|1 of 10 Entries|Up+Down-Undo+Redo-");
    EXPECT_EQ(f.controls().fraRule.ForeColor(), vb::RGB(192, 0, 0));
    EXPECT_EQ(f.controls().lblCriteria.Caption(), "Enter Number in KB...");
    EXPECT_EQ(EditSet(), kSaved) << "showing a rule changes nothing";
    EXPECT_FALSE(SaveEnabled());
}

TEST_F(RulesPage, CancelGivesBackTheLiveSetExactlyAfterEveryKindOfEdit) {
    frmMain& f = *form_;
    // Each edit on its own leaves the live set alone, enables Save and
    // Cancel and locks the page buttons; Cancel shows the saved set again.
    const std::vector<std::pair<const char*, std::function<void()>>> edits = {
        {"name", [&] { f.controls().txtRuleName.SetText("Renamed"); }},
        {"account", [&] { f.controls().cboRuleAccount.SetText("Home"); }},
        {"action", [&] { f.controls().optRuleAction(3).SetValue(true); }},
        {"enabled", [&] { f.controls().lstRules.SetSelected(0, false); }},
        {"report", [&] { f.controls().chkRuleNotify.SetValue(vb::vbUnchecked); }},
        {"report for new", [&] { f.controls().chkRuleNotifyNew.SetValue(vb::vbChecked); }},
        {"seconds", [&] { f.controls().txtRuleNotifyTime.SetText("45"); }},
        {"move", [&] { Click(f.controls().tbrMoveButtons(tbrMoveButtons::kRules), "Down"); }},
        {"line added",
         [&] {
             f.controls().txtCriteria.SetText("sale");
             Update();
         }},
        {"line undone", [&] { Click(f.controls().tbrRuleUpdate(tbrRuleUpdate::kUndoRedo), "Undo"); }},
        {"lines cleared", [&] { Click(f.controls().tbrRuleUpdate(tbrRuleUpdate::kDescription), "Clear"); }},
        {"connector", [&] { f.controls().cboBoolean.SetText("AND"); }},
        {"rule added", [&] { Click(f.controls().tbrRules, "RulesAdd"); }},
    };
    for (const auto& [what, edit] : edits) {
        SCOPED_TRACE(what);
        edit();
        EXPECT_NE(EditSet(), kSaved);
        EXPECT_EQ(LiveSet(), kSaved);
        EXPECT_TRUE(SaveEnabled());
        EXPECT_TRUE(CancelEnabled());
        EXPECT_FALSE(f.controls().fraMainButtons.Enabled());
        Cancel();
        EXPECT_EQ(EditSet(), kSaved);
        EXPECT_EQ(LiveSet(), kSaved);
        ChooseRule(1);
        ExpectSavedPage();
    }
    EXPECT_EQ(RulesText(), QByteArray(kTwoRules)) << "nothing was written";
}

TEST_F(RulesPage, EditsThatUndoThemselvesLeaveNothingToSave) {
    frmMain& f = *form_;
    const std::vector<std::pair<const char*, std::function<void()>>> rows = {
        {"untick and tick",
         [&] { f.controls().lstRules.SetSelected(0, false), f.controls().lstRules.SetSelected(0, true); }},
        {"down and up",
         [&] {
             Click(f.controls().tbrMoveButtons(tbrMoveButtons::kRules), "Down"),
                 Click(f.controls().tbrMoveButtons(tbrMoveButtons::kRules), "Up");
         }},
        {"name and back",
         [&] { f.controls().txtRuleName.SetText("x"), f.controls().txtRuleName.SetText("Newsletters"); }},
        {"line and undo",
         [&] {
             f.controls().txtCriteria.SetText("y"), Update(),
                 Click(f.controls().tbrRuleUpdate(tbrRuleUpdate::kUndoRedo), "Undo");
         }},
    };
    for (const auto& [what, edit] : rows) {
        ChooseRule(1);
        edit();
        EXPECT_FALSE(gRulesChanged) << what;
        EXPECT_FALSE(SaveEnabled()) << what;
    }
    // A rule added drops an unsaved change of the notification values.
    f.controls().chkRuleNotify.SetValue(vb::vbUnchecked);
    Click(f.controls().tbrRules, "RulesAdd");
    EXPECT_EQ(f.controls().chkRuleNotify.Value(), vb::vbChecked);
    EXPECT_EQ(ListEntries().last(), "Rule3[x]");
    EXPECT_EQ(Shown(),
              "Rule: Enabled|Rule3|All Accounts|2|From|Contains|||AND|0 of 10 Entries|Up+Down-Undo-Redo-");
    EXPECT_TRUE(SaveEnabled());
}

TEST_F(RulesPage, AFullEditSessionIsSavedAndReadBackFromTheFile) {
    frmMain& f = *form_;
    vb::ScriptedMsgBoxes boxes;
    Click(f.controls().tbrRules, "RulesAdd");
    f.controls().txtRuleName.SetText("Shop");
    f.controls().cboRuleAccount.SetText("Home");
    f.controls().optRuleAction(1).SetValue(true);
    f.controls().txtCriteria.SetText("shop@example.com");
    Update();
    f.controls().cboBoolean.SetText("OR");
    f.controls().cboWhere.SetText("Attachment");
    EXPECT_FALSE(f.controls().txtCriteria.isEnabled());
    Update();
    Click(f.controls().tbrMoveButtons(tbrMoveButtons::kRules), "Up");
    ChooseRule(1);
    f.controls().lstRules.SetSelected(0, false);
    f.controls().chkRuleNotifyNew.SetValue(vb::vbChecked);
    EXPECT_EQ(LiveSet(), kSaved);
    Save();
    EXPECT_TRUE(boxes.Calls().empty());
    EXPECT_FALSE(SaveEnabled());
    EXPECT_EQ(LiveSet(), EditSet());

    form_ = &LaidOutMainWindow();
    const std::string read =
        "1 1 20 / Newsletters 0 All Accounts 2 [From Contains newsletter ][OR Subject Contains NOT "
        "unsubscribe ] / "
        "Shop 1 Home 1 [From Contains shop@example.com ][OR Attachment IsPresent ] / Big 0 Work 1 [Size "
        "GreaterThan 500 ]";
    EXPECT_EQ(LiveSet(), read);
    EXPECT_EQ(EditSet(), read);
}

TEST_F(RulesPage, SaveNeedsANameAndALineOnlyOfTheShownRule) {
    frmMain& f = *form_;
    vb::ScriptedMsgBoxes boxes;
    Click(f.controls().tbrRules, "RulesAdd");
    Save();
    f.controls().txtRuleName.SetText("   ");
    f.controls().txtCriteria.SetText("x");
    Update();
    Save();
    ASSERT_EQ(boxes.Calls().size(), 2u);
    EXPECT_EQ(boxes.Calls()[0].title, "Veltrane - Rule Description Error");
    EXPECT_TRUE(
        boxes.Calls()[0].prompt.startsWith("Rule Description Error...\r\n\r\nThe Rule Description can not"));
    EXPECT_EQ(boxes.Calls()[1].title, "Veltrane - Rule Name Error");
    EXPECT_EQ(boxes.Calls()[1].buttons, vb::vbCritical);
    EXPECT_EQ(RulesText(), QByteArray(kTwoRules));
    EXPECT_EQ(LiveSet(), kSaved);

    Click(f.controls().tbrRules, "RulesAdd");  // a rule with no lines, saved with the others
    ChooseRule(1);
    Save();
    EXPECT_EQ(boxes.Calls().size(), 2u);
    EXPECT_EQ(gRules.Count, 4);
    EXPECT_EQ(gRules[4].Name, "Rule4");
}

TEST_F(RulesPage, DeleteAsksThenWritesAtOnce) {
    frmMain& f = *form_;
    vb::ScriptedMsgBoxes boxes;
    f.controls().txtRuleName.SetText("Edited");  // a pending edit goes into the file with the deletion
    ChooseRule(1);
    boxes.Answer(vb::vbNo);
    Click(f.controls().tbrRules, "RulesDelete");
    EXPECT_EQ(gEditRules.Count, 2);
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].title, "Delete Rule - Proceed With Caution");
    EXPECT_TRUE(boxes.Calls()[0].prompt.contains("Rule Name:  'Edited'\r\n"));
    EXPECT_EQ(boxes.Calls()[0].buttons, vb::vbYesNo + vb::vbCritical);

    boxes.Answer(vb::vbYes);
    Click(f.controls().tbrRules, "RulesDelete");
    EXPECT_EQ(LiveSet(), "1 0 20 / Big 0 Work 1 [Size GreaterThan 500 ]");
    EXPECT_EQ(f.controls().txtRuleName.Text(), "Big") << "the next rule moved into the place";
    EXPECT_FALSE(SaveEnabled());

    boxes.Answer(vb::vbYes);
    Click(f.controls().tbrRules, "RulesDelete");
    EXPECT_TRUE(RulesText().startsWith("[Rules]\nRuleCount=0\n"));
    EXPECT_EQ(f.controls().fraRule.Caption(), "Rule: None");
    EXPECT_EQ(f.controls().lstRules.ListCount(), 0);
    EXPECT_FALSE(f.controls().lstRules.Enabled());
    EXPECT_FALSE(f.controls().txtRuleName.Enabled());
    EXPECT_FALSE(f.controls().tbrRules.Buttons("RulesDelete").Enabled());
    EXPECT_EQ(gCurrentRule, 0);
}

TEST_F(RulesPage, AnUnwritableFolderKeepsTheFileTheLiveSetAndTheEdits) {
    frmMain& f = *form_;
    vb::ScriptedMsgBoxes boxes;
    f.controls().txtRuleName.SetText("Renamed");
    const ReadOnlyFolder readOnly(platform::store::UserDataFolder());
    if (!readOnly.Effective()) GTEST_SKIP() << "this file system cannot make a folder read-only for root";
    Save();
    boxes.Answer(vb::vbYes);
    Click(f.controls().tbrRules, "RulesDelete");
    ASSERT_EQ(boxes.Calls().size(), 3u);
    for (int call : {0, 2}) {
        EXPECT_EQ(boxes.Calls()[call].title, "Veltrane - Rules File Error");
        EXPECT_TRUE(boxes.Calls()[call].prompt.contains(RulesFilePath()));
    }
    EXPECT_EQ(RulesText(), QByteArray(kTwoRules));
    EXPECT_EQ(LiveSet(), kSaved);
    EXPECT_EQ(ListEntries(), QStringList({"Big[ ]"})) << "the deletion waits to be saved or cancelled";
    EXPECT_TRUE(SaveEnabled());
    Cancel();
    EXPECT_EQ(EditSet(), kSaved);
}

// A rules file that exists but cannot be read is named to the user at the
// load and never replaced by a save: it may hold the user's rules. (No mode
// stops root from reading, so that case is left to a folder's.)
TEST_F(RulesPage, AnUnreadableRulesFileIsToldAndNeverReplaced) {
    const std::string path = RulesFilePath().toStdString();
    const QByteArray binary = QByteArray(kTwoRules).replace("Time=20", QByteArray("Time\0=20", 8));
    const std::pair<const char*, std::function<void()>> rows[] = {
        {"a folder", [&] { QFile::remove(RulesFilePath()), std::filesystem::create_directory(path); }},
        {"over the size cap", [&] { std::filesystem::resize_file(path, platform::store::kMaxFileSize + 1); }},
        {"binary", [&] { WriteRulesText(binary); }},
    };
    for (const auto& [name, make] : rows) {
        SCOPED_TRACE(name);
        std::filesystem::remove_all(path);
        WriteRulesText(kTwoRules);
        make();
        const auto kind = std::filesystem::status(path).type();
        const auto size = kind == std::filesystem::file_type::regular ? std::filesystem::file_size(path) : 0;
        const QByteArray bytes = RulesText();
        vb::ScriptedMsgBoxes boxes;
        frmMain& f = *(form_ = &LaidOutMainWindow());
        f.Show();
        Click(f.controls().tbrMainButtons, "Rules");
        Click(f.controls().tbrRules, "RulesAdd");
        f.controls().txtCriteria.SetText("offer");
        Update();
        Save();
        ASSERT_EQ(boxes.Calls().size(), 2u);
        EXPECT_TRUE(boxes.Calls()[0].prompt.contains(RulesFilePath() + "\r\ncould not be read: "));
        EXPECT_TRUE(boxes.Calls()[1].prompt.contains("It is not replaced: it may hold rules."));
        for (const auto& call : boxes.Calls()) EXPECT_EQ(call.title, "Veltrane - Rules File Error");
        EXPECT_EQ(std::filesystem::status(path).type(), kind);
        EXPECT_EQ(kind == std::filesystem::file_type::regular ? std::filesystem::file_size(path) : 0, size);
        EXPECT_EQ(RulesText(), bytes);
        EXPECT_EQ(gRules.Count, 0);
        EXPECT_TRUE(SaveEnabled()) << "the new rule waits on the page";
    }
}

TEST_F(RulesPage, PendingEditsOutliveAnOperationAndThePageSwitch) {
    frmMain& f = *form_;
    f.controls().txtRuleName.SetText("Renamed");
    f.SetRetrievalMode(false, true);
    f.SetRetrievalMode(true, true);
    f.SwitchPane(2);
    EXPECT_EQ(f.controls().txtRuleName.Text(), "Renamed");
    EXPECT_EQ(gEditRules[1].Name, "Renamed");
    EXPECT_TRUE(SaveEnabled());
}

// "NOT FOR DISTRIBUTION" typed with NOT unticked would be stored as a
// negated rule on "FOR DISTRIBUTION": it is refused and said why; with NOT
// ticked it is stored and read back as typed.
TEST_F(RulesPage, ACriteriaThatBeginsWithNotIsSavedOnlyWithTheNotChoice) {
    frmMain& f = *form_;
    ChooseRule(2);
    f.controls().cboBoolean.SetText("AND");
    const std::tuple<const char*, bool, const char*> rows[] = {
        {"NOT FOR DISTRIBUTION", false, nullptr},  // nullptr: refused
        {"NOT", false, nullptr},
        {"  NOT x", false, nullptr},
        {"NOTICE", false, "AND Subject Contains NOTICE "},
        {"not spam", false, "AND Subject Contains not spam "},
        {"NOT FOR DISTRIBUTION", true, "AND Subject Contains NOT NOT FOR DISTRIBUTION "},
    };
    for (const auto& [criteria, ticked, line] : rows) {
        SCOPED_TRACE(criteria);
        vb::ScriptedMsgBoxes boxes;
        const int16_t before = gEditRules[2].DescCount;
        f.controls().cboWhere.SetText("Subject");
        f.controls().chkNot.SetValue(ticked ? vb::vbChecked : vb::vbUnchecked);
        f.controls().txtCriteria.SetText(criteria);
        Update();
        EXPECT_EQ(boxes.Calls().size(), line ? 0u : 1u);
        if (!line) {
            EXPECT_EQ(boxes.Calls()[0].title, "Veltrane - Rule Criteria");
            EXPECT_EQ(gEditRules[2].DescCount, before) << "no line is added";
        } else {
            EXPECT_EQ(gEditRules[2].Desc[gEditRules[2].DescCount], line);
        }
    }
    Save();
    form_ = &LaidOutMainWindow();
    ChooseRule(2);
    EXPECT_EQ(form_->controls().txtCriteria.Text(), "NOT FOR DISTRIBUTION") << "read back as typed";
    EXPECT_EQ(form_->controls().chkNot.Value(), vb::vbChecked);
}

TEST_F(RulesPage, TheTimeBoxPutsRightWhatIsTyped) {
    frmMain& f = *form_;
    for (const auto& [typed, shown, time] : {std::tuple{"", "1", 1},
                                             {"75", "59", 59},
                                             {"0", "0", 0},
                                             {"ab", "1", 1},
                                             {"-5", "0", 0},
                                             {"7", "7", 7}}) {
        f.controls().txtRuleNotifyTime.SetText(typed);
        EXPECT_EQ(f.controls().txtRuleNotifyTime.Text(), shown) << typed;
        EXPECT_EQ(gEditRules.Time, time) << typed;
    }
}

TEST_F(RulesPage, TheDescriptionEditorBuildsLimitsUndoesAndRedoes) {
    frmMain& f = *form_;
    vb::ScriptedMsgBoxes boxes;
    vb::ToolButton& update = f.controls().tbrRuleUpdate(tbrRuleUpdate::kDescription).Buttons("Update");
    vb::ToolButton& redo = f.controls().tbrRuleUpdate(tbrRuleUpdate::kUndoRedo).Buttons("Redo");
    QStringList offered;
    for (int i = 0; i < f.controls().cboWhere.ListCount(); ++i) offered << f.controls().cboWhere.List(i);
    EXPECT_EQ(offered, QStringList({"From", "To", "Subject", "Body", "Attachment", "Size"}));
    // Conditions follow the Where; one both lists hold is kept.
    for (const auto& [from, condition, to, kept] : {std::tuple{"Subject", "Contains", "Size", "Equals"},
                                                    {"Size", "GreaterThan", "Subject", "Contains"},
                                                    {"Size", "Equals", "Subject", "Equals"},
                                                    {"Body", "Equals", "Attachment", "IsPresent"},
                                                    {"Size", "LessThan", "To", "Contains"}}) {
        f.controls().cboWhere.SetText(from);
        f.controls().cboCondition.SetText(condition);
        f.controls().cboWhere.SetText(to);
        EXPECT_EQ(f.controls().cboCondition.Text(), kept) << from << " " << condition << " to " << to;
    }
    f.controls().cboWhere.SetText("Attachment");
    EXPECT_TRUE(update.Enabled()) << "an attachment needs no criteria";
    for (const auto& [where, criteria, enabled] : {std::tuple{"Subject", "   ", false},
                                                   {"Size", "12k", false},
                                                   {"Size", "12", true},
                                                   {"To", "bob", true}}) {
        f.controls().cboWhere.SetText(where);
        f.controls().txtCriteria.SetText(criteria);
        EXPECT_EQ(update.Enabled(), enabled) << where << " '" << criteria << "'";
    }
    f.controls().chkNot.SetValue(vb::vbChecked);
    for (int i = 3; i <= 10; ++i) Update();
    EXPECT_EQ(f.controls().lblRuleDescEntries.Caption(), "10 of 10 Entries");
    EXPECT_EQ(gEditRules[1].Desc[10], "OR To Equals NOT bob ");
    Update();
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].title, "Veltrane - Maximum Entries");
    EXPECT_EQ(gEditRules[1].DescCount, 10);

    for (int i = 0; i < 3; ++i) Click(f.controls().tbrRuleUpdate(tbrRuleUpdate::kUndoRedo), "Undo");
    EXPECT_TRUE(redo.Enabled());
    EXPECT_EQ(f.controls().lblRuleDescEntries.Caption(), "7 of 10 Entries");
    f.controls().cboBoolean.SetText("AND");
    for (int i = 0; i < 3; ++i) Click(f.controls().tbrRuleUpdate(tbrRuleUpdate::kUndoRedo), "Redo");
    EXPECT_FALSE(redo.Enabled());
    EXPECT_EQ(gEditRules[1].Desc[10], "AND To Equals NOT bob ");
    EXPECT_EQ(f.controls().txtCriteria.Text(), "bob");
    EXPECT_EQ(f.controls().chkNot.Value(), vb::vbChecked);
    EXPECT_TRUE(f.controls().txtRuleDescription.Text().startsWith(
        "From Contains newsletter AND Subject Contains NOT unsubscribe "));

    Click(f.controls().tbrRuleUpdate(tbrRuleUpdate::kDescription), "Clear");
    EXPECT_EQ(f.controls().txtRuleDescription.Text(), QString());
    EXPECT_EQ(f.controls().cboWhere.Text(), "From");
    EXPECT_FALSE(redo.Enabled());
    EXPECT_FALSE(f.controls().cboBoolean.isEnabled());
    EXPECT_EQ(gEditRules[1].DescCount, 0);
}

// A rules file written by hand: keys and rules missing, words the editor
// does not know, an account and an action that are no longer offered.
class RulesPageByHand : public RulesPage {
protected:
    QByteArray RulesFileText() const override {
        return "[Rules]\nRuleCount=3\n[Rule1]\nAccount=Gone\nAction=7\nDescCount=2\n"
               "Description1=Sender Contains "
               "x\nDescription2=OR\n[Rule3]\nName=Third\nDescCount=1\nDescription1=Size Contains 5\n";
    }
};

TEST_F(RulesPageByHand, ShowingKeepsEveryValueAndSavingWritesThemBack) {
    frmMain& f = *form_;
    const std::string read =
        "0 0 30 / Rule 1 Gone 7 [Sender Contains x ][OR ] / Rule 1 All Accounts 2  / Third 1 All Accounts 2 "
        "[Size Contains 5 ]";
    EXPECT_EQ(LiveSet(), read);
    // No action chosen; a line the editor cannot read shows the defaults.
    EXPECT_EQ(Shown(), "Rule: Enabled|Rule|Gone|0|From|Contains|||AND|2 of 10 Entries|Up-Down+Undo+Redo-");
    EXPECT_EQ(f.controls().txtRuleDescription.Text(), "Sender Contains x OR ");
    ChooseRule(3);
    EXPECT_EQ(Shown(),
              "Rule: Enabled|Third|All Accounts|2|Size|Equals||5|AND|1 of 10 Entries|Up+Down-Undo+Redo-")
        << "a condition the Where does not offer shows its first one";
    EXPECT_EQ(f.controls().cboRuleAccount.ListCount(), 3)
        << "the missing account leaves the list with its rule";
    ChooseRule(1);
    EXPECT_EQ(EditSet(), read);
    EXPECT_FALSE(SaveEnabled());

    vb::ScriptedMsgBoxes boxes;
    f.controls().lstRules.SetSelected(0, false);
    Save();
    EXPECT_TRUE(boxes.Calls().empty());
    form_ = &LaidOutMainWindow();
    EXPECT_EQ(LiveSet(),
              "0 0 30 / Rule 0 Gone 7 [Sender Contains x ][OR ] / Rule 1 All Accounts 2  / Third 1 All "
              "Accounts 2 [Size Contains 5 ]");
}

}  // namespace
