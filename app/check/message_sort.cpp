#include "app/check/message_sort.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <vector>

#include "app/accounts/account_table.h"
#include "app/general/message_store.h"
#include "platform/text/vb_format.h"

namespace modCheck {

namespace {

enum class Kind { Text, Number };

// Every message's key: text columns compare by text, dates and sizes by
// number (-1 when the stored text cannot be read, so it sorts first).
struct Key {
    QString text;
    int64_t number = -1;
};

const std::array<QString, 5>& SortColumns() {
    static const std::array<QString, 5> kColumns{QStringLiteral("From"), QStringLiteral("To"),
                                                 QStringLiteral("Subject"), QStringLiteral("Date"),
                                                 QStringLiteral("Size")};
    return kColumns;
}

Key KeyOf(int16_t a, int16_t m, const QString& column) {
    using namespace modGeneral;
    if (column == QLatin1String("From")) return {gMsgFrom(a, m).toUpper()};
    if (column == QLatin1String("To")) return {gMsgTo(a, m).toUpper()};
    if (column == QLatin1String("Subject")) return {gMsgSubject(a, m).toUpper()};
    if (column == QLatin1String("Date")) return {{}, ListDateKey(gMsgDate(a, m)).value_or(-1)};
    bool ok = false;
    const qlonglong kb = gMsgSize(a, m).trimmed().toLongLong(&ok);
    return {{}, ok && kb >= 0 ? kb : -1};
}

}  // namespace

bool IsSortColumn(const QString& name) {
    const auto& columns = SortColumns();
    return std::find(columns.begin(), columns.end(), name) != columns.end();
}

std::optional<int64_t> ListDateKey(const QString& date) {
    // The list's own date format, read back by the same formatter that knows
    // month names, 12-hour clocks and real calendar dates.
    const auto time = text::ParseFormattedDate(date.trimmed().toStdString(), "mmm d, yyyy h:mm:ss AM/PM");
    if (!time) return std::nullopt;
    const text::DateFields f = text::SplitLocalTime(*time);
    return ((((int64_t{f.year} * 100 + f.month) * 100 + f.day) * 100 + f.hour) * 100 + f.minute) * 100 + f.second;
}

void SwapMessages(int16_t a, int16_t i, int16_t j) { modGeneral::ExchangeMessages(a, i, a, j); }

bool SortMessages(int16_t a, const QString& column, bool descending) {
    if (!IsSortColumn(column)) return false;
    const int16_t n = modAccounts::gAcntMsgCount[a];
    if (n < 2) return true;
    const Kind kind =
        column == QLatin1String("Date") || column == QLatin1String("Size") ? Kind::Number : Kind::Text;

    // Keys are built once; the order is found on message numbers and then
    // carried out in the store with at most n - 1 exchanges.
    std::vector<Key> keys(static_cast<size_t>(n) + 1);
    for (int m = 1; m <= n; ++m) keys[static_cast<size_t>(m)] = KeyOf(a, static_cast<int16_t>(m), column);
    const auto less = [&](int16_t x, int16_t y) {
        const Key& kx = keys[static_cast<size_t>(x)];
        const Key& ky = keys[static_cast<size_t>(y)];
        return kind == Kind::Text ? kx.text < ky.text : kx.number < ky.number;
    };
    std::vector<int16_t> order(static_cast<size_t>(n));
    std::iota(order.begin(), order.end(), int16_t{1});
    std::stable_sort(order.begin(), order.end(),
                     [&](int16_t x, int16_t y) { return descending ? less(y, x) : less(x, y); });

    // slotOf[m]: where message m now lies; inSlot[s]: which message lies in s.
    std::vector<int16_t> slotOf(static_cast<size_t>(n) + 1);
    std::vector<int16_t> inSlot(static_cast<size_t>(n) + 1);
    std::iota(slotOf.begin(), slotOf.end(), int16_t{0});
    std::iota(inSlot.begin(), inSlot.end(), int16_t{0});
    for (int slot = 1; slot <= n; ++slot) {
        const auto k = static_cast<int16_t>(slot);
        const int16_t wanted = order[static_cast<size_t>(k - 1)];
        const int16_t from = slotOf[static_cast<size_t>(wanted)];
        if (from == k) continue;
        const int16_t displaced = inSlot[static_cast<size_t>(k)];
        SwapMessages(a, k, from);
        inSlot[static_cast<size_t>(k)] = wanted;
        slotOf[static_cast<size_t>(wanted)] = k;
        inSlot[static_cast<size_t>(from)] = displaced;
        slotOf[static_cast<size_t>(displaced)] = from;
    }
    return true;
}

}  // namespace modCheck
