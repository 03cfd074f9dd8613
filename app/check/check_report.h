#pragma once
// What a check run tells the user: the pop-up's headline, the warning about
// downloads that may be incomplete, the progress of a download and which
// new-mail sounds play.
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

#include "app/general/check_status.h"

namespace modCheck {

// The new-mail pop-up's headline by the "ShowEmail" option: 0 new mail only,
// 1 any mail, 2 after every check, with run's totals; nullopt when the run
// shows no pop-up and plays no sound.
std::optional<QString> PopUpHeadline(const modGeneral::CheckRunState& run, bool anyNew, bool anyMail,
                                     const QDateTime& now);

// The warning for the accounts marked incomplete, which incompleteList
// names, or an empty text when none is; either way every mark and the list
// are cleared.
QString TakeDownloadWarning(QString& incompleteList);
// The accounts whose mailbox holds more messages than a check lists, each
// named once per account for the program's run (empty when none is due).
QString TakeListCapNotice();

// The box shown when a check of all accounts checked none.
QString NoAccountsCheckedText();

// The progress bar and the percentage panel for position of total bytes; a
// position past the total counts as the total, and nothing left to fetch
// (total 0) as complete.
struct DownloadProgress {
    int maximum;
    int value;
    QString percentText;
};
DownloadProgress ProgressOf(int32_t position, int32_t total);

// The sounds that announce a check, in the order they play: for one account
// (1 and up) or for a whole run (0). A valid default sound plays once per
// run; without one each account plays its own. An account whose check did
// not connect plays errorSound instead.
QStringList NewMailSounds(int16_t account, const QString& errorSound);

}  // namespace modCheck
