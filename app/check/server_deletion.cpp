#include "app/check/server_deletion.h"

#include <QSet>

#include "app/accounts/account_table.h"
#include "app/general/message_store.h"

namespace modCheck {

std::vector<bool> ChosenRows(int16_t a, const QStringList& uids) {
    const int16_t count = modAccounts::gAcntMsgCount[a];
    std::vector<bool> chosen(static_cast<size_t>(count) + 1, false);
    QSet<QString> wanted(uids.begin(), uids.end());
    wanted.remove(QString());
    for (int16_t m = 1; m <= count; ++m) chosen[m] = wanted.contains(modGeneral::gMsgUid(a, m));
    return chosen;
}

int16_t CompactMessages(int16_t a, const std::vector<bool>& chosen) {
    using namespace modAccounts;
    using namespace modGeneral;
    const int16_t count = gAcntMsgCount[a];
    const auto isChosen = [&](int m) { return static_cast<size_t>(m) < chosen.size() && chosen[m]; };
    for (int16_t m = 1; m <= count; ++m) CopyMessageToWork(a, m, m);
    int16_t kept = 0;
    for (int16_t source = 1; source <= count; ++source)
        if (!isChosen(source)) CopyWorkToMessage(source, a, ++kept);
    // The deleted messages' UIDs must not count as seen by the next check.
    for (int m = kept + 1; m <= gMsgLastUid.UBound2(); ++m) gMsgLastUid(a, m).clear();

    gAcntMsgCount[a] = kept;
    gAcntPrevMsgCount[a] = kept;
    int16_t spam = 0, marked = 0, fresh = 0;
    for (int16_t m = 1; m <= kept; ++m) {
        spam += gMsgSpam(a, m);
        marked += gMsgDelete(a, m);
        fresh += gMsgNew(a, m);
    }
    gAcntSpamCount[a] = spam;
    gAcntDeleteCount[a] = marked;
    gAcntNewCount[a] = fresh;
    return kept;
}

}  // namespace modCheck
