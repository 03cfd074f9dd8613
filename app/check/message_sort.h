#pragma once
// The order of one account's messages in the message store, by one of the
// five visible list columns. The order lives in the store itself: every field
// of a message moves with it, so the list, the preview and the deletion all
// see the messages in the new order.
#include <QString>
#include <cstdint>
#include <optional>

namespace modCheck {

// Whether name is one of the five columns a sort accepts: "From", "To",
// "Subject", "Date", "Size" (exact text).
bool IsSortColumn(const QString& name);

// The moment a list date ("MMM dd, yyyy hh:mm:ss AM/PM", English month
// names) names, as the number yyyyMMddHHmmss; nullopt when it is no such date.
std::optional<int64_t> ListDateKey(const QString& date);

// Exchanges messages i and j of account a in all thirteen store arrays.
void SwapMessages(int16_t a, int16_t i, int16_t j);

// Sorts messages 1 to gAcntMsgCount(a) of account a by column, ascending when
// descending is false. Texts compare upper-cased by character code; dates in
// time order, an empty or unreadable date before every other; sizes by their
// number, an unreadable size before every other. Messages with equal keys keep
// their order. A column that is not one of the five changes nothing; the
// result tells whether the store was sorted.
bool SortMessages(int16_t a, const QString& column, bool descending);

}  // namespace modCheck
