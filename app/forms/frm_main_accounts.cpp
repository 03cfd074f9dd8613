// The Accounts page: one account shown at a time, its fields writing the
// account's edit copy, the change check that enables Save and Cancel and locks
// the rest of the window, the colour palette, and the tab strip's question
// when the user leaves an account with unsaved edits.
#include <algorithm>

#include "app/accounts/account_operations.h"
#include "app/accounts/account_table.h"
#include "app/common/flag_scope.h"
#include "app/forms/frm_main.h"
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

bool HasSlot(int16_t account) { return gEditAcntName.Contains(account); }

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

}  // namespace

void frmMain::WireAccountsPage() {
    accountsView_ = gAccountsView.Register(accountsPage_);
    WireAccountFields();

    tray_.Commands().Add(u"tbrAcnts", u"AcntAdd", [this](int16_t) { AddAccount(); });
    tray_.Commands().Add(u"tbrAcnts", u"AcntDelete", [this](int16_t) { DeleteAccount(); });
    tray_.Commands().Add(u"tbrAcnts", u"AcntTest", [this](int16_t) { TestCurrentAccount(); });
    tray_.Commands().Add(u"tbrMoveButtons", 0, u"Backward", [this](int16_t) { MoveAccount(gCurrentAccount, -1); });
    tray_.Commands().Add(u"tbrMoveButtons", 0, u"Forward", [this](int16_t) { MoveAccount(gCurrentAccount, 1); });
    tray_.Commands().Add(u"tbrButtons", 6, u"SaveAccount", [this](int16_t) { SaveAccount(); });
    tray_.Commands().Add(u"tbrButtons", 7, u"Cancel", [this](int16_t) { DisplayAccount(gCurrentAccount); });
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
            gEditAcntColourIndex[c] = static_cast<int16_t>(index);
            gEditAcntColour[c] = colour;
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
    const auto edit = [this](auto& array, auto value) {
        const int16_t c = gCurrentAccount;
        if (HasSlot(c)) array[c] = value;
        CheckAccountChanged();
    };
    chkAcntEnabled.Click = [this, edit] { edit(gEditAcntEnabled, static_cast<int16_t>(chkAcntEnabled.Value())); };
    chkAcntSecure.Click = [this, edit] { edit(gEditAcntSecure, static_cast<int16_t>(chkAcntSecure.Value())); };
    chkAcntSoundOn.Click = [this, edit] { edit(gEditAcntSoundOn, static_cast<int16_t>(chkAcntSoundOn.Value())); };
    txtAcntName.Change = [this, edit] { edit(gEditAcntName, txtAcntName.Text()); };
    txtAcntServer.Change = [this, edit] { edit(gEditAcntServer, txtAcntServer.Text()); };
    txtAcntPort.Change = [this, edit] { edit(gEditAcntPort, txtAcntPort.Text()); };
    txtAcntLoginID.Change = [this, edit] { edit(gEditAcntLoginID, txtAcntLoginID.Text()); };
    txtAcntPassword.Change = [this, edit] { edit(gEditAcntPassword, txtAcntPassword.Text()); };
    txtAcntClient.Change = [this] { AcntClient_Change(); };
    txtAcntSound.Change = [this] { AcntSound_Change(); };
}

void frmMain::AcntClient_Change() {
    const int16_t c = gCurrentAccount;
    const QString text = txtAcntClient.Text();
    if (HasSlot(c)) gEditAcntClient[c] = text;
    const bool usable = platform::desktop::IsUsableProgram(text);
    lblClientName.SetCaption(modOptions::gDefaultClientValid ? FileNamePart(modOptions::gOptDefaultClient)
                             : usable                        ? FileNamePart(text)
                                                             : QString());
    // The marker text shown while the default client is in force says
    // nothing of the account's own client: its validity follows the saved path.
    if (HasSlot(c) && c >= 1) {
        const bool marker = text == kDefaultClientText && modOptions::gDefaultClientValid;
        gAcntClientValid[c] = marker ? platform::desktop::IsUsableProgram(gAcntClient[c]) : usable;
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
    if (HasSlot(c)) gEditAcntSound[c] = text;
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
        gAcntSoundValid[c] = marker ? modOptions::IsUsableSound(gAcntSound[c]) : usable;
    }
    CheckAccountChanged();
}

void frmMain::DisplayAccount(int16_t index) {
    using modOptions::gDefaultClientValid;
    using modOptions::gDefaultSoundValid;
    if (!HasSlot(index)) return;
    const int16_t i = index;
    CopyAccountToEditBuffer(i);
    chkAcntEnabled.SetValue(gAcntEnabled[i]);
    txtAcntName.SetText(gAcntName[i]);
    txtAcntServer.SetText(gAcntServer[i]);
    chkAcntSecure.SetValue(gAcntSecure[i]);
    txtAcntPort.SetText(gAcntPort[i]);
    txtAcntLoginID.SetText(gAcntLoginID[i]);
    txtAcntPassword.SetText(gAcntPassword[i]);
    txtAcntColour.SetText(QString());
    txtAcntColour.SetBackColor(static_cast<vb::OleColor>(gAcntColour[i]));
    txtAcntClient.SetText(gAcntClient[i]);
    txtAcntSound.SetText(gAcntSound[i]);
    chkAcntSoundOn.SetValue(gAcntSoundOn[i]);

    gAccountChanged = false;
    tbrButtons(6).Buttons(1).SetEnabled(false);
    tbrButtons(7).Buttons(1).SetEnabled(false);
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
        txtAcntClient.SetText(gAcntClient[i]);
        txtAcntClient.SetEnabled(true);
        browseClient.SetEnabled(true);
        if (gAcntClientValid[i]) LoadMailClientIcon(gAcntClient[i], i);
        SetMailClientButton(gAcntClientValid[i] ? i : -1);
    }

    vb::ToolButton& browseSound = tbrSound(1).Buttons(QStringLiteral("Browse"));
    txtAcntSound.SetText(gDefaultSoundValid ? kDefaultSoundText : gAcntSound[i]);
    txtAcntSound.SetEnabled(!gDefaultSoundValid);
    browseSound.SetEnabled(!gDefaultSoundValid);
    if (gDefaultSoundValid) {
        lblSoundName.SetCaption(FileNamePart(modOptions::gOptDefaultSound));
        chkAcntSoundOn.SetVisible(false);
        lblAcntPlaySound.SetVisible(true);
    } else {
        lblSoundName.SetCaption(gAcntSoundValid[i] ? FileNamePart(gAcntSound[i]) : QString());
        chkAcntSoundOn.SetVisible(gAcntSoundValid[i]);
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
    const QString client = txtAcntClient.Text();
    const QString sound = txtAcntSound.Text();
    const bool defaultSound = sound == kDefaultSoundText;
    gAccountChanged = gEditAcntEnabled[c] != gAcntEnabled[c] || txtAcntName.Text() != gAcntName[c] ||
                      txtAcntServer.Text() != gAcntServer[c] || gEditAcntSecure[c] != gAcntSecure[c] ||
                      txtAcntPort.Text() != gAcntPort[c] || txtAcntLoginID.Text() != gAcntLoginID[c] ||
                      txtAcntPassword.Text() != gAcntPassword[c] ||
                      static_cast<int32_t>(txtAcntColour.BackColor()) != gAcntColour[c] ||
                      (client != gAcntClient[c] && client != kDefaultClientText) ||
                      (sound != gAcntSound[c] && !defaultSound) ||
                      (gEditAcntSoundOn[c] != gAcntSoundOn[c] && !defaultSound);
    tbrButtons(6).Buttons(1).SetEnabled(gAccountChanged);
    tbrButtons(7).Buttons(1).SetEnabled(gAccountChanged);
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
        *this, ("testing the connection of \"" + gAcntName[gCurrentAccount] + "\"").toStdString());
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
    StatusBar.SetPanelText(3, gAcntStatus[gCurrentAccount]);
    StatusBar.SetPanelText(4, gAutoCheckText);
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
