#include "platform/com/ole_date.h"

#include <chrono>
#include <cmath>
#include <cstdint>

namespace com {

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

// Days from 1970-01-01 in the proleptic Gregorian calendar, and back.
constexpr std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) noexcept {
    const std::chrono::year_month_day date{std::chrono::year{static_cast<int>(y)}, std::chrono::month{m},
                                           std::chrono::day{d}};
    return std::chrono::sys_days{date}.time_since_epoch().count();
}

struct Civil {
    std::int64_t year;
    unsigned month;
    unsigned day;
};

constexpr Civil CivilFromDays(std::int64_t z) noexcept {
    const std::chrono::year_month_day date{std::chrono::sys_days{std::chrono::days{z}}};
    return {static_cast<int>(date.year()), static_cast<unsigned>(date.month()),
            static_cast<unsigned>(date.day())};
}

constexpr std::int64_t kOleEpochDays = DaysFromCivil(1899, 12, 30);

constexpr bool IsLeapYear(int y) noexcept { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

constexpr int DaysInMonth(int y, int m) noexcept {
    constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeapYear(y) ? 29 : kDays[m - 1];
}

// Floor division for the conversion of a signed count of seconds.
constexpr std::int64_t FloorDiv(std::int64_t a, std::int64_t b) noexcept {
    const std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

}  // namespace

std::optional<DATE> OleDateFromParts(const DateParts& p) {
    if (p.year < 100 || p.year > 9999 || p.month < 1 || p.month > 12 || p.day < 1 ||
        p.day > DaysInMonth(p.year, p.month) || p.hour < 0 || p.hour > 23 || p.minute < 0 || p.minute > 59 ||
        p.second < 0 || p.second > 59)
        return std::nullopt;
    const std::int64_t days =
        DaysFromCivil(p.year, static_cast<unsigned>(p.month), static_cast<unsigned>(p.day)) - kOleEpochDays;
    const double time = static_cast<double>(p.hour * 3600 + p.minute * 60 + p.second) / kSecondsPerDay;
    // Before the epoch the time of day is subtracted: the fraction's
    // magnitude is the time, its sign follows the day.
    return days >= 0 ? static_cast<double>(days) + time : static_cast<double>(days) - time;
}

std::optional<DateParts> OleDateToParts(DATE date) {
    if (!(date >= kMinOleDate - 1.0 && date <= kMaxOleDate + 1.0)) return std::nullopt;  // NaN too
    const double whole = std::trunc(date);
    const double fraction = std::fabs(date - whole);
    // One signed count of seconds from the epoch makes the rounding carry
    // into the right day on both sides of it.
    const std::int64_t seconds = static_cast<std::int64_t>(whole) * kSecondsPerDay +
                                 static_cast<std::int64_t>(std::llround(fraction * kSecondsPerDay));
    const std::int64_t days = FloorDiv(seconds, kSecondsPerDay);
    const std::int64_t secondOfDay = seconds - days * kSecondsPerDay;
    const Civil civil = CivilFromDays(days + kOleEpochDays);
    if (civil.year < 100 || civil.year > 9999) return std::nullopt;
    DateParts parts;
    parts.year = static_cast<int>(civil.year);
    parts.month = static_cast<int>(civil.month);
    parts.day = static_cast<int>(civil.day);
    parts.hour = static_cast<int>(secondOfDay / 3600);
    parts.minute = static_cast<int>(secondOfDay / 60 % 60);
    parts.second = static_cast<int>(secondOfDay % 60);
    // 1970-01-01 was a Thursday.
    const std::int64_t unixDays = days + kOleEpochDays;
    parts.dayOfWeek = static_cast<int>(((unixDays % 7) + 7 + 4) % 7);
    return parts;
}

std::optional<DATE> OleDateFromLocalTime(std::time_t moment) {
    std::tm local{};
    if (!localtime_r(&moment, &local)) return std::nullopt;
    DateParts parts;
    parts.year = local.tm_year + 1900;
    parts.month = local.tm_mon + 1;
    parts.day = local.tm_mday;
    parts.hour = local.tm_hour;
    parts.minute = local.tm_min;
    parts.second = local.tm_sec > 59 ? 59 : local.tm_sec;  // a leap second
    return OleDateFromParts(parts);
}

DATE CurrentOleDate() { return OleDateFromLocalTime(std::time(nullptr)).value_or(0.0); }

}  // namespace com
