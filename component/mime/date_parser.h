// The "Date" header (RFC 5322 3.3 and its obsolete forms) to broken-down
// local time. Conversion to an OLE date belongs to the COM layer.
#pragma once

#include <optional>
#include <string_view>

namespace component::mime {

struct DateTimeFields {
    int year = 0;
    int month = 0;  // 1..12
    int day = 0;    // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
    friend bool operator==(const DateTimeFields&, const DateTimeFields&) = default;
};

struct ParsedDate {
    DateTimeFields stated;  // as written, validated
    int zone_minutes = 0;   // east of UTC; unknown zone names are 0
    friend bool operator==(const ParsedDate&, const ParsedDate&) = default;
};

// Accepts an optional weekday, day, month name, year of 2 to 4 digits
// (00-49 are 20xx, 50-99 are 19xx, 3 digits add 1900), h:mm[:ss] with one- or
// two-digit fields, and a zone as +hhmm/-hhmm, a bare hhmm, a name, or any of
// these in parentheses. Nothing: an unknown month, a missing field, or a value
// out of range (a leap second 60 reads as 59).
std::optional<ParsedDate> parse_rfc822_date(std::string_view text);

// The stated time moved to UTC and then by `utc_offset_minutes` (the
// computer's current offset, applied to every date alike).
std::optional<DateTimeFields> to_local(const ParsedDate& date, int utc_offset_minutes);

// The computer's current local-minus-UTC offset in minutes.
int current_utc_offset_minutes();

inline std::optional<DateTimeFields> parse_date_local(std::string_view text, int utc_offset_minutes) {
    const auto parsed = parse_rfc822_date(text);
    if (!parsed) return std::nullopt;
    return to_local(*parsed, utc_offset_minutes);
}

}  // namespace component::mime
