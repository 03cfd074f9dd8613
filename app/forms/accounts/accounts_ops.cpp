// The account operations on the main window: add, save, delete and move keep
// the account table, the settings store, the message store, the rules' account
// names and both tab strips describing the same accounts in the same order.
#include <QDateTime>
#include <algorithm>

#include "app/accounts/account_operations.h"
#include "app/accounts/account_table.h"
#include "app/common/date_text.h"
#include "app/common/flag_scope.h"
#include "app/forms/accounts/accounts_page.h"
#include "app/forms/common/account_tabs.h"
#include "app/forms/common/pictures.h"
#include "app/forms/email/message_list_refresh.h"
#include "app/forms/main_window/frm_main_design.h"
#include "app/forms/main_window/window_slots.h"
#include "app/forms/rules/rules_follow_accounts.h"
#include "app/forms/tray/tray_status.h"
#include "app/general/check_status.h"
#include "app/general/message_store.h"
#include "app/general/server_operation.h"
#include "app/options/option_values.h"
#include "app/options/options_edit.h"
#include "app/rules/rule_set.h"
#include "platform/desktop/program_file.h"
#include "platform/ui/msg_box.h"

using namespace modAccounts;

namespace {

QString ClientKey(int16_t account) { return QStringLiteral("MailClient") + QString::number(account); }

}  // namespace

void AccountsPage::AddAccount() {
    // The account table stays as a running server operation found it: it
    // reads accounts by their place.
    if (modGeneral::ServerOperation::Running()) return;
    {
        const FlagScope loading(modGeneral::gLoading);
        const QString name = NewAccountName();
        if (!AppendAccount(name)) {
            ShowAccountMessage(StoreFailureMessage(modGeneral::gAppName));
            return;
        }
        const int16_t n = gAccountCount;
        modGeneral::ResizeMessageStoreAccounts(n);
        forms::MakeAccountCurrent(n);
        window_.SetCaption(modGeneral::gAppName);
        host_.EnableMainControls();
        c_.TabStripEmail.AddTab(name, QStringLiteral("MailNo"), n);
        c_.TabStripAcnts.AddTab(name, QStringLiteral("MailNo"), n);
        c_.TabStripAcnts.Select(n);
        DisplayAccount(n);
        gAccounts[n].Result = name;
        gAccounts[n].Status = QStringLiteral("Not Checked");
        gAccounts[n].CheckTime = FormatDate(QDateTime::currentDateTime(), "h:mm:ss AM/PM");
        c_.StatusBar.SetPanelText(forms::panel::kResult, gAccounts[n].Result);
        c_.StatusBar.SetPanelText(forms::panel::kStatus, gAccounts[n].Status);
        rules_.FillRuleAccountList(gAccountCount);
    }
    c_.txtAcntName.SetFocus();
}

bool AccountsPage::SaveAccount() {
    const int16_t c = gCurrentAccount;
    if (c < 1 || c > gAccountCount || modGeneral::ServerOperation::Running()) return false;
    const AccountSettings& edit = gAccounts[c].Edit;
    if (const auto problem = AccountNameProblem(edit.Name, c)) {
        ShowAccountMessage(*problem);
        c_.txtAcntName.SetFocus();
        return false;
    }
    if (const auto problem = ServerProblem(edit.Server, edit.Port)) {
        ShowAccountMessage(*problem);
        (problem->title.contains(QStringLiteral("Port")) ? c_.txtAcntPort : c_.txtAcntServer).SetFocus();
        return false;
    }
    const AccountSettings before = gAccounts[c].Saved();
    AccountSettings committed = edit;
    // While a default is in force the page shows it, not the account's own.
    if (modOptions::gDefaultClientValid) committed.Client = before.Client;
    if (modOptions::gDefaultSoundValid) {
        committed.Sound = before.Sound;
        committed.SoundOn = before.SoundOn;
    }
    gAccounts[c].Saved() = committed;
    if (!WriteAccount(c)) {
        gAccounts[c].Saved() = before;
        ShowAccountMessage(StoreFailureMessage(modGeneral::gAppName));
        return false;
    }
    const QString& name = gAccounts[c].Name;
    if (name != before.Name && !modRules::RenameRuleAccount(before.Name, name))
        vb::MsgBox(
            QStringLiteral("The rules file could not be written. The rules follow the new Account Name '") +
                name + QStringLiteral("' until ") + modGeneral::gAppName + QStringLiteral(" ends."),
            vb::vbExclamation, modGeneral::gAppName + QStringLiteral(" - Rules"));

    if (!modOptions::gDefaultClientValid) {
        gAccounts[c].ClientValid = platform::desktop::IsUsableProgram(gAccounts[c].Client);
        if (gAccounts[c].ClientValid) host_.LoadMailClientIcon(gAccounts[c].Client, c);
        host_.SetMailClientButton(gAccounts[c].ClientValid ? c : -1);
    }
    gAccounts[c].SoundValid = modOptions::IsUsableSound(gAccounts[c].Sound);
    for (vb::TabStrip* strip : {&c_.TabStripEmail, &c_.TabStripAcnts})
        strip->SetTabCaption(c, RenamedAccountText(strip->TabCaption(c), before.Name, name));
    gAccounts[c].Result = RenamedAccountText(gAccounts[c].Result, before.Name, name);
    c_.StatusBar.SetPanelText(forms::panel::kResult, gAccounts[c].Result);
    list_.SetAccountTabIcon(c);
    rules_.FillRuleAccountList(gAccountCount);
    CheckAccountChanged();
    c_.TabStripAcnts.Select(c);
    return true;
}

void AccountsPage::DeleteAccount() {
    const int16_t d = gCurrentAccount;
    if (d < 1 || d > gAccountCount || modGeneral::ServerOperation::Running()) return;
    // "No" is the default answer of an action that cannot be undone.
    if (ShowAccountMessage(DeleteAccountQuestion(gAccounts[d].Name), vb::vbYesNo + vb::vbDefaultButton2) !=
        vb::vbYes)
        return;
    {
        const FlagScope loading(modGeneral::gLoading);
        const int16_t last = gAccountCount;
        if (!StoreRemoval(d)) {
            ShowAccountMessage(StoreFailureMessage(modGeneral::gAppName));
            return;
        }
        modGeneral::RemoveAccountRows(d);
        RemoveAccountSlot(d);
        c_.TabStripEmail.RemoveTab(d);
        c_.TabStripAcnts.RemoveTab(d);
        for (vb::ImageList* pictures : {&c_.imlPopMenu, &c_.imlClientButtons})
            if (pictures->Exists(ClientKey(last))) pictures->Remove(ClientKey(last));
        ReloadClientPictures(d, gAccountCount);

        forms::ChooseAccountTab(c_.TabStripAcnts, std::min(d, gAccountCount));
        if (gAccountCount >= 1) {
            DisplayAccount(gCurrentAccount);
            RefillCurrentList();
        } else {
            ShowNoAccounts();
        }
        rules_.FillRuleAccountList(gAccountCount);
    }
    // The options saved while the last account went are shown as they are now.
    if (gAccountCount == 0) modOptions::CheckOptionsChanged();
}

void AccountsPage::ShowNoAccounts() {
    // Nothing is left to check: the start-up and automatic checks go off and
    // are stored so.
    c_.chkEmailCheckStartUp.SetValue(0);
    c_.chkUseInterval.SetValue(0);
    run_.NoCheckDeferred = false;
    tray_.MarkAutoCheckOff();
    modOptions::SaveOptions();
    c_.StatusBar.SetPanelText(forms::panel::kResult, QStringLiteral("No Accounts have been created..."));
    c_.StatusBar.SetPanelText(forms::panel::kStatus, QString());
    c_.StatusBar.SetPanelText(forms::panel::kAutoCheck, run_.AutoCheckText);
    c_.lvwEmail.ClearItems();
    modGeneral::gPrevAccount = 0;
    ResetBlankAccount();
    host_.DisableEmailControls();
}

void AccountsPage::MoveAccount(int16_t account, int16_t offset) {
    const int16_t a = account;
    const auto b = static_cast<int16_t>(account + offset);
    if (offset == 0 || a < 1 || b < 1 || a > gAccountCount || b > gAccountCount) return;
    if (modGeneral::ServerOperation::Running()) return;
    if (!StoreExchange(a, b)) {
        ShowAccountMessage(StoreFailureMessage(modGeneral::gAppName));
        return;
    }
    modGeneral::ExchangeAccountRows(a, b);
    ExchangeAccountSlots(a, b);
    for (vb::TabStrip* strip : {&c_.TabStripAcnts, &c_.TabStripEmail}) {
        const QString caption = strip->TabCaption(a), image = strip->TabImage(a);
        strip->SetTabCaption(a, strip->TabCaption(b));
        strip->SetTabImage(a, strip->TabImage(b));
        strip->SetTabCaption(b, caption);
        strip->SetTabImage(b, image);
    }
    ReloadClientPictures(std::min(a, b), std::max(a, b));
    // The Rules page lists the accounts in tab order.
    rules_.FillRuleAccountList(gAccountCount);
    forms::MakeAccountCurrent(b);
    DisplayAccount(b);
    RefillCurrentList();
    c_.TabStripAcnts.Select(b);
}

void AccountsPage::RefillCurrentList() {
    modGeneral::gPrevAccount = 0;
    if (c_.TabStripEmail.SelectedItem() != gCurrentAccount)
        c_.TabStripEmail.Select(gCurrentAccount);
    else
        host_.TabStripEmail_Click();
}

void AccountsPage::ReloadClientPictures(int16_t from, int16_t to) {
    for (int i = from; i <= to; ++i) {
        if (gAccounts[i].ClientValid) {
            host_.LoadMailClientIcon(gAccounts[i].Client, i);
        } else {
            for (vb::ImageList* pictures : {&c_.imlPopMenu, &c_.imlClientButtons})
                if (pictures->Exists(ClientKey(i))) pictures->Remove(ClientKey(i));
        }
    }
}
