// The program's date and time values: a local wall-clock time to the second,
// what a VB Date holds for it (timers, stamps, message dates). Calendar
// arithmetic is std::chrono's; this adds the pieces the program reads off a
// date (Year, Month, Day, Hour, Minute, Second, Weekday) and the clock.
#pragma once

#include <chrono>
#include <ctime>
#include <optional>
#include <string_view>

namespace text {

using LocalTime = std::chrono::local_seconds;

struct DateFields {
    int year = 1899;  // VB's day zero, 30 December 1899, for texts without a date
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;

    friend bool operator==(const DateFields&, const DateFields&) = default;
};

// None when a field is out of its range (month 13, 30 February, hour 24 ...):
// unlike DateSerial nothing rolls over into the next field.
std::optional<LocalTime> MakeLocalTime(const DateFields& fields);
DateFields SplitLocalTime(LocalTime time);

// 1 = Sunday ... 7 = Saturday, as VB's Weekday.
int Weekday(LocalTime time);

// The computer's local time now (Now), and of a time_t, by the process's
// time zone.
LocalTime Now();
LocalTime LocalTimeFromTimeT(std::time_t t);

// English names: the program's texts are English whatever the locale, so a
// stored date reads back the same everywhere.
std::string_view MonthName(int month, bool abbreviate);      // 1 = January
std::string_view WeekdayName(int weekday, bool abbreviate);  // 1 = Sunday

}  // namespace text
