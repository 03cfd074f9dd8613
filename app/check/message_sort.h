#pragma once
// The order of one account's messages in the message store, by one of the
// five visible list columns. The order lives in the store itself: each
// message moves whole, so the list, the preview and the deletion all see the
// messages in the new order.
#include <QString>
#include <cstdint>

namespace modCheck {

// Whether name is one of the five columns a sort accepts: "From", "To",
// "Subject", "Date", "Size" (exact text).
bool IsSortColumn(const QString& name);

// Sorts messages 1 to gAccounts[a].MsgCount of account a by column, ascending when
// descending is false. Texts compare upper-cased by character code; dates in
// time order as the list shows them, a message without a date before every
// other; sizes by their number. Messages with equal keys keep their order. A
// column that is not one of the five changes nothing; the result tells
// whether the store was sorted.
bool SortMessages(int16_t a, const QString& column, bool descending);

}  // namespace modCheck
