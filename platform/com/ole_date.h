#pragma once
// OLE dates: days since 1899-12-30 00:00 as a double. The whole part counts
// days (negative before the epoch) and the fraction is the time of day,
// whose magnitude counts forward from midnight also for negative dates:
// -1.25 is 1899-12-29 06:00, and -0.25 is the same moment as 0.25.
#include <ctime>
#include <optional>

namespace com {

using DATE = double;

// 0100-01-01 00:00:00 and 9999-12-31 23:59:59, the range of valid dates.
inline constexpr DATE kMinOleDate = -657434.0;
inline constexpr DATE kMaxOleDate = 2958465.0 + 86399.0 / 86400.0;

struct DateParts {
    int year = 1899;
    int month = 12;     // 1..12
    int day = 30;       // 1..31
    int hour = 0;       // 0..23
    int minute = 0;     // 0..59
    int second = 0;     // 0..59
    int dayOfWeek = 0;  // 0 = Sunday; filled in by OleDateToParts, ignored on input

    friend bool operator==(const DateParts& a, const DateParts& b) noexcept {
        return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour &&
               a.minute == b.minute && a.second == b.second;
    }
};

// Nullopt when a field is out of range (month 13, 30 February, hour 24, a
// year outside 100..9999).
std::optional<DATE> OleDateFromParts(const DateParts& parts);
// Rounded to the nearest second; nullopt outside the valid range or for NaN.
std::optional<DateParts> OleDateToParts(DATE date);

// The local time of a moment as an OLE date, whole seconds.
std::optional<DATE> OleDateFromLocalTime(std::time_t moment);
DATE CurrentOleDate();

}  // namespace com
