#include "app/check/check_report.h"

#include <algorithm>

#include "app/accounts/account_table.h"
#include "app/common/date_text.h"
#include "app/general/check_status.h"
#include "app/options/option_values.h"
#include "platform/text/vb_number.h"

namespace modCheck {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// Whether account a has what the "ShowEmail" option announces.
bool Announces(int16_t a) {
    using namespace modAccounts;
    switch (modOptions::gOpt.ShowEmail) {
        case 0:
            return gAccounts[a].HasNewMail;
        case 1:
            return gAccounts[a].HasMail;
        case 2:
            return true;
        default:
            return false;
    }
}

// An account's sound: the default one when valid, else its own when valid;
// the error sound when its check did not connect.
std::optional<QString> AccountSound(int16_t a, const QString& errorSound) {
    using namespace modAccounts;
    if (gAccounts[a].Connected) {
        if (modOptions::gDefaultSoundValid) return modOptions::gOpt.DefaultSound;
        if (gAccounts[a].SoundValid) return gAccounts[a].Sound;
        return std::nullopt;
    }
    if (gAccounts[a].SoundOn != 0 && modGeneral::gSoundsOn) return errorSound;
    return std::nullopt;
}

}  // namespace

std::optional<QString> PopUpHeadline(const modGeneral::CheckRunState& run, bool anyNew, bool anyMail,
                                     const QDateTime& now) {
    const QString time = FormatDate(now, "h:mm AM/PM");
    switch (modOptions::gOpt.ShowEmail) {
        case 0:
            if (!anyNew) return std::nullopt;
            return QString::number(run.TotalNewCount) + QStringLiteral(" New Message(s) found at ") + time;
        case 1:
            if (!anyMail) return std::nullopt;
            return QString::number(run.TotalMsgCount) + QStringLiteral(" Message(s) found at ") + time;
        case 2:
            if (!anyMail) return QStringLiteral("No Message(s) found at ") + time;
            return QString::number(run.TotalMsgCount) + QStringLiteral(" Message(s) found at ") + time;
        default:
            return std::nullopt;
    }
}

QString TakeDownloadWarning(QString& incompleteList) {
    using namespace modAccounts;
    int count = 0;
    for (int a = 1; a <= gAccountCount; ++a) {
        if (gAccounts[a].Incomplete) ++count;
        gAccounts[a].Incomplete = false;
    }
    const QString list = incompleteList;
    incompleteList.clear();
    if (count == 0) return {};
    const QString word = count == 1 ? QStringLiteral("Account") : QStringLiteral("Accounts");
    return QStringLiteral("The following ") + word + QStringLiteral(" may not have completely") +
           QString(15, QChar(' ')) + kCrLf + QStringLiteral("downloaded all messages.") + kCrLf + list +
           kCrLf + QStringLiteral("This may be due to a lost connection or a") + kCrLf +
           QStringLiteral("Connection TimeOut if the message was large.") + kCrLf +
           QStringLiteral("Try checking the ") + word + QStringLiteral(" again.") + kCrLf + kCrLf +
           QStringLiteral("If the problem persits you could try increasing the") + kCrLf +
           QStringLiteral("Connection TimeOut in Program Options/Defaults.") + kCrLf + kCrLf +
           QStringLiteral("Please Note: Before re-checking you may need to") + kCrLf +
           QStringLiteral("temporarily turn off 'Allow Quick Checking'.");
}

QString TakeListCapNotice() {
    using namespace modAccounts;
    QString names;
    for (int a = 1; a <= gAccountCount; ++a) {
        if (!gAccounts[a].MoreThanListed || gAccounts[a].MoreThanListedTold) continue;
        gAccounts[a].MoreThanListedTold = true;
        names += gAccounts[a].Name + kCrLf;
    }
    if (names.isEmpty()) return {};
    return QStringLiteral("These mailboxes hold 32767 messages or more:") + kCrLf + names + kCrLf +
           QStringLiteral("Only their first 32767 messages are listed; the others are not shown.");
}

QString NoAccountsCheckedText() {
    return QStringLiteral("No Accounts were checked for messags!") + QString(10, QChar(' ')) + kCrLf + kCrLf +
           QStringLiteral("Only Enabled Accounts are checked with") + kCrLf +
           QStringLiteral("the Check All button.") + kCrLf + kCrLf +
           QStringLiteral("See the Accounts page.") + kCrLf;
}

DownloadProgress ProgressOf(int32_t position, int32_t total) {
    if (total <= 0) return {1, 1, QStringLiteral("100 % Complete")};
    position = std::clamp(position, 0, total);
    const double percent = text::RoundHalfEven(static_cast<double>(position) / total * 100.0);
    return {total, position, QString::number(static_cast<int>(percent)) + QStringLiteral(" % Complete")};
}

QStringList NewMailSounds(int16_t account, const QString& errorSound) {
    using namespace modAccounts;
    QStringList sounds;
    if (!modGeneral::gSoundsOn || modOptions::gOpt.PlaySound == 0) return sounds;
    const auto play = [&](int16_t a) {
        if (const auto sound = AccountSound(a, errorSound)) sounds << *sound;
    };
    if (account != 0) {
        if (gAccounts[account].SoundOn != 0 && Announces(account)) play(account);
        return sounds;
    }
    for (int a = 1; a <= gAccountCount; ++a) {
        if (gAccounts[a].Enabled != 1) continue;
        if (modOptions::gDefaultSoundValid) {
            // One sound per run: the first account with something to announce.
            if (Announces(a)) {
                play(a);
                break;
            }
        } else if (gAccounts[a].SoundOn != 0 && Announces(a)) {
            play(a);
        }
    }
    return sounds;
}

}  // namespace modCheck
