#include "app/forms/rule_report/frm_rule_report.h"

#include <algorithm>
#include <exception>

#include "app/accounts/account_table.h"
#include "app/forms/checks/operation_scope.h"
#include "app/forms/common/account_tabs.h"
#include "app/forms/common/child_tool_bar_style.h"
#include "app/forms/common/child_windows.h"
#include "app/forms/common/pictures.h"
#include "app/general/check_status.h"
#include "app/options/option_values.h"
#include "app/rules/rule_set.h"
#include "platform/ui/forms.h"
#include "platform/ui/msg_box.h"
#include "platform/ui/twips.h"

namespace {

const QString kDeleteTab = QStringLiteral("Delete from Server");
const QString kSpamTab = QStringLiteral("Mark as Spam");
constexpr int kMargin = 180;
constexpr int kGap = 60;
constexpr int kPictureSize = 480;

// tbrRuleReport(bar::kExit): each bar holds one button; the description
// names the bars.
namespace bar = frmRuleReportElements::tbrRuleReport;

vb::ToolButton& Button(vb::ControlArray<vb::ToolBar>& bars, int16_t index) { return bars(index).Buttons(1); }

// The pop-up of new mail leaves the topmost band while the report is open.
void SetMessageWindowTopmost(bool on) {
    if (vb::Form* message = forms::gMessageWindow.Get()) message->SetTopmost(on);
}

// The account the main window showed before a deletion went through the
// accounts is shown again afterwards.
class ShownAccountKept {
public:
    explicit ShownAccountKept(forms::MainWindowLink& main)
        : main_(main), account_(modAccounts::gCurrentAccount) {}
    ~ShownAccountKept() {
        forms::MakeAccountCurrent(account_);
        if (account_ >= 1 && account_ <= modAccounts::gAccountCount) main_.ShowEmailTab(account_);
    }
    ShownAccountKept(const ShownAccountKept&) = delete;
    ShownAccountKept& operator=(const ShownAccountKept&) = delete;

private:
    forms::MainWindowLink& main_;
    const int16_t account_;
};

}  // namespace

frmRuleReport::frmRuleReport(forms::MainWindowLink* main) : frmRuleReportDesign(this), main_(main) {
    forms::FillImageList(imlRuleReportIcons, forms::PictureSet::RuleReport);
    forms::FillImageList(imlRuleReportIconsDisabled, forms::PictureSet::RuleReport, 16, true);
    TabStripRuleReport.SetImageList(&imlRuleReportIcons);
    imgRuleDelete.SetPicture(forms::Picture(QStringLiteral("RuleDelete"), 32));
    imgRuleSpam.SetPicture(forms::Picture(QStringLiteral("RuleSpam"), 32));
    tbrRuleReport.ForEach([](int, vb::ToolBar& toolBar) { toolBar.Buttons(1).RefreshImage(); });
    tmrRuleReport.Tick = [this] { tmrRuleReport_Timer(); };
    TabStripRuleReport.Click = [this] { TabStripRuleReport_Click(); };
    tbrRuleReport.Wire(&vb::ToolBar::ButtonClick,
                       [this](int, vb::ToolButton& button) { tbrRuleReport_ButtonClick(button); });
}

void frmRuleReport::Form_Load() {
    shownWindow_ = forms::gRuleReportWindow.Register(*this);
    checksPaused_.emplace(main_.data(), forms::PausedChecks::Automatic);
    SetMessageWindowTopmost(false);

    // The accounts of the run that opened it, whatever runs later.
    accounts_ = modRules::gRuleReportAccounts;
    deletions_ = modRules::BuildRuleReportList(modRules::RuleMark::Delete, accounts_);
    spam_ = modRules::BuildRuleReportList(modRules::RuleMark::Spam, accounts_);
    TabStripRuleReport.ClearTabs();
    TabStripRuleReport.AddTab(kDeleteTab);
    TabStripRuleReport.SetTabImage(1, 1);
    TabStripRuleReport.AddTab(kSpamTab);
    TabStripRuleReport.SetTabImage(2, 2);
    lblRuleDelete.SetCaption(deletions_.text);
    lblRuleSpam.SetCaption(spam_.text);

    SetCaption(modGeneral::gAppName + QStringLiteral(" - Rule Report Notification"));
    lblRuleReport.SetCaption(QStringLiteral("Your Rules indicate the following Account(s)") +
                             QStringLiteral(" have messages that match your criteria."));
    tbrRuleReport.ForEach([](int, vb::ToolBar& toolBar) {
        toolBar.SetStyle(forms::ChildToolBarStyle(modOptions::gOpt.ButtonStyle, modOptions::gOpt.ApplyStyle,
                                                  toolBar.Style()));
    });
    FitLists(modRules::RuleReportListLines(deletions_, spam_));
    Move((vb::ScreenWidth() - Width()) / 2, (vb::ScreenHeight() - Height()) / 2);

    // It opens on a tab that lists messages: the spam tab when only spam was marked.
    const int tab = deletions_.accounts == 0 && spam_.accounts > 0 ? 2 : 1;
    TabStripRuleReport.Select(tab);
    TabStripRuleReport_Click();  // selecting the tab already selected runs no handler
    countdown_ = modRules::RuleReportCountdown(modRules::gRules.Time);
    Button(tbrRuleReport, bar::kTimer).SetTag(QStringLiteral("On"));
    tmrRuleReport.SetEnabled(true);
    lblRuleReportCountDown.SetCaption(QString::number(countdown_.SecondsLeft()));
}

void frmRuleReport::FitLists(int lines) {
    const int width = ScaleWidth();
    const int inner = width - 2 * 120;
    lblRuleReport.Move(kMargin, 120, width - 2 * kMargin, -1);
    lblRuleReport.SetHeight(vb::PixelsToTwipsY(lblRuleReport.heightForWidth(lblRuleReport.width())));

    const int listTop = TabStripRuleReport.ClientTop() + kMargin;
    const int listHeight = lines * TextHeight(QStringLiteral("A"));
    for (vb::Label* list : {&lblRuleDelete, &lblRuleSpam})
        list->Move(kMargin + kPictureSize + kMargin, listTop, inner - 3 * kMargin - kPictureSize, listHeight);
    for (vb::PictureBox* picture : {&imgRuleDelete, &imgRuleSpam})
        picture->Move(kMargin, listTop, kPictureSize, kPictureSize);
    const int mainHeight = listTop + std::max(listHeight, kPictureSize) + kMargin;
    fraRuleMain.Move(120, lblRuleReport.Top() + lblRuleReport.Height() + kGap, inner, mainHeight);
    TabStripRuleReport.Move(0, 0, inner, mainHeight);

    // The buttons from the right edge, the countdown left of them.
    int right = inner;
    int barHeight = 0;
    for (const int16_t index : {bar::kExit, bar::kDeleteNow, bar::kTimer}) {
        vb::ToolBar& toolBar = tbrRuleReport(index);
        toolBar.Move(right - toolBar.ButtonWidth(), kGap, toolBar.ButtonWidth(), toolBar.ButtonHeight());
        right = toolBar.Left() - kGap;
        barHeight = std::max(barHeight, toolBar.ButtonHeight());
    }
    const int countHeight = TextHeight(QStringLiteral("0"));
    lblRuleReportCountDown.Move(0, kGap + (barHeight - countHeight) / 2, right - kGap, countHeight);
    fraRuleReport.Move(120, fraRuleMain.Top() + mainHeight + kGap, inner, barHeight + 2 * kGap);
    SetClientSize(width, fraRuleReport.Top() + fraRuleReport.Height() + 120);
}

void frmRuleReport::Form_Activate() { SetTopmost(true); }

void frmRuleReport::tmrRuleReport_Timer() {
    if (countdown_.Tick())
        lblRuleReportCountDown.SetCaption(QString::number(countdown_.SecondsLeft()));
    else
        Unload();
}

void frmRuleReport::TabStripRuleReport_Click() {
    const int tab = TabStripRuleReport.SelectedItem();
    const QString caption = TabStripRuleReport.TabCaption(tab);
    if (caption != kDeleteTab && caption != kSpamTab) return;
    selectedTab_ = caption;
    const bool deletions = caption == kDeleteTab;
    lblRuleDelete.SetVisible(deletions);
    imgRuleDelete.SetVisible(deletions);
    lblRuleSpam.SetVisible(!deletions);
    imgRuleSpam.SetVisible(!deletions);
    Button(tbrRuleReport, bar::kDeleteNow).SetEnabled((deletions ? deletions_ : spam_).accounts >= 1);
}

void frmRuleReport::tbrRuleReport_ButtonClick(vb::ToolButton& button) {
    const QString key = button.Key();
    if (key == QLatin1String("Timer"))
        ToggleTimer();
    else if (key == QLatin1String("DeleteNow"))
        DeleteNow();
    else if (key == QLatin1String("Exit"))
        Unload();
}

void frmRuleReport::ToggleTimer() {
    vb::ToolButton& button = Button(tbrRuleReport, bar::kTimer);
    const bool running = button.Tag() == QLatin1String("On");
    tmrRuleReport.SetEnabled(!running);
    button.SetTag(running ? QStringLiteral("Off") : QStringLiteral("On"));
    button.SetCaption(running ? QStringLiteral("Start Timer  ") : QStringLiteral("Stop Timer   "));
}

void frmRuleReport::DeleteNow() {
    // This deletion goes on between two accounts: the click does nothing. A
    // check or another deletion talking to a server is named to the user.
    if (deleting_ || !main_) return;
    if (main_->DeletionRefusedWhileBusy()) return;
    const bool spam = selectedTab_ == kSpamTab;
    if (!spam && selectedTab_ != kDeleteTab) return;
    const modRules::RuleMark mark = spam ? modRules::RuleMark::Spam : modRules::RuleMark::Delete;

    // The deletions wait for the servers while events run: the countdown
    // and a close wait for them.
    deleting_ = true;
    tmrRuleReport.SetEnabled(false);
    QStringList left;
    if (!DeleteMarked(*main_, mark, left)) ShowDeletionFailure();
    if (!left.isEmpty()) {
        // The box comes above the report, which stays above other windows.
        SetTopmost(false);
        vb::MsgBox(modRules::LeftOnServerPrompt(left), vb::vbExclamation,
                   modGeneral::gAppName + QStringLiteral(" - Messages Not Deleted"));
        SetTopmost(true);
    }
    modRules::RuleReportList& list = spam ? spam_ : deletions_;
    list = modRules::BuildRuleReportList(mark, accounts_);
    (spam ? lblRuleSpam : lblRuleDelete).SetCaption(list.text);
    Button(tbrRuleReport, bar::kDeleteNow).SetEnabled(list.accounts >= 1);
    deleting_ = false;
    tmrRuleReport.SetEnabled(Button(tbrRuleReport, bar::kTimer).Tag() == QLatin1String("On"));
}

bool frmRuleReport::DeleteMarked(forms::MainWindowLink& main, modRules::RuleMark mark, QStringList& left) {
    bool failed = false;
    // One server operation for every account: no check starts between two.
    main.RunServerOperation("deleting the messages the rules marked", [&](forms::OperationScope& operation) {
        failed = !DeleteMarkedIn(operation, main, mark, left);
    });
    return !failed;
}

bool frmRuleReport::DeleteMarkedIn(forms::OperationScope& operation, forms::MainWindowLink& main,
                                   modRules::RuleMark mark, QStringList& left) {
    using modRules::LeftOnServer;
    const bool spam = mark == modRules::RuleMark::Spam;
    int16_t modAccounts::Account::*const count =
        spam ? &modAccounts::Account::SpamCount : &modAccounts::Account::DeleteCount;
    try {
        operation.PauseChecks();
        operation.EnterRetrieval(false);
        const ShownAccountKept shown(main);
        const std::vector<uint64_t>& listed = (spam ? spam_ : deletions_).listed;
        // The accounts are followed by their Ids through renames and moves;
        // one deleted or switched off since the check is left alone, and the
        // user told so.
        for (const modRules::ReportedAccount& account : accounts_) {
            const int16_t i = modRules::ReportedAccountIndex(account);
            if (i == 0) {
                if (std::find(listed.begin(), listed.end(), account.id) != listed.end())
                    left << modRules::LeftOnServerLine(LeftOnServer::AccountGone, account.name, 0);
                continue;
            }
            const modAccounts::Account& acnt = modAccounts::gAccounts[i];
            if (acnt.*count <= 0) continue;
            if (acnt.Enabled != 1) {
                left << modRules::LeftOnServerLine(LeftOnServer::SwitchedOff, acnt.Name, acnt.*count);
                continue;
            }
            main.ShowEmailTab(i);
            // Exactly the marked messages, whatever the user selected in the
            // list; what a refused or failed deletion left stays marked.
            int withoutUid = 0;
            const QStringList uids = modRules::MarkedMessageUids(i, mark, &withoutUid);
            if (!uids.isEmpty()) main.DeleteMessages(operation, i, uids, spam);
            if (withoutUid > 0)
                left << modRules::LeftOnServerLine(LeftOnServer::NoIdentifier, modAccounts::gAccounts[i].Name,
                                                   withoutUid);
        }
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

void frmRuleReport::ShowDeletionFailure() {
    SetTopmost(false);
    ZOrder(1);
    if (vb::Form* message = forms::gMessageWindow.Get()) message->Unload();
    const QString crlf = QStringLiteral("\r\n");
    vb::MsgBox(QStringLiteral("There was an unknown error during Deletion.          ") + crlf + crlf +
                   QStringLiteral("Perhaps the connection was disabled.") + crlf + crlf +
                   QStringLiteral("You should check your messages carefully") + crlf +
                   QStringLiteral("since some messages may have been deleted") + crlf +
                   QStringLiteral("and some may not have been deleted.") + crlf,
               vb::vbCritical, modGeneral::gAppName + QStringLiteral(" - Unknown Error"));
    SetTopmost(true);
}

void frmRuleReport::Form_QueryUnload(int& Cancel, int UnloadMode) {
    (void)UnloadMode;
    if (deleting_) Cancel = 1;
}

void frmRuleReport::Form_Unload(int& Cancel) {
    (void)Cancel;
    tmrRuleReport.SetEnabled(false);
    shownWindow_.Reset();
    checksPaused_.reset();
    SetMessageWindowTopmost(true);
}
