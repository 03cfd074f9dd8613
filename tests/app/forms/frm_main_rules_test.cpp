// The Rules page driven through its controls and tool bars: what the load
// shows from the rules file, edits kept apart from the live set until Save,
// Cancel giving the live set back exactly, and the description editor.
#include <gtest/gtest.h>

#include <QFile>
#include <vector>

#include "app/common/app_settings.h"
#include "app/common/program_identity.h"
#include "app/general/check_status.h"
#include "app/rules/rule_set.h"
#include "app/rules/rules_editor.h"
#include "laid_out_main_window.h"
#include "platform/store/program_folder.h"
#include "platform/ui/msg_box.h"
#include "tests/platform/store/read_only_folder.h"

using namespace modRules;

// Texts read in failure messages; gtest finds this through the argument's namespace.
static void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

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

// One rule of a set, every field the page edits.
struct Rule {
    QString name;
    int16_t enabled;
    QString account;
    int16_t action;
    QStringList lines;
    bool operator==(const Rule&) const = default;
};
struct Set {
    std::vector<Rule> rules;
    int16_t show, showNew, time;
    bool operator==(const Set&) const = default;
};
void PrintTo(const Set& set, std::ostream* os) {
    *os << "show " << set.show << " new " << set.showNew << " time " << set.time;
    for (const Rule& r : set.rules)
        *os << "\n  " << r.name.toStdString() << " " << r.enabled << " " << r.account.toStdString() << " "
            << r.action << " [" << r.lines.join('|').toStdString() << "]";
}

// One set's arrays, live or edit.
struct Arrays {
    int16_t count, show, showNew, time;
    const VbArray<QString>& name;
    const VbArray<int16_t>& enabled;
    const VbArray<QString>& account;
    const VbArray<int16_t>& action;
    const VbArray<int16_t>& descCount;
    const VbArray2<QString>& desc;
};

Set Read(const Arrays& a) {
    Set set{{}, a.show, a.showNew, a.time};
    for (int i = 1; i <= a.count; ++i) {
        QStringList lines;
        for (int j = 1; j <= a.descCount[i]; ++j) lines << a.desc(i, j);
        EXPECT_EQ(a.desc(i, 0), lines.join(QString())) << "column 0 of rule " << i;
        set.rules.push_back({a.name[i], a.enabled[i], a.account[i], a.action[i], lines});
    }
    return set;
}

Set LiveSet() {
    return Read({gRuleCount, gRuleShow, gRuleShowNew, gRuleTime, gRuleName, gRuleEnabled, gRuleAccount, gRuleAction,
                 gRuleDescCount, gRuleDesc});
}

Set EditSet() {
    return Read({gEditRuleCount, gEditRuleShow, gEditRuleShowNew, gEditRuleTime, gEditRuleName, gEditRuleEnabled,
                 gEditRuleAccount, gEditRuleAction, gEditRuleDescCount, gEditRuleDesc});
}

const Set kSaved{{{"Newsletters", 1, "All Accounts", 2, {"From Contains newsletter ", "OR Subject Contains NOT unsubscribe "}},
                  {"Big", 0, "Work", 1, {"Size GreaterThan 500 "}}},
                 1,
                 0,
                 20};

class FrmMainRules : public ::testing::Test {
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
        Click(form_->tbrMainButtons, "Rules");
    }
    void TearDown() override {
        form_->mQuitting = true;
        vb::Forms::Unload<frmMain>();
    }
    virtual QByteArray RulesFileText() const { return kTwoRules; }

    static void Click(vb::ToolBar& bar, const char* key) { bar.Buttons(QString::fromLatin1(key)).QtButton().click(); }
    void Save() { Click(form_->tbrButtons(9), "SaveRules"); }
    void Cancel() { Click(form_->tbrButtons(10), "Cancel"); }
    void Update() { Click(form_->tbrRuleUpdate(0), "Update"); }
    void ChooseRule(int rule) { form_->lstRules.SetListIndex(rule - 1); }
    bool SaveEnabled() const { return form_->tbrButtons(9).Buttons(1).Enabled(); }
    bool CancelEnabled() const { return form_->tbrButtons(10).Buttons(1).Enabled(); }
    QStringList ListEntries() const {
        QStringList entries;
        for (int i = 0; i < form_->lstRules.ListCount(); ++i)
            entries << form_->lstRules.List(i) + (form_->lstRules.Selected(i) ? "[x]" : "[ ]");
        return entries;
    }
    // The page shows rule 1 of the saved set, unchanged.
    void ExpectSavedPage() {
        frmMain& f = *form_;
        EXPECT_EQ(ListEntries(), QStringList({"Newsletters[x]", "Big[ ]"}));
        EXPECT_EQ(f.txtRuleName.Text(), "Newsletters");
        EXPECT_EQ(f.cboRuleAccount.Text(), "All Accounts");
        EXPECT_TRUE(f.optRuleAction(2).Value());
        EXPECT_EQ(f.chkRuleNotify.Value(), vb::vbChecked);
        EXPECT_EQ(f.txtRuleNotifyTime.Text(), "20");
        EXPECT_EQ(f.txtRuleDescription.Text(), "From Contains newsletter OR Subject Contains NOT unsubscribe ");
        EXPECT_FALSE(SaveEnabled());
        EXPECT_FALSE(CancelEnabled());
        EXPECT_TRUE(f.fraMainButtons.Enabled());
        EXPECT_FALSE(gRulesChanged);
    }
    frmMain* form_ = nullptr;
};

TEST_F(FrmMainRules, TheLoadShowsTheSavedRulesAndTheFirstRulesLastLine) {
    frmMain& f = *form_;
    EXPECT_EQ(LiveSet(), kSaved);
    EXPECT_EQ(EditSet(), kSaved);
    EXPECT_EQ(gCurrentRule, 1);
    ExpectSavedPage();
    EXPECT_EQ(f.lblRulesFileName.Caption(), "FileName: Rules.ini");
    EXPECT_EQ(f.fraRule.Caption(), "Rule: Enabled");
    EXPECT_EQ(f.lblRuleDescEntries.Caption(), "2 of 10 Entries");
    // The last line in the line controls, its criteria alone in the box.
    EXPECT_EQ(f.cboWhere.Text(), "Subject");
    EXPECT_EQ(f.cboCondition.Text(), "Contains");
    EXPECT_EQ(f.chkNot.Value(), vb::vbChecked);
    EXPECT_EQ(f.txtCriteria.Text(), "unsubscribe");
    EXPECT_EQ(f.cboBoolean.Text(), "OR");
    EXPECT_EQ(f.lblCriteria.Caption(), "Enter Text...");
    EXPECT_FALSE(f.tbrMoveButtons(1).Buttons("Up").Enabled());
    EXPECT_TRUE(f.tbrMoveButtons(1).Buttons("Down").Enabled());
    EXPECT_FALSE(f.tbrRuleUpdate(1).Buttons("Redo").Enabled());
    EXPECT_TRUE(f.tbrRuleUpdate(1).Buttons("Undo").Enabled());

    ChooseRule(2);
    EXPECT_EQ(f.fraRule.Caption(), "Rule: Not Enabled");
    EXPECT_EQ(f.fraRule.ForeColor(), vb::RGB(192, 0, 0));
    EXPECT_EQ(f.cboRuleAccount.Text(), "Work");
    EXPECT_TRUE(f.optRuleAction(1).Value());
    EXPECT_EQ(f.cboWhere.Text(), "Size");
    EXPECT_EQ(f.cboCondition.Text(), "GreaterThan");
    EXPECT_EQ(f.txtCriteria.Text(), "500");
    EXPECT_EQ(f.lblCriteria.Caption(), "Enter Number in KB...");
    EXPECT_TRUE(f.tbrMoveButtons(1).Buttons("Up").Enabled());
    EXPECT_FALSE(f.tbrMoveButtons(1).Buttons("Down").Enabled());
    EXPECT_EQ(EditSet(), kSaved) << "showing a rule changes nothing";
    EXPECT_FALSE(SaveEnabled());
}

TEST_F(FrmMainRules, CancelGivesBackTheLiveSetExactlyAfterEveryKindOfEdit) {
    frmMain& f = *form_;
    // Each edit on its own leaves the live set alone, enables Save and
    // Cancel and locks the page buttons; Cancel shows the saved set again.
    const std::vector<std::pair<const char*, std::function<void()>>> edits = {
        {"name", [&] { f.txtRuleName.SetText("Renamed"); }},
        {"account", [&] { f.cboRuleAccount.SetText("Home"); }},
        {"action", [&] { f.optRuleAction(3).SetValue(true); }},
        {"enabled", [&] { f.lstRules.SetSelected(0, false); }},
        {"report", [&] { f.chkRuleNotify.SetValue(vb::vbUnchecked); }},
        {"report for new", [&] { f.chkRuleNotifyNew.SetValue(vb::vbChecked); }},
        {"seconds", [&] { f.txtRuleNotifyTime.SetText("45"); }},
        {"move", [&] { Click(f.tbrMoveButtons(1), "Down"); }},
        {"line added", [&] {
             f.txtCriteria.SetText("sale");
             Update();
         }},
        {"line undone", [&] { Click(f.tbrRuleUpdate(1), "Undo"); }},
        {"lines cleared", [&] { Click(f.tbrRuleUpdate(0), "Clear"); }},
        {"connector", [&] { f.cboBoolean.SetText("AND"); }},
        {"rule added", [&] { Click(f.tbrRules, "RulesAdd"); }},
    };
    for (const auto& [what, edit] : edits) {
        SCOPED_TRACE(what);
        edit();
        EXPECT_NE(EditSet(), kSaved);
        EXPECT_EQ(LiveSet(), kSaved);
        EXPECT_TRUE(SaveEnabled());
        EXPECT_TRUE(CancelEnabled());
        EXPECT_FALSE(f.fraMainButtons.Enabled());
        Cancel();
        EXPECT_EQ(EditSet(), kSaved);
        EXPECT_EQ(LiveSet(), kSaved);
        ChooseRule(1);
        ExpectSavedPage();
    }
    EXPECT_EQ(RulesText(), QByteArray(kTwoRules)) << "nothing was written";
}

}  // namespace
