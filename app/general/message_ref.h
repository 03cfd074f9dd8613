#pragma once
// A stored message named by its account and the server's UID, so that a
// window showing it keeps acting on that message while the list behind it is
// sorted, refilled by a check or shortened by a deletion: the slot it held is
// only where the search starts.
#include <QDateTime>
#include <QString>
#include <cstdint>
#include <optional>

namespace modGeneral {

struct MessageRef {
    int16_t account = 0;
    int16_t slot = 0;  // where the message was last found; 0 when gone
    QString uid;
    // A message without a UID is known by these instead.
    QString from;
    QString subject;
    std::optional<QDateTime> date;
};

// Whether (account, msg) addresses a message of the store: an account 1 to
// gAccountCount and a message 1 to its MsgCount.
bool IsStoredMessage(int16_t account, int16_t msg);

// The reference of a stored message; account and slot 0 when (account, msg)
// is none, which Locate never finds.
MessageRef RefOf(int16_t account, int16_t msg);

// The slot that holds the message now, kept in ref.slot: the last slot when
// it still holds it, else the first slot of the account that does; 0 when the
// account holds it no more.
int16_t Locate(MessageRef& ref);

}  // namespace modGeneral
