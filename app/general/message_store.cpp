#include "app/general/message_store.h"

#include <algorithm>
#include <utility>

#include "app/accounts/account_table.h"

namespace modGeneral {

int16_t gMaxMsgCount = 0;

VbArray2<bool> gMsgNew;
VbArray2<bool> gMsgSpam;
VbArray2<bool> gMsgDelete;
VbArray2<bool> gMsgAttach;
VbArray2<QString> gMsgFrom;
VbArray2<QString> gMsgTo;
VbArray2<QString> gMsgSubject;
VbArray2<QString> gMsgDate;
VbArray2<QString> gMsgSize;
VbArray2<QString> gMsgPlainText;
VbArray2<QString> gMsgUid;
VbArray2<QString> gMsgLastUid;
VbArray2<QString> gMsgBody;

VbArray<bool> gTmpMsgNew;
VbArray<bool> gTmpMsgSpam;
VbArray<bool> gTmpMsgDelete;
VbArray<bool> gTmpMsgAttach;
VbArray<QString> gTmpMsgFrom;
VbArray<QString> gTmpMsgTo;
VbArray<QString> gTmpMsgSubject;
VbArray<QString> gTmpMsgDate;
VbArray<QString> gTmpMsgSize;
VbArray<QString> gTmpMsgPlainText;
VbArray<QString> gTmpMsgUid;
VbArray<QString> gTmpMsgLastUid;
VbArray<QString> gTmpMsgBody;

namespace {

// Calls f(storeArray, workArray) for the thirteen pairs in their listed order.
template <typename F>
void ForEachArray(F&& f) {
    f(gMsgNew, gTmpMsgNew);
    f(gMsgSpam, gTmpMsgSpam);
    f(gMsgDelete, gTmpMsgDelete);
    f(gMsgAttach, gTmpMsgAttach);
    f(gMsgFrom, gTmpMsgFrom);
    f(gMsgTo, gTmpMsgTo);
    f(gMsgSubject, gTmpMsgSubject);
    f(gMsgDate, gTmpMsgDate);
    f(gMsgSize, gTmpMsgSize);
    f(gMsgPlainText, gTmpMsgPlainText);
    f(gMsgUid, gTmpMsgUid);
    f(gMsgLastUid, gTmpMsgLastUid);
    f(gMsgBody, gTmpMsgBody);
}

}  // namespace

void ResizeMessageArrays(int16_t n) {
    if (n < 0) return;
    const int accounts = modAccounts::gAccountCount;
    ForEachArray([&](auto& store, auto& work) {
        store.RedimPreserve(accounts, n);
        work.Redim(n);
    });
}

void ResizeMessageStoreAccounts(int16_t accountCount, int16_t maxMsg) {
    ForEachArray([&](auto& store, auto&) {
        std::remove_reference_t<decltype(store)> next;
        next.Redim(accountCount, maxMsg);
        const int lastAccount = std::min<int>(accountCount - 1, store.UBound1());
        for (int a = 1; a <= lastAccount; ++a) {
            const int count = std::min({int{modAccounts::gAcntMsgCount[a]}, store.UBound2(), int{maxMsg}});
            for (int m = 1; m <= count; ++m) next(a, m) = std::move(store(a, m));
        }
        store = std::move(next);
    });
}

namespace {

// Messages 1 to count of account, within the rows the store holds.
int StoredRows(int16_t account, int count) {
    if (!gMsgNew.Contains(account, 0)) return 0;
    return std::min(count, gMsgNew.UBound2());
}

}  // namespace

void RemoveAccountRows(int16_t d, int16_t last) {
    for (int16_t i = d; i < last; ++i) {
        const auto next = static_cast<int16_t>(i + 1);
        const int rows = std::min(StoredRows(next, modAccounts::gAcntMsgCount[next]), StoredRows(i, gMsgNew.UBound2()));
        for (int16_t m = 1; m <= rows; ++m) CopyMessage(next, m, i, m);
    }
}

void ExchangeAccountRows(int16_t a, int16_t b) {
    const int most = std::max(modAccounts::gAcntMsgCount[a], modAccounts::gAcntMsgCount[b]);
    const int rows = std::min(StoredRows(a, most), StoredRows(b, most));
    for (int16_t m = 1; m <= rows; ++m) ExchangeMessages(a, m, b, m);
}

void ExchangeMessages(int16_t a, int16_t i, int16_t b, int16_t j) {
    ForEachArray([&](auto& store, auto&) { std::swap(store(a, i), store(b, j)); });
}

void CopyMessage(int16_t fromAccount, int16_t fromMsg, int16_t toAccount, int16_t toMsg) {
    ForEachArray([&](auto& store, auto&) { store(toAccount, toMsg) = store(fromAccount, fromMsg); });
}

void CopyMessageToWork(int16_t account, int16_t msg, int16_t work) {
    ForEachArray([&](auto& store, auto& tmp) { tmp[work] = store(account, msg); });
}

void CopyWorkToMessage(int16_t work, int16_t account, int16_t msg) {
    ForEachArray([&](auto& store, auto& tmp) { store(account, msg) = tmp[work]; });
}

QString RawMessageText(int16_t account, int16_t msg) {
    return gMsgBody(account, msg) + QStringLiteral("\r\n\r\n") + gMsgPlainText(account, msg);
}

}  // namespace modGeneral
