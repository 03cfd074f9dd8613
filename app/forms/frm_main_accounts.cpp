// The Accounts page: one account shown at a time, its fields writing the
// account's edit copy, the change check that enables Save and Cancel and locks
// the rest of the window, the colour palette, and the tab strip's question
// when the user leaves an account with unsaved edits.
#include <algorithm>

#include "app/accounts/account_operations.h"
#include "app/accounts/account_table.h"
#include "app/common/flag_scope.h"
#include "app/forms/frm_main.h"
#include "app/forms/main_window_slots.h"
#include "app/forms/operation_scope.h"
#include "app/general/check_status.h"
#include "app/general/server_operation.h"
#include "app/options/option_values.h"
#include "app/options/options_page.h"
#include "platform/desktop/program_file.h"
#include "platform/ui/msg_box.h"

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
    return QStringLiteral("The changes made to the following Account") + crLf + QStringLiteral("have not been saved.") +
           crLf + QStringLiteral("Account Name: '") + name + QStringLiteral("'") + crLf + crLf +
           QStringLiteral("How would you like to proceed?") + crLf + crLf +
           QStringLiteral("'Yes' to save the Account changes now.") + crLf +
           QStringLiteral("'No' to just return to the same Account.") + crLf +
           QStringLiteral("'Cancel' to discard all changes to this Account.") + QString(10, QLatin1Char(' ')) + crLf +
           crLf;
}

// The current account's saved fields as the page shows them.
AccountSettings ShownAccountSettings(const frmMain& page, const Account& account) {
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

void frmMain::WireAccountsPage() {
    accountsView_ = gAccountsView.Register(accountsPage_);
    WireAccountFields();

    tray_.Commands().Add(u"tbrAcnts", u"AcntAdd", [this](int16_t) { AddAccount(); });
    tray_.Commands().Add(u"tbrAcnts", u"AcntDelete", [this](int16_t) { DeleteAccount(); });
    tray_.Commands().Add(u"tbrAcnts", u"AcntTest", [this](int16_t) { TestCurrentAccount(); });
    tray_.Commands().Add(u"tbrMoveButtons", 0, u"Backward", [this](int16_t) { MoveAccount(gCurrentAccount, -1); });
    tray_.Commands().Add(u"tbrMoveButtons", 0, u"Forward", [this](int16_t) { MoveAccount(gCurrentAccount, 1); });
    tray_.Commands().Add(u"tbrButtons", forms::bar::kSaveAccount, u"SaveAccount",
                         [this](int16_t) { SaveAccount(); });
    tray_.Commands().Add(u"tbrButtons", forms::bar::kCancelAccount, u"Cancel",
                         [this](int16_t) { DisplayAccount(gCurrentAccount); });
    tray_.Commands().Add(u"tbrColour", u"Browse", [this](int16_t) {
        fraColourBox.Move(tbrColour.Left(), tbrColour.Top());
        fraColourBox.SetVisible(true);
        fraColourBox.ZOrder(0);
    });
    lblColourBox.Wire(&vb::Label::Click, [this](int index) {
        const int16_t c = gCurrentAccount;
        const auto colour = static_cast<int32_t>(lblColourBox(index).BackColor());
        txtAcntColour.SetBackColor(static_cast<vb::OleColor>(colour));
        if (HasSlot(c)) {
            gAccounts[c].Edit.ColourIndex = index;
            gAccounts[c].Edit.Colour = colour;
        }
        CheckAccountChanged();
        fraColourBox.SetVisible(false);
    });
    fraAcnt.MouseMove = [this](int, int, int, int) { fraColourBox.SetVisible(false); };

    TabStripAcnts.Click = [this] { TabStripAcnts_Click(); };
    // The strips give the keyboard focus away, unless a child window is open.
    for (vb::TabStrip* strip : {&TabStripEmail, &TabStripAcnts})
        strip->GotFocus = [this] {
            using namespace modGeneral;
            if (gShowingFirstUse || gShowingMessage || gShowingPreview || gShowingRuleReport) return;
            cmdTakeFocus.SetFocus();
        };
    WireTabDrag(TabStripEmail, 1);
    WireTabDrag(TabStripAcnts, 3);
    // Held until the tick, a press becomes a drag of the strip it armed.
    tmrDragTab.Tick = [this] {
        if (mTabDragState % 2 == 1) {
            vb::TabStrip& dragged = mTabDragState == 1 ? TabStripEmail : TabStripAcnts;
            dragged.SetDragIcon(imlDragIcons.Picture(1));
            dragged.Drag(vb::vbBeginDrag);
        }
        tmrDragTab.SetEnabled(false);
    };
}

void frmMain::WireAccountFields() {
    // Each field writes the current account's edit copy, then the change check.
    const auto edit = [this](auto AccountSettings::*field, auto value) {
        const int16_t c = gCurrentAccount;
        if (HasSlot(c)) gAccounts[c].Edit.*field = value;
        CheckAccountChanged();
    };
    const auto check = [](const vb::CheckBox& box) { return static_cast<int16_t>(box.Value()); };
    chkAcntEnabled.Click = [this, edit, check] { edit(&AccountSettings::Enabled, check(chkAcntEnabled)); };
    chkAcntSecure.Click = [this, edit, check] { edit(&AccountSettings::Secure, check(chkAcntSecure)); };
    chkAcntSoundOn.Click = [this, edit, check] { edit(&AccountSettings::SoundOn, check(chkAcntSoundOn)); };
    txtAcntName.Change = [this, edit] { edit(&AccountSettings::Name, txtAcntName.Text()); };
    txtAcntServer.Change = [this, edit] { edit(&AccountSettings::Server, txtAcntServer.Text()); };
    txtAcntPort.Change = [this, edit] { edit(&AccountSettings::Port, txtAcntPort.Text()); };
    txtAcntLoginID.Change = [this, edit] { edit(&AccountSettings::LoginID, txtAcntLoginID.Text()); };
    txtAcntPassword.Change = [this, edit] { edit(&AccountSettings::Password, txtAcntPassword.Text()); };
    txtAcntClient.Change = [this] { AcntClient_Change(); };
    txtAcntSound.Change = [this] { AcntSound_Change(); };
}

void frmMain::AcntClient_Change() {
    const int16_t c = gCurrentAccount;
    const QString text = txtAcntClient.Text();
    if (HasSlot(c)) gAccounts[c].Edit.Client = text;
    const bool usable = platform::desktop::IsUsableProgram(text);
    lblClientName.SetCaption(modOptions::gDefaultClientValid ? FileNamePart(modOptions::gOptDefaultClient)
                             : usable                        ? FileNamePart(text)
                                                             : QString());
    // The marker text shown while the default client is in force says
    // nothing of the account's own client: its validity follows the saved path.
    if (HasSlot(c) && c >= 1) {
        const bool marker = text == kDefaultClientText && modOptions::gDefaultClientValid;
        gAccounts[c].ClientValid = marker ? platform::desktop::IsUsableProgram(gAccounts[c].Client) : usable;
        if (!marker) {
            if (usable) LoadMailClientIcon(text, c);
            SetMailClientButton(usable ? c : -1);
        }
    }
    CheckAccountChanged();
}

void frmMain::AcntSound_Change() {
    const int16_t c = gCurrentAccount;
    const QString text = txtAcntSound.Text();
    if (HasSlot(c)) gAccounts[c].Edit.Sound = text;
    const bool usable = modOptions::IsUsableSound(text);
    if (modOptions::gDefaultSoundValid) {
        lblSoundName.SetCaption(FileNamePart(modOptions::gOptDefaultSound));
    } else {
        lblSoundName.SetCaption(usable ? FileNamePart(text) : QString());
        chkAcntSoundOn.SetVisible(usable);
        lblAcntPlaySound.SetVisible(false);
    }
    if (HasSlot(c) && c >= 1) {
        const bool marker = text == kDefaultSoundText && modOptions::gDefaultSoundValid;
        gAccounts[c].SoundValid = marker ? modOptions::IsUsableSound(gAccounts[c].Sound) : usable;
    }
    CheckAccountChanged();
}

void frmMain::DisplayAccount(int16_t index) {
    using modOptions::gDefaultClientValid;
    using modOptions::gDefaultSoundValid;
    if (!HasSlot(index)) return;
    const int16_t i = index;
    const Account& account = gAccounts[i];
    CopyAccountToEditBuffer(i);
    chkAcntEnabled.SetValue(account.Enabled);
    txtAcntName.SetText(account.Name);
    txtAcntServer.SetText(account.Server);
    chkAcntSecure.SetValue(account.Secure);
    txtAcntPort.SetText(account.Port);
    txtAcntLoginID.SetText(account.LoginID);
    txtAcntPassword.SetText(account.Password);
    txtAcntColour.SetText(QString());
    txtAcntColour.SetBackColor(static_cast<vb::OleColor>(account.Colour));
    txtAcntClient.SetText(account.Client);
    txtAcntSound.SetText(account.Sound);
    chkAcntSoundOn.SetValue(account.SoundOn);

    gAccountChanged = false;
    tbrButtons(forms::bar::kSaveAccount).Buttons(1).SetEnabled(false);
    tbrButtons(forms::bar::kCancelAccount).Buttons(1).SetEnabled(false);
    fraAcntToolBar.SetEnabled(true);
    UpdatePageBar();

    vb::ToolButton& browseClient = tbrClient(1).Buttons(QStringLiteral("Browse"));
    if (gDefaultClientValid) {
        txtAcntClient.SetText(kDefaultClientText);
        txtAcntClient.SetEnabled(false);
        browseClient.SetEnabled(false);
        LoadMailClientIcon(modOptions::gOptDefaultClient, 0);
        SetMailClientButton(0);
    } else {
        txtAcntClient.SetText(account.Client);
        txtAcntClient.SetEnabled(true);
        browseClient.SetEnabled(true);
        if (account.ClientValid) LoadMailClientIcon(account.Client, i);
        SetMailClientButton(account.ClientValid ? i : -1);
    }

    vb::ToolButton& browseSound = tbrSound(1).Buttons(QStringLiteral("Browse"));
    txtAcntSound.SetText(gDefaultSoundValid ? kDefaultSoundText : account.Sound);
    txtAcntSound.SetEnabled(!gDefaultSoundValid);
    browseSound.SetEnabled(!gDefaultSoundValid);
    if (gDefaultSoundValid) {
        lblSoundName.SetCaption(FileNamePart(modOptions::gOptDefaultSound));
        chkAcntSoundOn.SetVisible(false);
        lblAcntPlaySound.SetVisible(true);
    } else {
        lblSoundName.SetCaption(account.SoundValid ? FileNamePart(account.Sound) : QString());
        chkAcntSoundOn.SetVisible(account.SoundValid);
        lblAcntPlaySound.SetVisible(false);
    }

    const int runSize = optRunSize(3).Value() ? 3 : 1;
    lblAcntRunSize.SetCaption(QStringLiteral("Run: ") + optRunSize(runSize).Caption());
    lblAcntPlaySound.SetCaption(chkPlaySound.Value() == 1 ? QStringLiteral("Sound: On") : QStringLiteral("Sound: Off"));
    SetAccountTabIcon(i);
    SetMoveButtons(i);
}

void frmMain::CheckAccountChanged() {
    if (modGeneral::gLoading) return;
    const int16_t c = gCurrentAccount;
    if (!HasSlot(c)) return;
    gAccountChanged = ShownAccountSettings(*this, gAccounts[c]) != gAccounts[c].Saved();
    tbrButtons(forms::bar::kSaveAccount).Buttons(1).SetEnabled(gAccountChanged);
    tbrButtons(forms::bar::kCancelAccount).Buttons(1).SetEnabled(gAccountChanged);
    fraAcntToolBar.SetEnabled(!gAccountChanged);
    UpdatePageBar();
    if (gAccountChanged) {
        tbrMoveButtons(0).Buttons(QStringLiteral("Backward")).SetEnabled(false);
        tbrMoveButtons(0).Buttons(QStringLiteral("Forward")).SetEnabled(false);
    } else {
        SetMoveButtons(c);
    }
}

void frmMain::SetMoveButtons(int16_t index) {
    vb::ToolButton& backward = tbrMoveButtons(0).Buttons(QStringLiteral("Backward"));
    vb::ToolButton& forward = tbrMoveButtons(0).Buttons(QStringLiteral("Forward"));
    backward.SetEnabled(gAccountCount > 1 && index != 1);
    forward.SetEnabled(gAccountCount > 1 && index != gAccountCount);
}

void frmMain::TestCurrentAccount() {
    using namespace modGeneral;
    if (gCurrentAccount < 1 || gCurrentAccount > gAccountCount) return;
    forms::OperationScope operation(
        *this, ("testing the connection of \"" + gAccounts[gCurrentAccount].Name + "\"").toStdString());
    // A check or deletion in progress keeps the window as it is.
    if (!operation.Started()) return;
    ShowAutoCheckStatus();
    operation.PauseChecks();
    // For the tab animation and the status texts, until the test ends.
    const FlagScope testing(gTestingAccount);
    operation.EnterRetrieval(false);
    TestConnection(gCurrentAccount);
    TabStripAcnts_Click();
    operation.LeaveRetrieval();
    operation.ResumeChecks();
    StatusBar.SetPanelText(forms::panel::kStatus, gAccounts[gCurrentAccount].Status);
    StatusBar.SetPanelText(forms::panel::kAutoCheck, gAutoCheckText);
}

int frmMain::ShowAccountMessage(const AccountMessage& message, int buttons) {
    return vb::MsgBox(message.text, buttons + vb::vbCritical, message.title);
}

void frmMain::TabStripAcnts_Click() {
    using modGeneral::gLoading;
    if (gLoading) return;
    if (WindowState() == vb::vbNormal) txtAcntName.SetFocus();
    const auto chosen = static_cast<int16_t>(TabStripAcnts.SelectedItem());
    if (!gAccountChanged) {
        gCurrentAccount = chosen;
        DisplayAccount(gCurrentAccount);
        return;
    }
    if (chosen == gCurrentAccount) return;
    gLoading = true;
    TabStripAcnts.Select(gCurrentAccount);
    const int answer = vb::MsgBox(ChangesNotSavedText(TabStripAcnts.TabCaption(gCurrentAccount)),
                                  vb::vbYesNoCancel + vb::vbCritical, QStringLiteral("Changes Not Saved!"));
    // A refused save keeps the edits on the page, as "No" does.
    const bool leave = answer == vb::vbCancel || (answer == vb::vbYes && SaveAccount());
    if (leave) {
        DisplayAccount(gCurrentAccount);
        gCurrentAccount = chosen;
        TabStripAcnts.Select(gCurrentAccount);
        DisplayAccount(gCurrentAccount);
    }
    gLoading = false;
}
