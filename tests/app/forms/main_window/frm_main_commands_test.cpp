// The main window's tool bars reach their commands by key, the page switch
// shows one page with its banner, and retrieval mode locks the window.
#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "app/accounts/account_operations.h"
#include "app/accounts/account_table.h"
#include "app/common/app_settings.h"
#include "app/general/check_status.h"
#include "app/options/option_values.h"
#include "app/rules/rules_editor.h"
#include "tests/app/forms/laid_out_main_window.h"

using namespace frmMainElements;  // tbrClient(tbrClient::kAccount)

using namespace modGeneral;

namespace {

void Click(vb::ToolBar& bar, const char* key) { bar.Buttons(QString::fromLatin1(key)).QtButton().click(); }

int VisiblePage(frmMain& form) {
    int shown = -1;
    for (int i = 0; i <= 3; ++i)
        if (form.controls().fraMain(i).Visible()) {
            EXPECT_EQ(shown, -1) << "two pages shown";
            shown = i;
        }
    return shown;
}

class FrmMainCommands : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        const int accounts = GetParam();
        gPaneName = {QStringLiteral("Email"), QStringLiteral("Accounts"), QStringLiteral("Rules"),
                     QStringLiteral("Options")};
        SaveSetting(kAppKey, QStringLiteral("Settings"), QStringLiteral("AcntNum"),
                    QString::number(accounts));
        for (int i = 1; i <= accounts; ++i)
            SaveSetting(kAppKey, QStringLiteral("Settings"), QStringLiteral("AcntName") + QString::number(i),
                        QStringLiteral("Acnt%1").arg(i));
        form_ = &LaidOutMainWindow();
        form_->Show();
    }
    void TearDown() override {
        form_->mQuitting = true;
        vb::Forms::Unload<frmMain>();
    }
    frmMain* form_ = nullptr;
};

TEST_P(FrmMainCommands, PageButtonsShowOnePageWithItsBanner) {
    frmMain& form = *form_;
    const bool noAccounts = GetParam() == 0;
    struct Row {
        const char* key;
        int page;
    };
    for (const Row& row :
         {Row{"Accounts", 1}, Row{"Rules", 2}, Row{"Options", 3}, Row{"Email", 0}, Row{"Options", 3}}) {
        SCOPED_TRACE(row.key);
        Click(form.controls().tbrMainButtons, row.key);
        EXPECT_EQ(gCurrentPane, row.page);
        EXPECT_EQ(VisiblePage(form), row.page);
        EXPECT_EQ(form.controls().lblBanner.Caption(), gPaneName[row.page]);
        EXPECT_EQ(form.controls().fraNoAcntsBanner.Visible(), noAccounts && row.page < 3);
    }
}

TEST_P(FrmMainCommands, RetrievalModeShowsTheEmailPageAndGivesTheUsersPageBack) {
    frmMain& form = *form_;
    Click(form.controls().tbrMainButtons, "Options");
    for (bool showStop : {true, false}) {
        SCOPED_TRACE(showStop);
        form.SetRetrievalMode(false, showStop);
        EXPECT_EQ(VisiblePage(form), 0);
        EXPECT_EQ(form.controls().lblBanner.Caption(), QStringLiteral("Email"));
        EXPECT_EQ(gCurrentPane, 3) << "the user's page is kept";
        EXPECT_EQ(form.controls().tbrButtons(tbrButtons::kStopRetrieval).Visible(), showStop);
        EXPECT_EQ(form.controls().tbrButtons(tbrButtons::kStopRetrieval).Buttons(1).Caption(),
                  QStringLiteral("Stop Retrieval      "));
        EXPECT_FALSE(form.controls().fraMainButtons.Enabled());
        EXPECT_FALSE(form.controls().TabStripEmail.Enabled());
        EXPECT_FALSE(form.controls().mnuTrayCheckAll.Enabled());
        EXPECT_FALSE(form.controls().tbrButtons(tbrButtons::kPauseStartUp).Visible());

        form.SetRetrievalMode(true, showStop);
        EXPECT_EQ(VisiblePage(form), 3);
        EXPECT_EQ(form.controls().lblBanner.Caption(), QStringLiteral("Options"));
        EXPECT_FALSE(form.controls().tbrButtons(tbrButtons::kStopRetrieval).Visible());
        EXPECT_TRUE(form.controls().fraMainButtons.Enabled());
        EXPECT_TRUE(form.controls().tbrButtons(tbrButtons::kCheckAll).Enabled());
    }
}

TEST_P(FrmMainCommands, ThePageBarStaysLockedWhilePageEditsArePendingEvenAfterAnOperation) {
    frmMain& form = *form_;
    struct Row {
        const char* edits;
        bool* flag;
    };
    for (const Row& row :
         {Row{"account", &modAccounts::gAccountChanged}, Row{"rules", &modRules::gRulesChanged},
          Row{"options", &modOptions::gOptionsChanged}}) {
        SCOPED_TRACE(row.edits);
        *row.flag = true;
        form.UpdatePageBar();
        EXPECT_FALSE(form.controls().fraMainButtons.Enabled());
        form.SetRetrievalMode(false, true);
        form.SetRetrievalMode(true, true);
        EXPECT_FALSE(form.controls().fraMainButtons.Enabled())
            << "an operation unlocked the page with unsaved edits";
        *row.flag = false;
        form.UpdatePageBar();
        EXPECT_TRUE(form.controls().fraMainButtons.Enabled());
    }
}

TEST_P(FrmMainCommands, EveryButtonOfEveryToolBarHasItsCommand) {
    frmMain& form = *form_;
    std::set<std::tuple<QString, int, QString>> registered;
    for (const auto& slot : form.tray().Commands().Slots())
        registered.insert({slot.toolBar, slot.index, slot.key});
    int buttons = 0;
    const auto check = [&](vb::ToolBar& bar, const QString& name, int index) {
        for (int b = 1; b <= bar.ButtonCount(); ++b) {
            const QString key = bar.Buttons(b).Key().toLower();
            ++buttons;
            EXPECT_TRUE(registered.count({name, index, key}) || registered.count({name, -1, key}))
                << name.toStdString() << "(" << index << ") " << key.toStdString();
        }
    };
    for (const auto& [bar, name] : {std::pair{&form.controls().tbrMainButtons, "tbrMainButtons"},
                                    {&form.controls().tbrEmail, "tbrEmail"},
                                    {&form.controls().tbrAcnts, "tbrAcnts"},
                                    {&form.controls().tbrRules, "tbrRules"},
                                    {&form.controls().tbrColour, "tbrColour"}})
        check(*bar, QString::fromLatin1(name), -1);
    for (const auto& [array, name] : {std::pair{&form.controls().tbrButtons, "tbrButtons"},
                                      {&form.controls().tbrMoveButtons, "tbrMoveButtons"},
                                      {&form.controls().tbrRuleUpdate, "tbrRuleUpdate"},
                                      {&form.controls().tbrClient, "tbrClient"},
                                      {&form.controls().tbrSound, "tbrSound"},
                                      {&form.controls().tbrOptMisc, "tbrOptMisc"},
                                      {&form.controls().tbrOptAbout, "tbrOptAbout"}})
        for (int i = array->LBound(); i <= array->UBound(); ++i)
            if (array->Exists(i)) check((*array)(i), QString::fromLatin1(name), i);
    EXPECT_GT(buttons, 50);
}

INSTANTIATE_TEST_SUITE_P(Accounts, FrmMainCommands, ::testing::Values(0, 2));

TEST(CommandKeys, ElementCommandsWinOverTheArraysAndKeysIgnoreCase) {
    forms::CommandKeys keys;
    std::vector<int> ran;
    keys.Add(u"tbrButtons", u"Help", [&](int16_t index) { ran.push_back(index); });
    keys.Add(u"tbrButtons", 11, u"Help", [&](int16_t) { ran.push_back(-11); });
    EXPECT_TRUE(keys.Run(u"tbrButtons", 5, u"HELP"));
    EXPECT_TRUE(keys.Run(u"tbrButtons", 11, u"help"));
    EXPECT_FALSE(keys.Run(u"tbrButtons", 5, u"Close"));
    EXPECT_FALSE(keys.Run(u"tbrEmail", 0, u"Help"));
    EXPECT_EQ(ran, (std::vector<int>{5, -11}));
    EXPECT_THROW(keys.Add(u"tbrButtons", 11, u"HELP", [](int16_t) {}), std::logic_error);
}

}  // namespace
