#include "app/general/message_ref.h"

#include "app/accounts/account_table.h"
#include "app/general/message_store.h"

namespace modGeneral {
namespace {

bool Holds(const MessageRef& ref, int16_t msg) {
    if (!IsStoredMessage(ref.account, msg) || gMsgUid(ref.account, msg) != ref.uid) return false;
    // Two messages without a UID are the same only when they look the same.
    return !ref.uid.isEmpty() ||
           (gMsgFrom(ref.account, msg) == ref.from && gMsgSubject(ref.account, msg) == ref.subject &&
            gMsgDate(ref.account, msg) == ref.date);
}

}  // namespace

bool IsStoredMessage(int16_t account, int16_t msg) {
    using namespace modAccounts;
    return account >= 1 && account <= gAccountCount && gAcntMsgCount.Contains(account) && msg >= 1 &&
           msg <= gAcntMsgCount[account] && gMsgUid.Contains(account, msg);
}

MessageRef RefOf(int16_t account, int16_t msg) {
    MessageRef ref;
    if (!IsStoredMessage(account, msg)) return ref;
    ref.account = account;
    ref.slot = msg;
    ref.uid = gMsgUid(account, msg);
    ref.from = gMsgFrom(account, msg);
    ref.subject = gMsgSubject(account, msg);
    ref.date = gMsgDate(account, msg);
    return ref;
}

int16_t Locate(MessageRef& ref) {
    if (Holds(ref, ref.slot)) return ref.slot;
    const int16_t last = IsStoredMessage(ref.account, 1) ? modAccounts::gAcntMsgCount[ref.account] : 0;
    for (int16_t m = 1; m <= last; ++m)
        if (Holds(ref, m)) return ref.slot = m;
    return ref.slot = 0;
}

}  // namespace modGeneral
