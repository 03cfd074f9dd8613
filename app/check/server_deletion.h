#pragma once
// What a deletion on the server does to the message store: which stored
// messages the chosen UIDs name, and the account's rows without them once the
// server has deleted them.
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace modCheck {

// Per row 1 to gAcntMsgCount(account) (index 0 unused): whether its UID is
// one of uids. A row without a UID is never chosen: an empty UID names no
// message.
std::vector<bool> ChosenRows(int16_t account, const QStringList& uids);

// Removes the chosen rows from the account, moving the others up in order
// with all their fields; the message count and the previous count become the
// number left, the delete, spam and new counts are recounted from the rows
// left. Rows above the new count no longer count and keep no last UID.
// Returns the number left.
int16_t CompactMessages(int16_t account, const std::vector<bool>& chosen);

}  // namespace modCheck
