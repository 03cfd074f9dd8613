#pragma once
// What a deletion on the server does to the message store: which stored
// messages the chosen UIDs name, and the account's messages without them once
// the server has deleted them.
#include <QSet>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace modCheck {

// Per message 1 to gAccounts[account].MsgCount (index 0 unused): whether its UID
// is one of uids. A message without a UID is never chosen: an empty UID
// names no message.
std::vector<bool> ChosenRows(int16_t account, const QStringList& uids);

// Removes the account's messages whose UIDs are in deleted, keeping the
// others in their order; the message count and the previous count become the
// number left, and the delete, spam and new counts are recounted from the
// messages left. What the last check saw of the deleted ones is forgotten.
// Returns the number left.
int16_t CompactMessages(int16_t account, const QSet<QString>& deleted);

}  // namespace modCheck
