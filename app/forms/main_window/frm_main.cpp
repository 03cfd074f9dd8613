#include "app/forms/main_window/frm_main.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTimer>

#include "app/accounts/account_table.h"
#include "app/check/schedule.h"
#include "app/common/app_settings.h"
#include "app/common/date_text.h"
#include "app/common/private_temp_folder.h"
#include "app/forms/checks/component_object.h"
#include "app/forms/checks/operation_scope.h"
#include "app/forms/common/account_tabs.h"
#include "app/forms/common/child_windows.h"
#include "app/forms/common/pictures.h"
#include "app/forms/first_use/frm_first_use.h"
#include "app/forms/main_window/window_slots.h"
#include "app/forms/new_mail/frm_message.h"
#include "app/forms/preview/frm_preview.h"
#include "app/forms/preview/message_commands.h"
#include "app/general/check_status.h"
#include "app/general/server_operation.h"
#include "app/options/option_values.h"
#include "app/options/options_edit.h"
#include "platform/desktop/program_file.h"
#include "platform/loop/handler_barrier.h"
#include "platform/ui/forms.h"
#include "platform/ui/modal_windows.h"
#include "platform/ui/msg_box.h"

namespace {

const QString kOptions = QStringLiteral("Settings\\Options");

// How often a quit waiting for a server operation or a modal window looks again.
constexpr int kQuitRetryMs = 100;

}  // namespace

frmMain::frmMain() : frmMainDesign(this) {
    FillPictures();
    TabStripEmail.Click = [this] { TabStripEmail_Click(); };
}

void frmMain::Form_Load() {
    using namespace modGeneral;

    rules_.Load();
    RegisterViews();

    gMenuHooked = true;
    tray_.SubClassMenuXP();
    CreateComponentObject();

    gLoading = true;
    tray_.AddTrayIcon();
    email_.CreateListToolTip();

    layout_.ArrangeControls();
    layout_.SizeAndCentre();
    LoadStoredOptions();
    LoadAccounts();

    rules_.InitRules();

    options_.BuildOptionsTree();
    options_.LayoutOptionsPages();
    modOptions::DisplayOptions();
    ResetRunState();
    modOptions::DisplayOptions();
    if (modAccounts::gCurrentAccount >= 1) accounts_.DisplayAccount(modAccounts::gCurrentAccount);

    ShowMailClientButtons();
    ShowEmailPage();
}

void frmMain::CreateComponentObject() {
    QString error;
    forms::gPop3 = forms::CreateComponent(error);
    if (!forms::gPop3) {
        vb::MsgBox(error, vb::vbCritical, modGeneral::gAppName + QStringLiteral(" - Start"));
        throw forms::StartupFailure(error.toStdString());
    }
    session_.ListenToComponent(checks_.Record());
}

void frmMain::LoadStoredOptions() {
    using namespace modAccounts;
    using namespace modOptions;
    gAccountCount = StoredAccountCount();
    LoadOptions(ReadBy::MainLoad);

    ResizeAccountArrays(gAccountCount);
    ApplyButtonStyle();
    modGeneral::gSortKey = SortColumnName(gOpt.SortColumn);
    modGeneral::gSortKeyPrev = modGeneral::gSortKey;
    if (gOpt.MessageSort == 1)
        email_.ShowSortColumnIcon(modGeneral::gSortKey, gOpt.SortOrder != 0 ? QStringLiteral("Descending")
                                                                            : QStringLiteral("Ascending"));
}

void frmMain::LoadAccounts() {
    using namespace modAccounts;
    ResetBlankAccount();
    gSavedAcntNum = gAccountCount;
    TabStripEmail.ClearTabs();
    TabStripAcnts.ClearTabs();
    TabStripRules.ClearTabs();

    const QDateTime now = QDateTime::currentDateTime();
    checks_.Record().TotalMsgCount = 0;
    checks_.Record().TotalNewCount = 0;
    SetCaption(modGeneral::gAppName);
    EnableMainControls();

    for (int i = 1; i <= gAccountCount; ++i) LoadAccountAtStart(i, now);
    // The first account is current; with none, no account is.
    forms::MakeAccountCurrent(gAccountCount >= 1 ? 1 : 0);
    if (gAccountCount == 0) {
        StatusBar.SetPanelText(forms::panel::kResult, QStringLiteral("No Accounts have been created..."));
        StatusBar.SetPanelText(forms::panel::kNewCount, QString());
        StatusBar.SetPanelText(forms::panel::kStatus, QString());
        StatusBar.SetPanelText(forms::panel::kAutoCheck, checks_.Record().AutoCheckText);
        StatusBar.SetPanelText(forms::panel::kClock, modCheck::ClockPanelText(now));
        DisableEmailControls();
    }
}

// One stored account, with its tabs, not checked yet.
void frmMain::LoadAccountAtStart(int16_t i, const QDateTime& now) {
    using namespace modAccounts;
    LoadAccount(i);
    CopyAccountToEditBuffer(i);
    const QString image =
        gAccounts[i].Enabled != 0 ? QStringLiteral("MailNo") : QStringLiteral("MailNoDisabled");
    TabStripEmail.AddTab(gAccounts[i].Name, image);
    TabStripAcnts.AddTab(gAccounts[i].Name, image);
    gAccounts[i].MsgCount = 0;
    gAccounts[i].NewCount = 0;
    gAccounts[i].PrevMsgCount = 0;
    gAccounts[i].DeleteCount = 0;
    gAccounts[i].SpamCount = 0;
    gAccounts[i].Connected = false;
    gAccounts[i].Checked = false;
    gAccounts[i].HasMail = false;
    gAccounts[i].HasNewMail = false;
    gAccounts[i].Status = QStringLiteral("Not Checked");
    gAccounts[i].Result = gAccounts[i].Name;
    gAccounts[i].CheckTime = FormatDate(now, "h:mm AM/PM");
    StatusBar.SetPanelText(forms::panel::kClock, modCheck::ClockPanelText(now));
    gAccounts[i].ClientValid = platform::desktop::IsUsableProgram(gAccounts[i].Client);
    gAccounts[i].SoundValid = modOptions::IsUsableSound(gAccounts[i].Sound);
}

// No stop asked, nothing deferred or tested: the state of a new run.
void frmMain::ResetRunState() {
    using namespace modGeneral;
    mQuitting = false;
    checks_.Record().UserStop = false;
    checks_.Record().NoCheckDeferred = false;
    gLoading = false;
    checks_.Record().TestingAccount = false;
    gSoundsOn = true;
}

// The accounts' own client pictures, and the start button's: the default
// client's, else the current account's, else none.
void frmMain::ShowMailClientButtons() {
    using namespace modAccounts;
    for (int i = 1; i <= gAccountCount; ++i)
        if (gAccounts[i].ClientValid) LoadMailClientIcon(gAccounts[i].Client, i);
    if (modOptions::gDefaultClientValid) {
        LoadMailClientIcon(modOptions::gOpt.DefaultClient, 0);
        SetMailClientButton(0);
    } else if (gCurrentAccount >= 1 && gAccounts[gCurrentAccount].ClientValid) {
        SetMailClientButton(gCurrentAccount);
    } else {
        SetMailClientButton(-1);
    }
}

// The Email page in front with the current account's list.
void frmMain::ShowEmailPage() {
    using namespace modGeneral;
    gCurrentPane = forms::page::kEmail;
    lblBanner.SetCaption(gPaneName[forms::page::kEmail]);
    email_.FillMessageList(modAccounts::gCurrentAccount);
    gPrevAccount = modAccounts::gCurrentAccount;
    cmdTakeFocus.Move(fraMainButtons.Left(), fraMainButtons.Top());
    cmdTakeFocus.ZOrder(1);
}

void frmMain::Form_Unload(int& Cancel) {
    if (modOptions::gOpt.CloseButton != 0 && !mQuitting) {
        Cancel = 1;
        tray_.CloseToTray();
        return;
    }
    // The component must not go while a server operation waits inside it:
    // the quit waits for the operation to stop.
    if (modGeneral::ServerOperation::Running()) {
        Cancel = 1;
        QuitWhenIdle();
        return;
    }
    ShutDown();
}

void frmMain::EndSession() {
    mEndingSession = true;
    QuitWhenIdle();
}

void frmMain::QuitWhenIdle() {
    if (mEndingSession) vb::CloseModalWindows();
    // A server operation pumps the loop while it waits, and a modal window
    // runs a loop of its own: the quit asks the operation to stop and ends the
    // program once both have unwound, never under their feet.
    const bool busy = modGeneral::ServerOperation::Running();
    if (busy || vb::ModalWindowOpen()) {
        if (busy) checks_.Record().UserStop = true;
        if (!mQuitPending) {
            mQuitPending = true;
            QTimer::singleShot(kQuitRetryMs, this, [this] {
                mQuitPending = false;
                platform::loop::RunHandler("quitting", [this] { QuitWhenIdle(); });
            });
        }
        return;
    }
    mQuitting = true;
    vb::Forms::Unload<frmMain>();
}

void frmMain::ShutDown() {
    using namespace modOptions;
    if (modGeneral::gMenuHooked) tray_.ReleaseMenuXP();
    modGeneral::gMenuHooked = false;
    session_.StopListening();
    forms::gPop3.Reset();
    tray_.RemoveTrayIcon();
    if (gOpt.RestoreColWidth == 0) layout_.SaveColumnWidths();
    SaveSetting(kAppKey, kOptions, QStringLiteral("SortColumnLastUsed"), gOpt.SortColumnLastUsed);
    SaveSetting(kAppKey, kOptions, QStringLiteral("SortOrder"), QString::number(gOpt.SortOrder));
    vb::Forms::Unload<frmFirstUse>();
    vb::Forms::Unload<frmMessage>();
    rules_.Unload();
    vb::Forms::Unload<frmPreview>();
    forms::DeleteTemporaryMessageFiles();
    ReleaseViews();
}

void frmMain::Form_Resize() {
    if (modGeneral::gLoading) return;
    if (WindowState() == vb::vbMinimized) {
        tray_.MinimiseToTray();
        return;
    }
    layout_.Resize();
}
