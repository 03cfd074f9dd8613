#include "app/check/message_sort.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <vector>

#include "app/accounts/account_table.h"
#include "app/general/message_store.h"

namespace modCheck {

namespace {

// Every message's key: text columns compare by text, dates and sizes by
// number (-1 for a message without a date, so it sorts first).
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

// The wall-clock time the list shows, in whole seconds.
int64_t DateKey(const std::optional<QDateTime>& date) {
    if (!date || !date->isValid()) return -1;
    return date->date().toJulianDay() * 86400 + date->time().msecsSinceStartOfDay() / 1000;
}

Key KeyOf(const modGeneral::StoredMessage& m, const QString& column) {
    if (column == QLatin1String("From")) return {m.From.toUpper()};
    if (column == QLatin1String("To")) return {m.To.toUpper()};
    if (column == QLatin1String("Subject")) return {m.Subject.toUpper()};
    if (column == QLatin1String("Date")) return {{}, DateKey(m.Date)};
    return {{}, m.Size};
}

}  // namespace

bool IsSortColumn(const QString& name) {
    const auto& columns = SortColumns();
    return std::find(columns.begin(), columns.end(), name) != columns.end();
}

bool SortMessages(int16_t a, const QString& column, bool descending) {
    if (!IsSortColumn(column)) return false;
    std::vector<modGeneral::StoredMessage>& messages = modGeneral::AccountRow(a).Messages;
    const auto n = std::min<size_t>(
        static_cast<size_t>(std::max<int16_t>(modAccounts::gAccounts[a].MsgCount, 0)), messages.size());
    if (n < 2) return true;
    const bool text = column != QLatin1String("Date") && column != QLatin1String("Size");

    // Keys are built once; the order is found on positions and the messages
    // are then moved into it.
    std::vector<Key> keys(n);
    for (size_t i = 0; i < n; ++i) keys[i] = KeyOf(messages[i], column);
    const auto less = [&](size_t x, size_t y) {
        return text ? keys[x].text < keys[y].text : keys[x].number < keys[y].number;
    };
    std::vector<size_t> order(n);
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t x, size_t y) { return descending ? less(y, x) : less(x, y); });
    std::vector<modGeneral::StoredMessage> sorted;
    sorted.reserve(messages.size());
    for (const size_t i : order) sorted.push_back(std::move(messages[i]));
    for (size_t i = n; i < messages.size(); ++i) sorted.push_back(std::move(messages[i]));
    messages = std::move(sorted);
    return true;
}

}  // namespace modCheck
