#include "component/mime/date_parser.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <ctime>

#include "component/mime/ascii.h"
#include "platform/text/ascii_case.h"

namespace component::mime {
namespace {

constexpr std::array<std::string_view, 8> kWeekdays = {"sun", "mon", "tue", "wed",
                                                       "wen", "thu", "fri", "sat"};
constexpr std::array<std::string_view, 12> kMonths = {"jan", "feb", "mar", "apr", "may", "jun",
                                                      "jul", "aug", "sep", "oct", "nov", "dec"};

struct Zone {
    std::string_view name;
    int minutes;
};
constexpr std::array<Zone, 9> kZones = {{{"gmt", 0},
                                         {"est", -300},
                                         {"edt", -240},
                                         {"cst", -360},
                                         {"cdt", -300},
                                         {"mst", -420},
                                         {"mdt", -360},
                                         {"pst", -480},
                                         {"pdt", -420}}};

class Cursor {
public:
    explicit Cursor(std::string_view s) : s_(s) {}
    bool at_end() const { return i_ >= s_.size(); }
    char peek(std::size_t ahead = 0) const { return i_ + ahead < s_.size() ? s_[i_ + ahead] : '\0'; }
    void skip_blanks(std::string_view also = {}) {
        while (!at_end()) {
            const auto c = static_cast<unsigned char>(s_[i_]);
            if ((c >= 1 && c <= 32) || c >= 128 || also.find(static_cast<char>(c)) != std::string_view::npos)
                ++i_;
            else
                break;
        }
    }
    // Up to `max` digits; the count read goes to `digits`.
    int number(int max, int& digits) {
        int v = 0;
        digits = 0;
        while (digits < max && is_digit(peek())) {
            v = v * 10 + (s_[i_++] - '0');
            ++digits;
        }
        return v;
    }
    std::string_view word() {
        const std::size_t from = i_;
        while (!at_end() && ((s_[i_] >= 'a' && s_[i_] <= 'z') || (s_[i_] >= 'A' && s_[i_] <= 'Z'))) ++i_;
        return s_.substr(from, i_ - from);
    }
    bool take(char c) {
        if (peek() != c || at_end()) return false;
        ++i_;
        return true;
    }

private:
    std::string_view s_;
    std::size_t i_ = 0;
};

template <std::size_t N>
int index_of(const std::array<std::string_view, N>& names, std::string_view word) {
    if (word.size() < 3) return -1;
    for (std::size_t k = 0; k < N; ++k)
        if (text::EqualsNoCase(word.substr(0, 3), names[k])) return static_cast<int>(k);
    return -1;
}

bool leap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }
int days_in_month(int y, int m) {
    constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && leap(y) ? 29 : kDays[m - 1];
}

// Days since 1970-01-01 of a civil date, and back (proleptic Gregorian).
std::int64_t days_from_civil(int y, int m, int d) {
    const std::chrono::year_month_day date{std::chrono::year{y}, std::chrono::month{static_cast<unsigned>(m)},
                                           std::chrono::day{static_cast<unsigned>(d)}};
    return std::chrono::sys_days{date}.time_since_epoch().count();
}

void civil_from_days(std::int64_t z, int& y, int& m, int& d) {
    const std::chrono::year_month_day date{std::chrono::sys_days{std::chrono::days{z}}};
    y = static_cast<int>(date.year());
    m = static_cast<int>(static_cast<unsigned>(date.month()));
    d = static_cast<int>(static_cast<unsigned>(date.day()));
}

int parse_zone(Cursor& c) {
    c.skip_blanks();
    c.take('(');
    c.skip_blanks();
    int sign = 1;
    if (c.take('+')) {
        sign = 1;
    } else if (c.take('-')) {
        sign = -1;
    } else if (!(c.peek() >= '0' && c.peek() <= '2')) {
        const std::string_view name = c.word();
        for (const Zone& z : kZones)
            if (text::EqualsNoCase(name, z.name)) return z.minutes;
        return 0;  // UT, military letters and names we do not know
    }
    int digits = 0;
    const int hhmm = c.number(4, digits);
    if (digits != 4) return 0;
    return sign * ((hhmm / 100) * 60 + hhmm % 100);
}

}  // namespace

std::optional<ParsedDate> parse_rfc822_date(std::string_view text) {
    Cursor c(text);
    ParsedDate out;
    DateTimeFields& f = out.stated;
    c.skip_blanks();
    if (!is_digit(c.peek())) {
        if (index_of(kWeekdays, c.word()) < 0) return std::nullopt;
        c.skip_blanks(",");
    }
    int digits = 0;
    f.day = c.number(2, digits);
    if (digits == 0) return std::nullopt;
    c.skip_blanks("-");
    const int month = index_of(kMonths, c.word());
    if (month < 0) return std::nullopt;
    f.month = month + 1;
    c.skip_blanks("-");
    f.year = c.number(4, digits);
    if (digits == 0 || is_digit(c.peek())) return std::nullopt;
    if (digits <= 2) f.year += f.year < 50 ? 2000 : 1900;
    if (digits == 3) f.year += 1900;
    c.skip_blanks();
    f.hour = c.number(2, digits);
    if (digits == 0 || !c.take(':')) return std::nullopt;
    f.minute = c.number(2, digits);
    if (digits == 0) return std::nullopt;
    if (c.take(':')) {
        f.second = c.number(2, digits);
        if (digits == 0) return std::nullopt;
    }
    out.zone_minutes = parse_zone(c);
    if (f.second == 60) f.second = 59;
    if (f.year < 100 || f.year > 9999 || f.day < 1 || f.day > days_in_month(f.year, f.month) || f.hour > 23 ||
        f.minute > 59 || f.second > 59)
        return std::nullopt;
    return out;
}

std::optional<DateTimeFields> to_local(const ParsedDate& date, int utc_offset_minutes) {
    const DateTimeFields& s = date.stated;
    std::int64_t t =
        days_from_civil(s.year, s.month, s.day) * 86400 + s.hour * 3600 + s.minute * 60 + s.second;
    t += (static_cast<std::int64_t>(utc_offset_minutes) - date.zone_minutes) * 60;
    std::int64_t days = t / 86400;
    std::int64_t secs = t % 86400;
    if (secs < 0) {
        secs += 86400;
        --days;
    }
    DateTimeFields f;
    civil_from_days(days, f.year, f.month, f.day);
    f.hour = static_cast<int>(secs / 3600);
    f.minute = static_cast<int>(secs / 60 % 60);
    f.second = static_cast<int>(secs % 60);
    if (f.year < 100 || f.year > 9999) return std::nullopt;
    return f;
}

int current_utc_offset_minutes() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (localtime_r(&now, &local) == nullptr) return 0;
    return static_cast<int>(local.tm_gmtoff / 60);
}

}  // namespace component::mime
