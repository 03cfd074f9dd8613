// The Accounts page: one account shown at a time, its fields writing the
// account's edit copy, the change check that enables Save and Cancel and locks
// the rest of the window, the colour palette, and the tab strip's question
// when the user leaves an account with unsaved edits.
#include "app/forms/accounts/accounts_page.h"

#include "app/forms/checks/connection_test.h"
#include "app/forms/email/message_list_refresh.h"

#include <algorithm>

#include "app/forms/common/account_tabs.h"
#include "app/forms/common/child_windows.h"
#include "app/forms/main_window/command_keys.h"
#include "app/forms/main_window/frm_main_design.h"
#include "app/forms/main_window/window_slots.h"
#include "app/general/check_status.h"
#include "app/options/option_values.h"
#include "app/options/options_edit.h"
#include "platform/desktop/program_file.h"
#include "platform/ui/form.h"
#include "platform/ui/msg_box.h"

using namespace frmMainElements;  // tbrClient(tbrClient::kAccount)

using namespace modAccounts;

namespace {

const QString kDefaultClientText = QStringLiteral("Using Default Email Client");
const QString kDefaultSoundText = QStringLiteral("Using Default Sound File");

// The text after the path's last separator, or the whole text.
QString FileNamePart(const QString& path) {
    const auto cut = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return path.mid(cut + 1);
}

bool HasSlot(int16_t account) { return gAccounts.Contains(account); }

QString ChangesNotSavedText(const QString& name) {
    const QString crLf = QStringLiteral("\r\n");
    return QStringLiteral("The changes made to the following Account") + crLf +
           QStringLiteral("have not been saved.") + crLf + QStringLiteral("Account Name: '") + name +
           QStringLiteral("'") + crLf + crLf + QStringLiteral("How would you like to proceed?") + crLf +
           crLf + QStringLiteral("'Yes' to save the Account changes now.") + crLf +
           QStringLiteral("'No' to just return to the same Account.") + crLf +
           QStringLiteral("'Cancel' to discard all changes to this Account.") +
           QString(10, QLatin1Char(' ')) + crLf + crLf;
}

// The current account's saved fields as the page shows them.
AccountSettings ShownAccountSettings(const AccountsPage::Controls& page, const Account& account) {
    // The check boxes are read through the edit copy they write.
    AccountSettings shown = account.Edit;
    shown.Name = page.txtAcntName.Text();
    shown.Server = page.txtAcntServer.Text();
    shown.Port = page.txtAcntPort.Text();
    shown.LoginID = page.txtAcntLoginID.Text();
    shown.Password = page.txtAcntPassword.Text();
    shown.Colour = static_cast<int32_t>(page.txtAcntColour.BackColor());
    // The swatch is seen through its colour; a default in force shows in
    // place of the account's own client or sound, which it leaves unchanged.
    shown.ColourIndex = account.ColourIndex;
    const QString client = page.txtAcntClient.Text();
    shown.Client = client == kDefaultClientText ? account.Client : client;
    const QString sound = page.txtAcntSound.Text();
    if (sound == kDefaultSoundText) {
        shown.Sound = account.Sound;
        shown.SoundOn = account.SoundOn;
    } else {
        shown.Sound = sound;
    }
    return shown;
}

}  // namespace

AccountsPage::AccountsPage(vb::Form& window, forms::TrayStatus& tray, forms::MessageListRefresh& list,
                           forms::RulesFollowAccounts& rules, forms::ConnectionTest& test,
                           modGeneral::CheckRunState& run, frmMainDesign& design,
                           forms::CommandKeys& commands, Host& host)
    : window_(window),
      c_(design),
      commands_(commands),
      host_(host),
      tray_(tray),
      list_(list),
      rules_(rules),
      test_(test),
      run_(run) {
    accountsView_ = gAccountsView.Register(*this);
    WireAccountsPage();
    WireAccountFields();
    WireColourBox();
    WireTabStrips();
}

void AccountsPage::WireAccountsPage() {
    commands_.Add(u"tbrAcnts", u"AcntAdd", [this](int16_t) { AddAccount(); });
    commands_.Add(u"tbrAcnts", u"AcntDelete", [this](int16_t) { DeleteAccount(); });
    commands_.Add(u"tbrAcnts", u"AcntTest", [this](int16_t) { TestCurrentAccount(); });
    commands_.Add(u"tbrMoveButtons", tbrMoveButtons::kAccounts, u"Backward",
                  [this](int16_t) { MoveAccount(gCurrentAccount, -1); });
    commands_.Add(u"tbrMoveButtons", tbrMoveButtons::kAccounts, u"Forward",
                  [this](int16_t) { MoveAccount(gCurrentAccount, 1); });
    commands_.Add(u"tbrButtons", forms::bar::kSaveAccount, u"SaveAccount",
                  [this](int16_t) { SaveAccount(); });
    commands_.Add(u"tbrButtons", forms::bar::kCancelAccount, u"Cancel",
                  [this](int16_t) { DisplayAccount(gCurrentAccount); });
}

void AccountsPage::WireColourBox() {
    commands_.Add(u"tbrColour", u"Browse", [this](int16_t) {
        c_.fraColourBox.Move(c_.tbrColour.Left(), c_.tbrColour.Top());
        c_.fraColourBox.SetVisible(true);
        c_.fraColourBox.ZOrder(0);
    });
    c_.lblColourBox.Wire(&vb::Label::Click, [this](int index) {
        const int16_t c = gCurrentAccount;
        const auto colour = static_cast<int32_t>(c_.lblColourBox(index).BackColor());
        c_.txtAcntColour.SetBackColor(static_cast<vb::OleColor>(colour));
        if (HasSlot(c)) {
            gAccounts[c].Edit.ColourIndex = index;
            gAccounts[c].Edit.Colour = colour;
        }
        CheckAccountChanged();
        c_.fraColourBox.SetVisible(false);
    });
    c_.fraAcnt.MouseMove = [this](int, int, int, int) { c_.fraColourBox.SetVisible(false); };
}

void AccountsPage::WireTabStrips() {
    c_.TabStripAcnts.Click = [this] { TabStripAcnts_Click(); };
    // The strips give the keyboard focus away, unless a child window is open.
    for (vb::TabStrip* strip : {&c_.TabStripEmail, &c_.TabStripAcnts})
        strip->GotFocus = [this] {
            using namespace modGeneral;
            if (forms::FirstUseShown() || forms::MessageShown() || forms::PreviewShown() ||
                forms::RuleReportShown())
                return;
            c_.cmdTakeFocus.SetFocus();
        };
    WireTabDrag(c_.TabStripEmail, 1);
    WireTabDrag(c_.TabStripAcnts, 3);
    // Held until the tick, a press becomes a drag of the strip it armed.
    c_.tmrDragTab.Tick = [this] {
        if (mTabDragState % 2 == 1) {
            vb::TabStrip& dragged = mTabDragState == 1 ? c_.TabStripEmail : c_.TabStripAcnts;
            dragged.SetDragIcon(c_.imlDragIcons.Picture(1));
            dragged.Drag(vb::vbBeginDrag);
        }
        c_.tmrDragTab.SetEnabled(false);
    };
}

void AccountsPage::WireAccountFields() {
    // Each field writes the current account's edit copy, then the change check.
    const auto edit = [this](auto AccountSettings::*field, auto value) {
        const int16_t c = gCurrentAccount;
        if (HasSlot(c)) gAccounts[c].Edit.*field = value;
        CheckAccountChanged();
    };
    const auto check = [](const vb::CheckBox& box) { return static_cast<int16_t>(box.Value()); };
    c_.chkAcntEnabled.Click = [this, edit, check] {
        edit(&AccountSettings::Enabled, check(c_.chkAcntEnabled));
    };
    c_.chkAcntSecure.Click = [this, edit, check] { edit(&AccountSettings::Secure, check(c_.chkAcntSecure)); };
    c_.chkAcntSoundOn.Click = [this, edit, check] {
        edit(&AccountSettings::SoundOn, check(c_.chkAcntSoundOn));
    };
    c_.txtAcntName.Change = [this, edit] { edit(&AccountSettings::Name, c_.txtAcntName.Text()); };
    c_.txtAcntServer.Change = [this, edit] { edit(&AccountSettings::Server, c_.txtAcntServer.Text()); };
    c_.txtAcntPort.Change = [this, edit] { edit(&AccountSettings::Port, c_.txtAcntPort.Text()); };
    c_.txtAcntLoginID.Change = [this, edit] { edit(&AccountSettings::LoginID, c_.txtAcntLoginID.Text()); };
    c_.txtAcntPassword.Change = [this, edit] { edit(&AccountSettings::Password, c_.txtAcntPassword.Text()); };
    c_.txtAcntClient.Change = [this] { AcntClient_Change(); };
    c_.txtAcntSound.Change = [this] { AcntSound_Change(); };
}

void AccountsPage::AcntClient_Change() {
    const int16_t c = gCurrentAccount;
    const QString text = c_.txtAcntClient.Text();
    if (HasSlot(c)) gAccounts[c].Edit.Client = text;
    const bool usable = platform::desktop::IsUsableProgram(text);
    c_.lblClientName.SetCaption(modOptions::gDefaultClientValid ? FileNamePart(modOptions::gOpt.DefaultClient)
                                : usable                        ? FileNamePart(text)
                                                                : QString());
    // The marker text shown while the default client is in force says
    // nothing of the account's own client: its validity follows the saved path.
    if (HasSlot(c) && c >= 1) {
        const bool marker = text == kDefaultClientText && modOptions::gDefaultClientValid;
        gAccounts[c].ClientValid = marker ? platform::desktop::IsUsableProgram(gAccounts[c].Client) : usable;
        if (!marker) {
            if (usable) host_.LoadMailClientIcon(text, c);
            host_.SetMailClientButton(usable ? c : -1);
        }
    }
    CheckAccountChanged();
}

void AccountsPage::AcntSound_Change() {
    const int16_t c = gCurrentAccount;
    const QString text = c_.txtAcntSound.Text();
    if (HasSlot(c)) gAccounts[c].Edit.Sound = text;
    const bool usable = modOptions::IsUsableSound(text);
    if (modOptions::gDefaultSoundValid) {
        c_.lblSoundName.SetCaption(FileNamePart(modOptions::gOpt.DefaultSound));
    } else {
        c_.lblSoundName.SetCaption(usable ? FileNamePart(text) : QString());
        c_.chkAcntSoundOn.SetVisible(usable);
        c_.lblAcntPlaySound.SetVisible(false);
    }
    if (HasSlot(c) && c >= 1) {
        const bool marker = text == kDefaultSoundText && modOptions::gDefaultSoundValid;
        gAccounts[c].SoundValid = marker ? modOptions::IsUsableSound(gAccounts[c].Sound) : usable;
    }
    CheckAccountChanged();
}

void AccountsPage::DisplayAccount(int16_t index) {
    if (!HasSlot(index)) return;
    const int16_t i = index;
    const Account& account = gAccounts[i];
    CopyAccountToEditBuffer(i);
    c_.chkAcntEnabled.SetValue(account.Enabled);
    c_.txtAcntName.SetText(account.Name);
    c_.txtAcntServer.SetText(account.Server);
    c_.chkAcntSecure.SetValue(account.Secure);
    c_.txtAcntPort.SetText(account.Port);
    c_.txtAcntLoginID.SetText(account.LoginID);
    c_.txtAcntPassword.SetText(account.Password);
    c_.txtAcntColour.SetText(QString());
    c_.txtAcntColour.SetBackColor(static_cast<vb::OleColor>(account.Colour));
    c_.txtAcntClient.SetText(account.Client);
    c_.txtAcntSound.SetText(account.Sound);
    c_.chkAcntSoundOn.SetValue(account.SoundOn);

    gAccountChanged = false;
    c_.tbrButtons(forms::bar::kSaveAccount).Buttons(1).SetEnabled(false);
    c_.tbrButtons(forms::bar::kCancelAccount).Buttons(1).SetEnabled(false);
    c_.fraAcntToolBar.SetEnabled(true);
    host_.UpdatePageBar();

    ShowAccountClient(account, i);
    ShowAccountSound(account);

    const int runSize = c_.optRunSize(3).Value() ? 3 : 1;
    c_.lblAcntRunSize.SetCaption(QStringLiteral("Run: ") + c_.optRunSize(runSize).Caption());
    c_.lblAcntPlaySound.SetCaption(c_.chkPlaySound.Value() == 1 ? QStringLiteral("Sound: On")
                                                                : QStringLiteral("Sound: Off"));
    list_.SetAccountTabIcon(i);
    SetMoveButtons(i);
}

void AccountsPage::ShowAccountClient(const Account& account, int16_t index) {
    vb::ToolButton& browseClient = c_.tbrClient(tbrClient::kAccount).Buttons(QStringLiteral("Browse"));
    if (modOptions::gDefaultClientValid) {
        c_.txtAcntClient.SetText(kDefaultClientText);
        c_.txtAcntClient.SetEnabled(false);
        browseClient.SetEnabled(false);
        host_.LoadMailClientIcon(modOptions::gOpt.DefaultClient, 0);
        host_.SetMailClientButton(0);
    } else {
        c_.txtAcntClient.SetText(account.Client);
        c_.txtAcntClient.SetEnabled(true);
        browseClient.SetEnabled(true);
        if (account.ClientValid) host_.LoadMailClientIcon(account.Client, index);
        host_.SetMailClientButton(account.ClientValid ? index : -1);
    }
}

void AccountsPage::ShowAccountSound(const Account& account) {
    using modOptions::gDefaultSoundValid;
    vb::ToolButton& browseSound = c_.tbrSound(tbrSound::kAccount).Buttons(QStringLiteral("Browse"));
    c_.txtAcntSound.SetText(gDefaultSoundValid ? kDefaultSoundText : account.Sound);
    c_.txtAcntSound.SetEnabled(!gDefaultSoundValid);
    browseSound.SetEnabled(!gDefaultSoundValid);
    if (gDefaultSoundValid) {
        c_.lblSoundName.SetCaption(FileNamePart(modOptions::gOpt.DefaultSound));
        c_.chkAcntSoundOn.SetVisible(false);
        c_.lblAcntPlaySound.SetVisible(true);
    } else {
        c_.lblSoundName.SetCaption(account.SoundValid ? FileNamePart(account.Sound) : QString());
        c_.chkAcntSoundOn.SetVisible(account.SoundValid);
        c_.lblAcntPlaySound.SetVisible(false);
    }
}

void AccountsPage::CheckAccountChanged() {
    if (modGeneral::gLoading) return;
    const int16_t c = gCurrentAccount;
    if (!HasSlot(c)) return;
    gAccountChanged = ShownAccountSettings(c_, gAccounts[c]) != gAccounts[c].Saved();
    c_.tbrButtons(forms::bar::kSaveAccount).Buttons(1).SetEnabled(gAccountChanged);
    c_.tbrButtons(forms::bar::kCancelAccount).Buttons(1).SetEnabled(gAccountChanged);
    c_.fraAcntToolBar.SetEnabled(!gAccountChanged);
    host_.UpdatePageBar();
    if (gAccountChanged) {
        c_.tbrMoveButtons(tbrMoveButtons::kAccounts).Buttons(QStringLiteral("Backward")).SetEnabled(false);
        c_.tbrMoveButtons(tbrMoveButtons::kAccounts).Buttons(QStringLiteral("Forward")).SetEnabled(false);
    } else {
        SetMoveButtons(c);
    }
}

void AccountsPage::SetMoveButtons(int16_t index) {
    vb::ToolButton& backward =
        c_.tbrMoveButtons(tbrMoveButtons::kAccounts).Buttons(QStringLiteral("Backward"));
    vb::ToolButton& forward = c_.tbrMoveButtons(tbrMoveButtons::kAccounts).Buttons(QStringLiteral("Forward"));
    backward.SetEnabled(gAccountCount > 1 && index != 1);
    forward.SetEnabled(gAccountCount > 1 && index != gAccountCount);
}

void AccountsPage::TestCurrentAccount() {
    if (gCurrentAccount < 1 || gCurrentAccount > gAccountCount) return;
    // A check or deletion in progress keeps the window as it is.
    if (!test_.RunConnectionTest(gCurrentAccount, [this] { TabStripAcnts_Click(); })) return;
    c_.StatusBar.SetPanelText(forms::panel::kStatus, gAccounts[gCurrentAccount].Status);
    c_.StatusBar.SetPanelText(forms::panel::kAutoCheck, run_.AutoCheckText);
}

int AccountsPage::ShowAccountMessage(const AccountMessage& message, int buttons) {
    return vb::MsgBox(message.text, buttons + vb::vbCritical, message.title);
}

void AccountsPage::TabStripAcnts_Click() {
    using modGeneral::gLoading;
    if (gLoading) return;
    if (window_.WindowState() == vb::vbNormal) c_.txtAcntName.SetFocus();
    const auto chosen = static_cast<int16_t>(c_.TabStripAcnts.SelectedItem());
    if (!gAccountChanged) {
        forms::MakeAccountCurrent(chosen);
        DisplayAccount(gCurrentAccount);
        return;
    }
    if (chosen == gCurrentAccount) return;
    gLoading = true;
    c_.TabStripAcnts.Select(gCurrentAccount);
    const int answer = vb::MsgBox(ChangesNotSavedText(c_.TabStripAcnts.TabCaption(gCurrentAccount)),
                                  vb::vbYesNoCancel + vb::vbCritical, QStringLiteral("Changes Not Saved!"));
    // A refused save keeps the edits on the page, as "No" does.
    const bool leave = answer == vb::vbCancel || (answer == vb::vbYes && SaveAccount());
    if (leave) {
        DisplayAccount(gCurrentAccount);
        forms::ChooseAccountTab(c_.TabStripAcnts, chosen);
        DisplayAccount(gCurrentAccount);
    }
    gLoading = false;
}
