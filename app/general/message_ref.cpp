#include "app/general/message_ref.h"

#include "app/accounts/account_table.h"
#include "app/general/message_store.h"

namespace modGeneral {
namespace {

bool Holds(const MessageRef& ref, int16_t msg) {
    if (!IsStoredMessage(ref.account, msg)) return false;
    const StoredMessage& stored = Msg(ref.account, msg);
    if (stored.Uid != ref.uid) return false;
    // Two messages without a UID are the same only when they look the same.
    return !ref.uid.isEmpty() ||
           (stored.From == ref.from && stored.Subject == ref.subject && stored.Date == ref.date);
}

}  // namespace

bool IsStoredMessage(int16_t account, int16_t msg) {
    using namespace modAccounts;
    return account >= 1 && account <= gAccountCount && gAccounts.Contains(account) && msg >= 1 &&
           msg <= gAccounts[account].MsgCount && static_cast<size_t>(account) < gMessageStore.size() &&
           static_cast<size_t>(msg) <= gMessageStore[static_cast<size_t>(account)].Messages.size();
}

MessageRef RefOf(int16_t account, int16_t msg) {
    MessageRef ref;
    if (!IsStoredMessage(account, msg)) return ref;
    const StoredMessage& stored = Msg(account, msg);
    ref.account = account;
    ref.slot = msg;
    ref.uid = stored.Uid;
    ref.from = stored.From;
    ref.subject = stored.Subject;
    ref.date = stored.Date;
    return ref;
}

int16_t Locate(MessageRef& ref) {
    if (Holds(ref, ref.slot)) return ref.slot;
    const int16_t last = IsStoredMessage(ref.account, 1) ? modAccounts::gAccounts[ref.account].MsgCount : 0;
    for (int m = 1; m <= last; ++m)
        if (Holds(ref, m)) return ref.slot = m;
    return ref.slot = 0;
}

}  // namespace modGeneral
