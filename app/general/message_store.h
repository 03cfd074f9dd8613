#pragma once
// The message store: for every account, the messages the last check
// downloaded, as thirteen arrays indexed (account, message). Row 0 and slot 0
// hold no message; the messages of account a are 1 to gAcntMsgCount(a).
// Beside it lie thirteen one-account work arrays for the server-side deletion.
// Every operation here handles the thirteen in the order they are declared.

#include <QString>
#include <cstdint>

#include "app/common/vb_array.h"

namespace modGeneral {

// The message bound: 0 at start, only grows.
extern int16_t gMaxMsgCount;

extern VbArray2<bool> gMsgNew;
extern VbArray2<bool> gMsgSpam;
extern VbArray2<bool> gMsgDelete;
extern VbArray2<bool> gMsgAttach;
extern VbArray2<QString> gMsgFrom;
extern VbArray2<QString> gMsgTo;
extern VbArray2<QString> gMsgSubject;
extern VbArray2<QString> gMsgDate;
extern VbArray2<QString> gMsgSize;  // KB as decimal text
extern VbArray2<QString> gMsgPlainText;
extern VbArray2<QString> gMsgUid;
extern VbArray2<QString> gMsgLastUid;
extern VbArray2<QString> gMsgBody;

extern VbArray<bool> gTmpMsgNew;
extern VbArray<bool> gTmpMsgSpam;
extern VbArray<bool> gTmpMsgDelete;
extern VbArray<bool> gTmpMsgAttach;
extern VbArray<QString> gTmpMsgFrom;
extern VbArray<QString> gTmpMsgTo;
extern VbArray<QString> gTmpMsgSubject;
extern VbArray<QString> gTmpMsgDate;
extern VbArray<QString> gTmpMsgSize;
extern VbArray<QString> gTmpMsgPlainText;
extern VbArray<QString> gTmpMsgUid;
extern VbArray<QString> gTmpMsgLastUid;
extern VbArray<QString> gTmpMsgBody;

// Grows the store to accounts 0 to gAccountCount and messages 0 to n, keeping
// every element both the old and the new bounds hold (the store may still have
// the extra row a deleted account left), and re-creates the work arrays empty.
// A negative n changes nothing.
void ResizeMessageArrays(int16_t n);

// Re-creates the store with accounts 0 to accountCount and messages 0 to
// maxMsg, carrying over messages 1 to gAcntMsgCount(a) of accounts 1 to
// accountCount - 1; everything else starts false or empty.
void ResizeMessageStoreAccounts(int16_t accountCount, int16_t maxMsg);

// Account d's messages leave the store: the messages of accounts d + 1 to
// last move to the account number before theirs (messages 1 to their
// gAcntMsgCount, read before the account table shifts).
void RemoveAccountRows(int16_t d, int16_t last);
// Accounts a and b exchange their messages (1 to the larger of their
// gAcntMsgCount).
void ExchangeAccountRows(int16_t a, int16_t b);

// Exchanges message (a, i) with message (b, j) in all thirteen arrays.
void ExchangeMessages(int16_t a, int16_t i, int16_t b, int16_t j);
// Copies message (fromAccount, fromMsg) over (toAccount, toMsg).
void CopyMessage(int16_t fromAccount, int16_t fromMsg, int16_t toAccount, int16_t toMsg);
// Copies message (account, msg) into slot work of the work arrays, and back.
void CopyMessageToWork(int16_t account, int16_t msg, int16_t work);
void CopyWorkToMessage(int16_t work, int16_t account, int16_t msg);

// The raw text of a message: its body, a blank line, its plain text.
QString RawMessageText(int16_t account, int16_t msg);

}  // namespace modGeneral
