// The Accounts page: adding, saving, renaming, deleting and moving accounts
// through its buttons and tabs, with what the store, the rules, the message
// store and both tab strips hold afterwards; the unsaved-changes question.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "app/accounts/account_operations.h"
#include "app/accounts/account_table.h"
#include "app/common/app_settings.h"
#include "app/forms/main_window/window_slots.h"
#include "app/general/check_status.h"
#include "app/general/message_store.h"
#include "app/options/option_values.h"
#include "app/rules/rule_set.h"
#include "platform/store/atomic_file.h"
#include "platform/ui/msg_box.h"
#include "tests/app/account_print.h"
#include "tests/app/forms/laid_out_main_window.h"

using namespace frmMainElements;  // tbrClient(tbrClient::kAccount)

using namespace modAccounts;

namespace {

const QString kSettings = QStringLiteral("Settings");

void Click(vb::ToolBar& bar, const char* key) { bar.Buttons(QString::fromLatin1(key)).QtButton().click(); }

QString Stored(const char* key, int i) {
    return GetSetting(kAppKey, kSettings, QString::fromLatin1(key) + QString::number(i),
                      QStringLiteral("<missing>"));
}

QStringList Captions(const vb::TabStrip& strip) {
    QStringList captions;
    for (int i = 1; i <= strip.TabCount(); ++i) captions << strip.TabCaption(i);
    return captions;
}

QStringList Names() {
    QStringList names;
    for (int i = 1; i <= gAccountCount; ++i) names << gAccounts[i].Name;
    return names;
}

// The tab's middle, in the strip's twips.
int Middle(const vb::TabStrip& strip, int tab) { return strip.TabLeft(tab) + strip.TabWidth(tab) / 2; }

class AccountsPage : public testing::Test {
protected:
    void TearDown() override {
        platform::store::SetWriteFaultHook(nullptr);
        if (form_) {
            form_->mQuitting = true;
            vb::Forms::Unload<frmMain>();
        }
    }

    // Stored accounts named names, the window loaded on the Accounts page.
    frmMain& Open(std::initializer_list<const char*> names, const QStringList& ruleAccounts = {}) {
        modGeneral::gPaneName = {QStringLiteral("Email"), QStringLiteral("Accounts"), QStringLiteral("Rules"),
                                 QStringLiteral("Options")};
        int i = 0;
        for (const char* name : names) {
            ++i;
            SaveSetting(kAppKey, kSettings, QStringLiteral("AcntName%1").arg(i), QString::fromUtf8(name));
            SaveSetting(kAppKey, kSettings, QStringLiteral("AcntServer%1").arg(i),
                        QStringLiteral("pop%1.example").arg(i));
        }
        SaveSetting(kAppKey, kSettings, QStringLiteral("AcntNum"), QString::number(i));
        if (!ruleAccounts.isEmpty()) WriteRules(ruleAccounts);
        form_ = &LaidOutMainWindow();
        form_->Show();
        Click(form_->controls().tbrMainButtons, "Accounts");
        return *form_;
    }

    static void WriteRules(const QStringList& accounts) {
        modRules::gRulesFileName = QStringLiteral("Rules.ini");
        QDir().mkpath(QFileInfo(modRules::RulesFilePath()).absolutePath());
        QFile file(modRules::RulesFilePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        QString text = QStringLiteral("[Rules]\nRuleCount=%1\n").arg(accounts.size());
        for (int r = 1; r <= accounts.size(); ++r)
            text += QStringLiteral("[Rule%1]\nName=R%1\nAccount=%2\nAction=1\n").arg(r).arg(accounts[r - 1]);
        file.write(text.toUtf8());
    }

    // Account a holds count messages whose subjects name the account.
    static void GiveMessages(std::initializer_list<int> counts) {
        int a = 0;
        for (int count : counts) {
            ++a;
            modGeneral::AccountRow(static_cast<int16_t>(a)).Messages.resize(static_cast<size_t>(count));
            gAccounts[a].MsgCount = static_cast<int16_t>(count);
            for (int m = 1; m <= count; ++m) {
                modGeneral::Msg(a, m).Subject = gAccounts[a].Name + QStringLiteral(" #%1").arg(m);
                modGeneral::Msg(a, m).Uid = gAccounts[a].Name + QStringLiteral("-uid%1").arg(m);
            }
        }
    }

    static QString Subject(int a, int m) { return modGeneral::Msg(a, m).Subject; }

    frmMain* form_ = nullptr;
};

TEST_F(AccountsPage, AddThenRenameStoresTheAccountAndFollowsOnBothStrips) {
    frmMain& form = Open({});
    Click(form.controls().tbrAcnts, "AcntAdd");
    EXPECT_EQ(gAccountCount, 1);
    EXPECT_EQ(gCurrentAccount, 1);
    EXPECT_EQ(Captions(form.controls().TabStripEmail), QStringList{"New Account1"});
    EXPECT_EQ(Captions(form.controls().TabStripAcnts), QStringList{"New Account1"});
    EXPECT_EQ(GetSetting(kAppKey, kSettings, "AcntNum"), "1");
    EXPECT_EQ(Stored("AcntPort", 1), "110");
    EXPECT_EQ(form.controls().StatusBar.PanelText(forms::panel::kStatus), "Not Checked");
    EXPECT_EQ(form.controls().txtAcntName.Text(), "New Account1");
    EXPECT_FALSE(form.controls().fraNoAcntsBanner.Visible());
    EXPECT_FALSE(form.controls().tbrButtons(tbrButtons::kSaveAccount).Buttons(1).Enabled());
    // With nothing listed, only the commands on the whole account are usable.
    for (const char* key : {"EmailPreview", "EmailDelete", "EmailReply", "EmailOpen"})
        EXPECT_FALSE(form.controls().tbrEmail.Buttons(QString::fromLatin1(key)).Enabled()) << key;
    for (vb::Menu* entry : {&form.controls().mnuEmailPreview, &form.controls().mnuEmailDelete,
                            &form.controls().mnuEmailReply, &form.controls().mnuEmailOpen})
        EXPECT_FALSE(entry->Enabled()) << entry->Caption().toStdString();
    for (const char* key : {"EmailNew", "EmailCheck"})
        EXPECT_TRUE(form.controls().tbrEmail.Buttons(QString::fromLatin1(key)).Enabled()) << key;

    form.controls().txtAcntName.SetText("Work");
    form.controls().txtAcntServer.SetText("pop.example");
    EXPECT_TRUE(form.controls().tbrButtons(tbrButtons::kSaveAccount).Buttons(1).Enabled());
    EXPECT_TRUE(form.controls().tbrButtons(tbrButtons::kCancelAccount).Buttons(1).Enabled());
    EXPECT_FALSE(form.controls().fraMainButtons.Enabled()) << "no page switch with edits pending";
    EXPECT_FALSE(form.controls().fraAcntToolBar.Enabled());
    Click(form.controls().tbrButtons(tbrButtons::kSaveAccount), "SaveAccount");
    EXPECT_EQ(Stored("AcntName", 1), "Work");
    EXPECT_EQ(Stored("AcntServer", 1), "pop.example");
    EXPECT_EQ(Captions(form.controls().TabStripEmail), QStringList{"Work"});
    EXPECT_EQ(Captions(form.controls().TabStripAcnts), QStringList{"Work"});
    EXPECT_FALSE(form.controls().tbrButtons(tbrButtons::kSaveAccount).Buttons(1).Enabled());
    EXPECT_TRUE(form.controls().fraMainButtons.Enabled());

    Click(form.controls().tbrAcnts, "AcntAdd");
    EXPECT_EQ(Names(), (QStringList{"Work", "New Account1"}));
    EXPECT_EQ(GetSetting(kAppKey, kSettings, "AcntNum"), "2");
}

TEST_F(AccountsPage, RenameTakesTheRulesAlongAndKeepsTheTabCount) {
    frmMain& form = Open({"Home", "Other"}, {"Home", "HOME", "All Accounts"});
    ASSERT_EQ(modRules::gRules.Count, 3);
    GiveMessages({3, 0});
    form.email().FillMessageList(1);
    const QString counted = form.controls().TabStripEmail.TabCaption(1);
    ASSERT_TRUE(counted.startsWith("Home") && counted != "Home") << counted.toStdString();

    form.controls().txtAcntName.SetText("Work");
    Click(form.controls().tbrButtons(tbrButtons::kSaveAccount), "SaveAccount");
    EXPECT_EQ(form.controls().TabStripEmail.TabCaption(1), "Work" + counted.mid(4));
    EXPECT_EQ(gAccounts[1].Result.left(4), "Work");
    EXPECT_EQ(modRules::gRules[1].Account, "Work");
    EXPECT_EQ(modRules::gRules[2].Account, "HOME") << "the rename matches the exact name";
    EXPECT_GE(form.controls().cboRuleAccount.findText("Work"), 1) << "the Rules page offers the new name";
    EXPECT_LT(form.controls().cboRuleAccount.findText("Home"), 0);
    modRules::ReadRulesFile(modRules::RulesFilePath());
    EXPECT_EQ(modRules::gRules[1].Account, "Work") << "the binding survives a restart";
    EXPECT_EQ(modRules::gRules[3].Account, "All Accounts");
}

// Stored before the name rule existed: the account stays editable, and the
// rules bound to its name keep it through every write of the rules file.
TEST_F(AccountsPage, AnAccountNamedWithBlanksAroundIsSavedAndKeepsItsRules) {
    frmMain& form = Open({" Home "}, {"\" Home \""});
    ASSERT_EQ(modRules::gRules[1].Account, " Home ");
    vb::ScriptedMsgBoxes boxes;
    form.controls().txtAcntServer.SetText("mail.example.org");
    Click(form.controls().tbrButtons(tbrButtons::kSaveAccount), "SaveAccount");
    EXPECT_TRUE(boxes.Calls().empty()) << boxes.Calls()[0].title.toStdString();
    EXPECT_EQ(Stored("AcntServer", 1), "mail.example.org");
    EXPECT_EQ(Stored("AcntName", 1), " Home ");

    // The rules are saved from the Rules page and read again at a start.
    Click(form.controls().tbrMainButtons, "Rules");
    form.controls().txtRuleName.SetText("Renamed rule");
    form.controls().txtCriteria.SetText("offer");
    Click(form.controls().tbrRuleUpdate(tbrRuleUpdate::kDescription), "Update");
    Click(form.controls().tbrButtons(tbrButtons::kSaveRules), "SaveRules");
    ASSERT_TRUE(boxes.Calls().empty());
    modRules::ReadRulesFile(modRules::RulesFilePath());
    EXPECT_EQ(modRules::gRules[1].Account, " Home ") << "the binding survives the file";
}

TEST_F(AccountsPage, BadInputGetsItsMessageAndStoresNothing) {
    frmMain& form = Open({"Home", "ärger"});
    struct Row {
        vb::TextBox frmMainDesign::*box;
        const char* text;
        const char* title;  // nullptr: saved as typed
    };
    const Row rows[] = {
        {&frmMainDesign::txtAcntName, "", "Blank Account Name"},
        {&frmMainDesign::txtAcntName, " Home2", "Account Name Not Allowed"},
        {&frmMainDesign::txtAcntName, "ÄRGER", "Duplicate Account Name"},
        {&frmMainDesign::txtAcntName, "a/b\\c", nullptr},
        {&frmMainDesign::txtAcntName, "x=[y]", nullptr},
        {&frmMainDesign::txtAcntName, "Ünïcødé", nullptr},
        {&frmMainDesign::txtAcntPort, "70000", "Invalid Port Number"},
        {&frmMainDesign::txtAcntPort, "995", nullptr},
        {&frmMainDesign::txtAcntServer, "pop .example", "Invalid Server Name"},
        {&frmMainDesign::txtAcntServer, "mail.example.org", nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        form.accounts().DisplayAccount(1);
        const AccountSettings before = gAccounts[1].Saved();
        vb::TextBox& box = form.controls().*row.box;
        box.SetText(QString::fromUtf8(row.text));
        vb::ScriptedMsgBoxes boxes;
        Click(form.controls().tbrButtons(tbrButtons::kSaveAccount), "SaveAccount");
        LoadAccount(1);
        if (row.title) {
            ASSERT_EQ(boxes.Calls().size(), 1u);
            EXPECT_EQ(boxes.Calls()[0].title, QString::fromUtf8(row.title));
            EXPECT_EQ(gAccounts[1].Saved(), before) << "nothing stored";
            EXPECT_TRUE(gAccountChanged) << "the edits stay on the page";
        } else {
            EXPECT_TRUE(boxes.Calls().empty());
            EXPECT_EQ(box.Text(), QString::fromUtf8(row.text));
            const QString stored = row.box == &frmMainDesign::txtAcntName   ? gAccounts[1].Name
                                   : row.box == &frmMainDesign::txtAcntPort ? gAccounts[1].Port
                                                                            : gAccounts[1].Server;
            EXPECT_EQ(stored, QString::fromUtf8(row.text)) << "read back from the store";
        }
    }
}

TEST_F(AccountsPage, DeletingTheMiddleOfThreeShiftsEverythingAfterIt) {
    frmMain& form = Open({"One", "Two", "Three"});
    GiveMessages({1, 2, 3});
    form.controls().TabStripAcnts.Select(2);
    ASSERT_EQ(gCurrentAccount, 2);

    {
        vb::ScriptedMsgBoxes boxes;
        boxes.Answer(vb::vbNo);
        Click(form.controls().tbrAcnts, "AcntDelete");
        ASSERT_EQ(boxes.Calls().size(), 1u);
        EXPECT_EQ(boxes.Calls()[0].title, "Delete Account - Proceed With Caution");
        EXPECT_EQ(boxes.Calls()[0].buttons, vb::vbYesNo + vb::vbCritical + vb::vbDefaultButton2);
        EXPECT_TRUE(boxes.Calls()[0].prompt.contains("Account Name:  'Two'"));
        EXPECT_EQ(gAccountCount, 3) << "No changes nothing";
    }
    vb::ScriptedMsgBoxes boxes;
    boxes.Answer(vb::vbYes);
    Click(form.controls().tbrAcnts, "AcntDelete");
    EXPECT_EQ(Names(), (QStringList{"One", "Three"}));
    EXPECT_EQ(GetSetting(kAppKey, kSettings, "AcntNum"), "2");
    EXPECT_EQ(Stored("AcntName", 2), "Three");
    EXPECT_EQ(Stored("AcntServer", 2), "pop3.example");
    EXPECT_EQ(Stored("AcntName", 3), "<missing>");
    EXPECT_EQ(gAccounts[2].MsgCount, 3);
    EXPECT_EQ(Subject(2, 3), "Three #3") << "the message rows moved with the account";
    EXPECT_EQ(Subject(1, 1), "One #1");
    EXPECT_EQ(form.controls().TabStripAcnts.TabCount(), 2);
    EXPECT_TRUE(form.controls().TabStripAcnts.TabCaption(2).startsWith("Three"));
    EXPECT_TRUE(form.controls().TabStripEmail.TabCaption(2).startsWith("Three"));
    EXPECT_EQ(gCurrentAccount, 2);
    EXPECT_EQ(form.controls().txtAcntName.Text(), "Three");
    EXPECT_EQ(form.controls().lvwEmail.ItemCount(), 3) << "the list shows the account now current";
    EXPECT_EQ(modGeneral::gPrevAccount, 2);
}

TEST_F(AccountsPage, ADeleteTheStoreRefusesLosesNothing) {
    frmMain& form = Open({"One", "Two", "Three"});
    GiveMessages({1, 2, 3});
    form.controls().TabStripAcnts.Select(2);
    platform::store::SetWriteFaultHook(
        [](platform::store::WriteStep) { return std::make_error_code(std::errc::no_space_on_device); });
    vb::ScriptedMsgBoxes boxes;
    boxes.Answer(vb::vbYes);
    Click(form.controls().tbrAcnts, "AcntDelete");
    platform::store::SetWriteFaultHook(nullptr);
    ASSERT_EQ(boxes.Calls().size(), 2u);
    EXPECT_TRUE(boxes.Calls()[1].prompt.contains("nothing was changed"));
    EXPECT_EQ(Names(), (QStringList{"One", "Two", "Three"}));
    EXPECT_EQ(GetSetting(kAppKey, kSettings, "AcntNum"), "3");
    for (int i = 1; i <= 3; ++i) EXPECT_EQ(Stored("AcntName", i), gAccounts[i].Name);
    EXPECT_EQ(Subject(2, 2), "Two #2");
    EXPECT_EQ(form.controls().TabStripAcnts.TabCount(), 3);
    EXPECT_FALSE(modGeneral::gLoading);
}

TEST_F(AccountsPage, DeletingTheLastAccountSwitchesChecksOff) {
    frmMain& form = Open({"Only"});
    vb::ScriptedMsgBoxes boxes;
    boxes.Answer(vb::vbYes);
    Click(form.controls().tbrAcnts, "AcntDelete");
    EXPECT_EQ(gAccountCount, 0);
    EXPECT_EQ(GetSetting(kAppKey, kSettings, "AcntNum"), "0");
    EXPECT_EQ(Stored("AcntName", 1), "<missing>");
    EXPECT_EQ(GetSetting(kAppKey, "Settings\\Options", "UseInterval"), "0");
    EXPECT_EQ(GetSetting(kAppKey, "Settings\\Options", "EmailCheckStartUp"), "0");
    EXPECT_EQ(form.controls().StatusBar.PanelText(forms::panel::kResult), "No Accounts have been created...");
    EXPECT_EQ(form.controls().txtAcntName.Text(), "");
    EXPECT_TRUE(form.controls().fraNoAcntsBanner.Visible());
    EXPECT_EQ(form.controls().TabStripEmail.TabCount(), 0);
}

TEST_F(AccountsPage, MoveButtonsCarryTheAccountWithItsMessages) {
    frmMain& form = Open({"One", "Two", "Three"});
    GiveMessages({1, 2, 3});
    struct Row {
        int from;
        const char* key;
        int to;
        QStringList order;
    };
    const Row rows[] = {
        {1, "Forward", 2, {"Two", "One", "Three"}},
        {3, "Backward", 2, {"Two", "Three", "One"}},
        {2, "Backward", 1, {"Three", "Two", "One"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.key);
        form.controls().TabStripAcnts.Select(row.from);
        ASSERT_EQ(gCurrentAccount, row.from);
        Click(form.controls().tbrMoveButtons(tbrMoveButtons::kAccounts), row.key);
        EXPECT_EQ(Names(), row.order);
        EXPECT_EQ(gCurrentAccount, row.to);
        EXPECT_EQ(form.controls().TabStripAcnts.SelectedItem(), row.to);
        EXPECT_EQ(form.controls().TabStripEmail.SelectedItem(), row.to);
        for (int i = 1; i <= 3; ++i) {
            EXPECT_EQ(Stored("AcntName", i), row.order[i - 1]);
            EXPECT_TRUE(form.controls().TabStripEmail.TabCaption(i).startsWith(row.order[i - 1]));
            EXPECT_TRUE(form.controls().TabStripAcnts.TabCaption(i).startsWith(row.order[i - 1]));
            EXPECT_EQ(Subject(i, gAccounts[i].MsgCount),
                      row.order[i - 1] + QStringLiteral(" #%1").arg(gAccounts[i].MsgCount));
        }
        EXPECT_EQ(form.controls().lvwEmail.ItemCount(), gAccounts[row.to].MsgCount);
    }
    form.controls().TabStripAcnts.Select(1);
    EXPECT_FALSE(form.controls().tbrMoveButtons(tbrMoveButtons::kAccounts).Buttons("Backward").Enabled());
    EXPECT_TRUE(form.controls().tbrMoveButtons(tbrMoveButtons::kAccounts).Buttons("Forward").Enabled());
    form.controls().TabStripAcnts.Select(3);
    EXPECT_TRUE(form.controls().tbrMoveButtons(tbrMoveButtons::kAccounts).Buttons("Backward").Enabled());
    EXPECT_FALSE(form.controls().tbrMoveButtons(tbrMoveButtons::kAccounts).Buttons("Forward").Enabled());
}

TEST_F(AccountsPage, DroppingATabOnAnotherExchangesTheTwoAccounts) {
    frmMain& form = Open({"A", "B", "C", "D"});
    GiveMessages({1, 2, 3, 4});
    for (vb::TabStrip* strip : {&form.controls().TabStripAcnts, &form.controls().TabStripEmail}) {
        SCOPED_TRACE(strip == &form.controls().TabStripAcnts ? "Accounts strip" : "Email strip");
        const QStringList before = Names();
        strip->MouseDown(vb::vbRightButton, 0, Middle(*strip, 3), 10);
        EXPECT_FALSE(form.controls().tmrDragTab.Enabled()) << "the right button arms nothing";
        strip->MouseDown(vb::vbLeftButton, 0, Middle(*strip, 3), 10);
        EXPECT_EQ(gCurrentAccount, 3);
        strip->MouseUp(vb::vbLeftButton, 0, Middle(*strip, 3), 10);
        EXPECT_FALSE(form.controls().tmrDragTab.Enabled()) << "released before the tick: no drag";

        strip->MouseDown(vb::vbLeftButton, 0, Middle(*strip, 1), 10);
        ASSERT_TRUE(form.controls().tmrDragTab.Enabled());
        form.controls().tmrDragTab.Tick();
        EXPECT_FALSE(form.controls().tmrDragTab.Enabled());
        strip->DragDrop(strip, Middle(*strip, 1), 10);
        EXPECT_EQ(Names(), before) << "a drop on the current tab changes nothing";
        strip->DragDrop(strip, Middle(*strip, 4), 400);
        EXPECT_EQ(Names(), (QStringList{before[3], before[1], before[2], before[0]}));
        EXPECT_EQ(gCurrentAccount, 4);
        EXPECT_EQ(strip->SelectedItem(), 4);
        EXPECT_EQ(Subject(4, 1), before[0] + " #1");
        EXPECT_EQ(Stored("AcntName", 4), before[0]);
        strip->DragDrop(strip, strip->TabLeft(4) + strip->TabWidth(4) + 200, 10);
        EXPECT_EQ(gCurrentAccount, 4) << "right of the last tab nothing happens";
    }
    EXPECT_EQ(::AccountsPage::TabFromX(form.controls().TabStripAcnts, 0), 1);
    EXPECT_EQ(::AccountsPage::TabFromX(form.controls().TabStripAcnts, -50), 1);
}

TEST_F(AccountsPage, LeavingAnEditedAccountAsksAndFollowsTheAnswer) {
    struct Row {
        int answer;
        const char* typed;
        int16_t current;
        const char* stored;
        const char* shown;
    };
    const Row rows[] = {{vb::vbYes, "Changed", 2, "Changed", "Two"},
                        {vb::vbNo, "Changed", 1, "One", "Changed"},
                        {vb::vbCancel, "Changed", 2, "One", "Two"},
                        {vb::vbYes, "two", 1, "One", "two"}};  // a refused save keeps the edits
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.answer) + row.typed);
        frmMain& form = Open({"One", "Two"});
        form.controls().txtAcntName.SetText(row.typed);
        vb::ScriptedMsgBoxes boxes;
        boxes.Answer(row.answer);
        form.controls().TabStripAcnts.MouseDown(vb::vbLeftButton, 0, Middle(form.controls().TabStripAcnts, 2),
                                                10);
        EXPECT_FALSE(form.controls().tmrDragTab.Enabled()) << "no drag while edits are pending";
        form.controls().TabStripAcnts.Select(2);
        ASSERT_GE(boxes.Calls().size(), 1u);
        EXPECT_EQ(boxes.Calls().size(), row.current == 1 && row.answer == vb::vbYes ? 2u : 1u);
        EXPECT_EQ(boxes.Calls()[0].title, "Changes Not Saved!");
        EXPECT_EQ(boxes.Calls()[0].buttons, vb::vbYesNoCancel + vb::vbCritical);
        EXPECT_TRUE(boxes.Calls()[0].prompt.contains("Account Name: 'One'"));
        EXPECT_EQ(gCurrentAccount, row.current);
        EXPECT_EQ(form.controls().TabStripAcnts.SelectedItem(), row.current);
        EXPECT_EQ(Stored("AcntName", 1), row.stored);
        EXPECT_EQ(form.controls().txtAcntName.Text(), row.shown);
        EXPECT_EQ(gAccountChanged, row.current == 1);
        EXPECT_FALSE(modGeneral::gLoading);
        form_->mQuitting = true;
        vb::Forms::Unload<frmMain>();
        SaveSetting(kAppKey, kSettings, "AcntName1", "One");
    }
}

TEST_F(AccountsPage, ADefaultSoundInForceLeavesTheAccountsOwnSoundValid) {
    const QString folder = QDir::homePath();
    const QString own = folder + "/own.wav", fallback = folder + "/default.wav";
    for (const QString& path : {own, fallback}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    SaveSetting(kAppKey, kSettings, "AcntSound1", own);
    SaveSetting(kAppKey, "Settings\\Options", "DefaultSound", fallback);
    frmMain& form = Open({"Home", "Work"});
    ASSERT_TRUE(modOptions::gDefaultSoundValid);
    EXPECT_EQ(form.controls().txtAcntSound.Text(), "Using Default Sound File");
    EXPECT_FALSE(form.controls().txtAcntSound.Enabled());
    EXPECT_EQ(form.controls().lblSoundName.Caption(), "default.wav");
    EXPECT_TRUE(form.controls().lblAcntPlaySound.Visible());
    EXPECT_FALSE(form.controls().chkAcntSoundOn.Visible());
    EXPECT_TRUE(gAccounts[1].SoundValid) << "the marker text says nothing of the account's own sound";
    EXPECT_FALSE(gAccountChanged);
    form.controls().TabStripAcnts.Select(2);
    form.controls().TabStripAcnts.Select(1);
    EXPECT_TRUE(gAccounts[1].SoundValid);
    EXPECT_FALSE(gAccounts[2].SoundValid);
}

TEST_F(AccountsPage, ATestThatCannotConnectShowsTheFailureAndGivesThePageBack) {
    SaveSetting(kAppKey, kSettings, "AcntPort1", "1");  // nothing listens on port 1
    frmMain& form = Open({"Home"});
    gAccounts[1].Server = QStringLiteral("127.0.0.1");
    vb::ScriptedMsgBoxes boxes;
    Click(form.controls().tbrAcnts, "AcntTest");
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_TRUE(boxes.Calls()[0].title.endsWith("Test Connection Failure"))
        << boxes.Calls()[0].title.toStdString();
    EXPECT_FALSE(form.checks().Record().TestingAccount);
    EXPECT_TRUE(form.controls().fraMain(fraMain::kAccounts).Visible()) << "the Accounts page stays in front";
    EXPECT_TRUE(form.controls().fraMainButtons.Enabled());
    EXPECT_TRUE(form.controls().TabStripAcnts.Enabled());
    EXPECT_EQ(form.controls().StatusBar.PanelText(forms::panel::kStatus), gAccounts[1].Status);
}

TEST_F(AccountsPage, EditsCountOnlyWhileTheyDifferFromTheSavedAccount) {
    frmMain& form = Open({"Home"});
    vb::ToolButton& save = form.controls().tbrButtons(tbrButtons::kSaveAccount).Buttons(1);
    form.controls().txtAcntName.SetText("Home2");
    EXPECT_TRUE(save.Enabled());
    form.controls().txtAcntName.SetText("Home");
    EXPECT_FALSE(save.Enabled()) << "undone by hand";
    form.controls().txtAcntServer.SetText("POP1.example");
    EXPECT_TRUE(save.Enabled()) << "a change of case counts";
    Click(form.controls().tbrButtons(tbrButtons::kCancelAccount), "Cancel");
    EXPECT_EQ(form.controls().txtAcntServer.Text(), "pop1.example");
    EXPECT_FALSE(save.Enabled());

    Click(form.controls().tbrColour, "Browse");
    EXPECT_TRUE(form.controls().fraColourBox.Visible());
    form.controls().lblColourBox(3).Click();
    EXPECT_FALSE(form.controls().fraColourBox.Visible());
    EXPECT_TRUE(save.Enabled());
    EXPECT_EQ(gAccounts[1].Edit.ColourIndex, 3);
    form.controls().lblColourBox(5).Click();  // the saved colour again
    EXPECT_FALSE(save.Enabled());
}

}  // namespace
