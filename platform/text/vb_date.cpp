#include "platform/text/vb_date.h"

#include <array>

namespace text {
namespace {

using std::chrono::days;
using std::chrono::floor;
using std::chrono::local_days;

constexpr std::array<std::string_view, 12> kMonths = {"January",   "February", "March",    "April",
                                                      "May",       "June",     "July",     "August",
                                                      "September", "October",  "November", "December"};
constexpr std::array<std::string_view, 7> kWeekdays = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                       "Thursday", "Friday", "Saturday"};

}  // namespace

std::optional<LocalTime> MakeLocalTime(const DateFields& f) {
    const std::chrono::year_month_day ymd{std::chrono::year{f.year},
                                          std::chrono::month{static_cast<unsigned>(f.month)},
                                          std::chrono::day{static_cast<unsigned>(f.day)}};
    // year's own range is -32767..32767; VB's dates run from 100 to 9999.
    if (f.year < 100 || f.year > 9999 || f.month < 1 || f.day < 1 || !ymd.ok()) {
        return std::nullopt;
    }
    if (f.hour < 0 || f.hour > 23 || f.minute < 0 || f.minute > 59 || f.second < 0 || f.second > 59) {
        return std::nullopt;
    }
    return local_days{ymd} + std::chrono::hours{f.hour} + std::chrono::minutes{f.minute} +
           std::chrono::seconds{f.second};
}

DateFields SplitLocalTime(LocalTime time) {
    const auto day = floor<days>(time);
    const std::chrono::year_month_day ymd{day};
    const std::chrono::hh_mm_ss hms{time - day};
    return DateFields{static_cast<int>(ymd.year()),
                      static_cast<int>(static_cast<unsigned>(ymd.month())),
                      static_cast<int>(static_cast<unsigned>(ymd.day())),
                      static_cast<int>(hms.hours().count()),
                      static_cast<int>(hms.minutes().count()),
                      static_cast<int>(hms.seconds().count())};
}

int Weekday(LocalTime time) {
    return static_cast<int>(std::chrono::weekday{floor<days>(time)}.c_encoding()) + 1;
}

LocalTime LocalTimeFromTimeT(std::time_t t) {
    std::tm tm{};
    localtime_r(&t, &tm);
    const std::chrono::year_month_day ymd{std::chrono::year{tm.tm_year + 1900},
                                          std::chrono::month{static_cast<unsigned>(tm.tm_mon + 1)},
                                          std::chrono::day{static_cast<unsigned>(tm.tm_mday)}};
    // A leap second (tm_sec 60) counts as the last second of its minute.
    const int second = tm.tm_sec > 59 ? 59 : tm.tm_sec;
    return local_days{ymd} + std::chrono::hours{tm.tm_hour} + std::chrono::minutes{tm.tm_min} +
           std::chrono::seconds{second};
}

LocalTime Now() { return LocalTimeFromTimeT(std::time(nullptr)); }

std::string_view MonthName(int month, bool abbreviate) {
    if (month < 1 || month > 12) return {};
    const std::string_view name = kMonths[static_cast<std::size_t>(month - 1)];
    return abbreviate ? name.substr(0, 3) : name;
}

std::string_view WeekdayName(int weekday, bool abbreviate) {
    if (weekday < 1 || weekday > 7) return {};
    const std::string_view name = kWeekdays[static_cast<std::size_t>(weekday - 1)];
    return abbreviate ? name.substr(0, 3) : name;
}

}  // namespace text
