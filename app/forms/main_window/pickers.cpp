// The mail-client and sound pickers: a usable default always wins over an
// account's own.
#include <QDir>
#include <QFileInfo>

#include "app/accounts/account_table.h"
#include "app/forms/main_window/command_keys.h"
#include "app/forms/main_window/pickers.h"

#include "app/forms/common/wave_sound.h"
#include "app/forms/main_window/window_slots.h"
#include "app/general/check_status.h"
#include "app/options/option_values.h"
#include "app/options/options_edit.h"
#include "platform/desktop/program_file.h"
#include "platform/ui/app_info.h"
#include "platform/ui/common_dialog.h"
#include "platform/ui/msg_box.h"
#include "platform/ui/text_box.h"

using modAccounts::gCurrentAccount;

namespace {

constexpr int16_t kOptionsPicker = 0;
constexpr int16_t kAccountsPicker = 1;

// Linux programs carry no extension: any file may be a program, or its
// desktop entry.
const QString kClientFilter = QStringLiteral("All Files (*)|*|");
const QString kSoundFilter = QStringLiteral("(*.wav)|*.wav|");

bool UsableClient(const QString& path) { return platform::desktop::IsUsableProgram(path); }

// The edit copy of the shown account; slot 0's (the blank account) when no
// account exists, as the Accounts page shows it then.
modAccounts::AccountSettings& ShownAccount() {
    using modAccounts::gAccounts;
    return gAccounts[gAccounts.Contains(gCurrentAccount) ? gCurrentAccount : int16_t(0)].Edit;
}

// The dialog's starting folder: the folder of the path in the box (the box
// itself when it names a folder), else fallback.
QString StartFolder(const QString& path, const QString& fallback) {
    if (path.isEmpty()) return fallback;
    const QFileInfo file(path);
    return file.isDir() ? file.absoluteFilePath() : file.absolutePath();
}

// The file chosen in the open dialog, or nothing on a cancel.
std::optional<QString> ChooseFile(const QString& initDir, const QString& filter) {
    vb::CommonDialog dialog;
    dialog.InitDir = initDir;
    dialog.Filter = filter;
    dialog.Flags = vb::cdlOFNHideReadOnly | vb::cdlOFNLongNames;
    if (!dialog.ShowOpen() || dialog.FileName.isEmpty()) return std::nullopt;
    return dialog.FileName;
}

// What a picker's Test tries: on the Options page the pending default; on
// the Accounts page the saved default, else the account's pending path.
// Empty when none is usable; nothing for a picker of neither page.
std::optional<QString> PathInForce(int16_t picker, const QString& pendingDefault, const QString& savedDefault,
                                   const QString& pendingOwn, bool (*usable)(const QString&)) {
    if (picker == kOptionsPicker) return usable(pendingDefault) ? pendingDefault : QString();
    if (picker != kAccountsPicker) return std::nullopt;
    if (usable(savedDefault)) return savedDefault;
    return usable(pendingOwn) ? pendingOwn : QString();
}

void ShowPickerError(const QString& title, const QString& failed, const QString& appears,
                     const QString& rule1, const QString& rule2) {
    const QString crlf = QStringLiteral("\r\n");
    const QString text = failed + crlf + crlf + appears + QString(20, QLatin1Char(' ')) + crlf +
                         QStringLiteral("do not exist or have changed location.") + crlf + crlf + rule1 +
                         crlf + rule2 + crlf + crlf;
    // A failure warns.
    vb::MsgBox(text, vb::vbExclamation | vb::vbOKOnly, modGeneral::gAppName + QStringLiteral(" - ") + title);
}

}  // namespace

Pickers::Pickers(frmMainDesign& design, forms::CommandKeys& commands, Host& host)
    : boxes_(design), host_(host) {
    WirePickers(commands);
}

void Pickers::Browse(QString& path, vb::TextBox& box, const QString& fallbackFolder, const QString& filter) {
    host_.RunDialogWithChecksPaused([&](QWidget*) {
        const std::optional<QString> chosen = ChooseFile(StartFolder(path, fallbackFolder), filter);
        if (!chosen) return;
        path = *chosen;
        box.SetText(*chosen);
    });
}

void Pickers::BrowseClient() {
    using namespace modOptions;
    if (mPickerIndex == kOptionsPicker)
        Browse(gEditOpt.DefaultClient, boxes_.txtDefaultClient, vb::App::Path(), kClientFilter);
    else if (mPickerIndex == kAccountsPicker)
        Browse(ShownAccount().Client, boxes_.txtAcntClient, vb::App::Path(), kClientFilter);
}

void Pickers::BrowseSound() {
    using namespace modOptions;
    const QString sounds = QDir(vb::App::DataPath()).filePath(QStringLiteral("Sounds")) + QLatin1Char('/');
    // The sound's name under the Accounts page's box is the box's change
    // handler's to show: it knows whether the file is usable.
    if (mPickerIndex == kOptionsPicker)
        Browse(gEditOpt.DefaultSound, boxes_.txtDefaultSound, sounds, kSoundFilter);
    else if (mPickerIndex == kAccountsPicker)
        Browse(ShownAccount().Sound, boxes_.txtAcntSound, sounds, kSoundFilter);
}

void Pickers::TestEmailClient() {
    using namespace modOptions;
    const std::optional<QString> client = PathInForce(
        mPickerIndex, gEditOpt.DefaultClient, gOpt.DefaultClient, ShownAccount().Client, UsableClient);
    if (!client) return;
    // A program that will not start is reported like a wrong path.
    if (client->isEmpty() || !platform::desktop::StartProgram(*client)) ShowClientError();
}

void Pickers::TestSound() {
    using namespace modOptions;
    const std::optional<QString> sound = PathInForce(mPickerIndex, gEditOpt.DefaultSound, gOpt.DefaultSound,
                                                     ShownAccount().Sound, IsUsableSound);
    if (!sound) return;
    // A test plays whether or not sounds are switched on.
    if (sound->isEmpty())
        ShowSoundError();
    else
        forms::PlayWaveNow(*sound);
}

void Pickers::RunEmailClient() {
    using namespace modAccounts;
    // The switches may be older than the files: each path is tried as it is now.
    QString client;
    if (modOptions::gDefaultClientValid && UsableClient(modOptions::gOpt.DefaultClient))
        client = modOptions::gOpt.DefaultClient;
    else if (gAccounts.Contains(gCurrentAccount) && gAccounts[gCurrentAccount].ClientValid &&
             UsableClient(gAccounts[gCurrentAccount].Client))
        client = gAccounts[gCurrentAccount].Client;
    if (client.isEmpty() || !platform::desktop::StartProgram(client)) ShowClientError();
}

void Pickers::ShowClientError() {
    ShowPickerError(QStringLiteral("Email Client Error"), QStringLiteral("The Email Client Program failed!"),
                    QStringLiteral("It appears the path and/or filename"),
                    QStringLiteral("The FileName must be a program"),
                    QStringLiteral("or a '.desktop' entry to work properly."));
}

void Pickers::ShowSoundError() {
    ShowPickerError(QStringLiteral("Sound Error"), QStringLiteral("The Sound File failed!"),
                    QStringLiteral("It appears the path and/or sound file"),
                    QStringLiteral("The Sound File must have a file extension"),
                    QStringLiteral("that ends with '.wav' to work properly."));
}

void Pickers::WirePickers(forms::CommandKeys& commands) {
    boxes_.mnuTrayRunClient.Click = [this] { RunEmailClient(); };
    // Either page's picker tool bar tells the picker which page it serves.
    const auto picker = [this](void (Pickers::*action)()) {
        return [this, action](int16_t index) {
            mPickerIndex = index;
            (this->*action)();
        };
    };
    commands.Add(u"tbrClient", u"Browse", picker(&Pickers::BrowseClient));
    commands.Add(u"tbrClient", u"Test", picker(&Pickers::TestEmailClient));
    commands.Add(u"tbrSound", u"Browse", picker(&Pickers::BrowseSound));
    commands.Add(u"tbrSound", u"Test", picker(&Pickers::TestSound));
    commands.Add(u"tbrButtons", forms::bar::kStartEmailClient, u"StartEmailClient",
                 [this](int16_t) { RunEmailClient(); });
}
