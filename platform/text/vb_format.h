// VB's Format$ for dates, with the pattern letters the program uses, and the
// way back from such a text to a date.
//
// Pattern letters, in either letter case:
//   d dd        day, without / with a leading zero     ddd dddd  Sun / Sunday
//   m mm        month, without / with a leading zero   mmm mmmm  Jan / January
//               (minutes instead when they follow an hour, "h:mm")
//   y           day of the year                        yy yyyy   26 / 2026
//   h hh        hour, 12-hour when the pattern holds AM/PM or A/P
//   n nn        minutes                                s ss      seconds
//   AM/PM am/pm A/P a/p   the half of the day in the pattern's letter case
// "\x" is the character x, text in double quotes is itself, and every other
// character stands for itself (so "at" in "d, yyyy at h:mm" is literal).
// Names are English; "/" and ":" are always "/" and ":" whatever the locale.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/text/vb_date.h"

namespace text {

std::string FormatDate(LocalTime time, std::string_view pattern);

// The date a text made by FormatDate with the same pattern stands for; none
// when the text does not fit the pattern or names no real date (31 April,
// "Mon" for a Tuesday). The text must fit whole: numbers of one letter take
// one or two digits, of two letters exactly two; month and day names match
// without regard to case. Fields the pattern lacks keep DateFields' defaults,
// and a two-digit year 00-49 is 20xx, 50-99 19xx.
std::optional<LocalTime> ParseFormattedDate(std::string_view text, std::string_view pattern);

}  // namespace text
