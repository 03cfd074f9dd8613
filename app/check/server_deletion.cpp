#include "app/check/server_deletion.h"

#include <algorithm>

#include "app/accounts/account_table.h"
#include "app/general/message_store.h"

namespace modCheck {

std::vector<bool> ChosenRows(int16_t a, const QStringList& uids) {
    const int16_t count = modAccounts::gAccounts[a].MsgCount;
    std::vector<bool> chosen(static_cast<size_t>(std::max<int16_t>(count, 0)) + 1, false);
    QSet<QString> wanted(uids.begin(), uids.end());
    wanted.remove(QString());
    for (int m = 1; m <= count; ++m) chosen[m] = wanted.contains(modGeneral::Msg(a, m).Uid);
    return chosen;
}

int16_t CompactMessages(int16_t a, const QSet<QString>& deleted) {
    using namespace modAccounts;
    modGeneral::AccountMessages& row = modGeneral::AccountRow(a);
    std::vector<modGeneral::StoredMessage> kept;
    int16_t spam = 0, marked = 0, fresh = 0;
    for (int m = 1; m <= gAccounts[a].MsgCount; ++m) {
        modGeneral::StoredMessage& message = modGeneral::Msg(a, m);
        if (!message.Uid.isEmpty() && deleted.contains(message.Uid)) {
            // Gone from the server: its UID must not count as seen.
            row.LastSeen.remove(message.Uid);
            continue;
        }
        spam += message.Spam;
        marked += message.Delete;
        fresh += message.New;
        kept.push_back(std::move(message));
    }
    row.Messages = std::move(kept);
    const auto left = static_cast<int16_t>(row.Messages.size());
    gAccounts[a].MsgCount = left;
    gAccounts[a].PrevMsgCount = left;
    gAccounts[a].SpamCount = spam;
    gAccounts[a].DeleteCount = marked;
    gAccounts[a].NewCount = fresh;
    return left;
}

}  // namespace modCheck
