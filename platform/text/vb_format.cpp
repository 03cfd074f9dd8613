#include "platform/text/vb_format.h"

#include <algorithm>
#include <vector>

#include "platform/text/ascii_case.h"

namespace text {
namespace {

enum class Field {
    Literal,
    Day,
    DayAbbr,
    DayName,
    DayOfYear,
    Month,
    MonthAbbr,
    MonthName,
    Year2,
    Year4,
    Hour,
    Minute,
    Second,
    AmPm,
};

struct Token {
    Field field = Field::Literal;
    int width = 1;        // digits of a number: 1 = no leading zero, 2 = two digits
    std::string literal;  // Literal: its text; AmPm: the morning and afternoon texts
    std::string pm;
};

struct Pattern {
    std::vector<Token> tokens;
    bool twelve_hour = false;
};

void AddLiteral(std::vector<Token>& tokens, std::string_view text) {
    if (tokens.empty() || tokens.back().field != Field::Literal) {
        tokens.push_back(Token{});
    }
    tokens.back().literal += text;
}

Pattern Tokenize(std::string_view p) {
    Pattern out;
    bool after_hour = false;
    std::size_t i = 0;
    while (i < p.size()) {
        const char c = p[i];
        if (c == '\\') {
            if (i + 1 < p.size()) AddLiteral(out.tokens, p.substr(i + 1, 1));
            i += 2;
            continue;
        }
        if (c == '"') {
            const std::size_t close = p.find('"', i + 1);
            const std::size_t end = close == std::string_view::npos ? p.size() : close;
            AddLiteral(out.tokens, p.substr(i + 1, end - i - 1));
            i = end + 1;
            continue;
        }
        const bool upper = c >= 'A' && c <= 'Z';
        if (StartsWithNoCase(p.substr(i), "am/pm")) {
            out.tokens.push_back(Token{Field::AmPm, 1, upper ? "AM" : "am", upper ? "PM" : "pm"});
            out.twelve_hour = true;
            i += 5;
            continue;
        }
        if (StartsWithNoCase(p.substr(i), "a/p")) {
            out.tokens.push_back(Token{Field::AmPm, 1, upper ? "A" : "a", upper ? "P" : "p"});
            out.twelve_hour = true;
            i += 3;
            continue;
        }
        const char letter = AsciiLower(c);
        if (letter != 'd' && letter != 'm' && letter != 'y' && letter != 'h' && letter != 'n' &&
            letter != 's') {
            AddLiteral(out.tokens, p.substr(i, 1));
            ++i;
            continue;
        }
        std::size_t run = 1;
        while (i + run < p.size() && AsciiLower(p[i + run]) == letter) ++run;
        Token token;
        switch (letter) {
            case 'd':
                run = std::min<std::size_t>(run, 4);
                token.field = run <= 2 ? Field::Day : (run == 3 ? Field::DayAbbr : Field::DayName);
                break;
            case 'm':
                run = std::min<std::size_t>(run, 4);
                if (run <= 2) {
                    token.field = after_hour ? Field::Minute : Field::Month;
                } else {
                    token.field = run == 3 ? Field::MonthAbbr : Field::MonthName;
                }
                break;
            case 'y':
                run = run >= 4 ? 4 : std::min<std::size_t>(run, 2);
                token.field = run == 1 ? Field::DayOfYear : (run == 2 ? Field::Year2 : Field::Year4);
                break;
            case 'h':
                run = std::min<std::size_t>(run, 2);
                token.field = Field::Hour;
                break;
            case 'n':
                run = std::min<std::size_t>(run, 2);
                token.field = Field::Minute;
                break;
            default:  // 's'
                run = std::min<std::size_t>(run, 2);
                token.field = Field::Second;
                break;
        }
        token.width = static_cast<int>(run);
        after_hour = token.field == Field::Hour;
        out.tokens.push_back(std::move(token));
        i += run;
    }
    return out;
}

// The pattern's tokens, made once for the pattern used last on this thread:
// a list of thousands of dates formats them all with the same pattern.
const Pattern& Parsed(std::string_view pattern) {
    // The empty pattern's tokens are the empty Pattern: the first state holds.
    thread_local std::string last;
    thread_local Pattern parsed;
    if (pattern != last) {
        parsed = Tokenize(pattern);
        last.assign(pattern);
    }
    return parsed;
}

void AppendNumber(std::string& out, int value, int width) {
    if (width >= 2 && value < 10) out.push_back('0');
    out += std::to_string(value);
}

int DayOfYear(LocalTime time, int year) {
    const auto first = std::chrono::local_days{std::chrono::year{year} / 1 / 1};
    return static_cast<int>((std::chrono::floor<std::chrono::days>(time) - first).count()) + 1;
}

// Reading back ------------------------------------------------------------

struct Reader {
    std::string_view text;
    std::size_t pos = 0;

    bool Literal(std::string_view s) {
        if (text.substr(pos, s.size()) != s) return false;
        pos += s.size();
        return true;
    }

    std::optional<int> Digits(std::size_t least, std::size_t most) {
        std::size_t n = 0;
        int value = 0;
        while (n < most && pos + n < text.size() && text[pos + n] >= '0' && text[pos + n] <= '9') {
            value = value * 10 + (text[pos + n] - '0');
            ++n;
        }
        if (n < least) return std::nullopt;
        pos += n;
        return value;
    }

    // A one-letter field has one or two digits, a two-letter field two.
    std::optional<int> Number(int width) { return width == 1 ? Digits(1, 2) : Digits(2, 2); }

    // The first of the names (1-based) that the text starts with.
    std::optional<int> Name(int count, std::string_view (*name)(int, bool), bool abbreviate) {
        for (int i = 1; i <= count; ++i) {
            const std::string_view candidate = name(i, abbreviate);
            if (StartsWithNoCase(text.substr(pos), candidate)) {
                pos += candidate.size();
                return i;
            }
        }
        return std::nullopt;
    }
};

}  // namespace

std::string FormatDate(LocalTime time, std::string_view pattern) {
    const Pattern& parsed = Parsed(pattern);
    const DateFields f = SplitLocalTime(time);
    std::string out;
    for (const Token& t : parsed.tokens) {
        switch (t.field) {
            case Field::Literal:
                out += t.literal;
                break;
            case Field::Day:
                AppendNumber(out, f.day, t.width);
                break;
            case Field::DayAbbr:
            case Field::DayName:
                out += WeekdayName(Weekday(time), t.field == Field::DayAbbr);
                break;
            case Field::DayOfYear:
                out += std::to_string(DayOfYear(time, f.year));
                break;
            case Field::Month:
                AppendNumber(out, f.month, t.width);
                break;
            case Field::MonthAbbr:
            case Field::MonthName:
                out += MonthName(f.month, t.field == Field::MonthAbbr);
                break;
            case Field::Year2:
                AppendNumber(out, f.year % 100, 2);
                break;
            case Field::Year4:
                out += std::to_string(f.year);
                break;
            case Field::Hour:
                AppendNumber(out, parsed.twelve_hour ? (f.hour % 12 == 0 ? 12 : f.hour % 12) : f.hour,
                             t.width);
                break;
            case Field::Minute:
                AppendNumber(out, f.minute, t.width);
                break;
            case Field::Second:
                AppendNumber(out, f.second, t.width);
                break;
            case Field::AmPm:
                out += f.hour < 12 ? t.literal : t.pm;
                break;
        }
    }
    return out;
}

std::optional<LocalTime> ParseFormattedDate(std::string_view text, std::string_view pattern) {
    const Pattern& parsed = Parsed(pattern);
    Reader in{text};
    DateFields f;
    std::optional<int> weekday;
    std::optional<bool> afternoon;
    for (const Token& t : parsed.tokens) {
        std::optional<int> value;
        int* target = nullptr;
        switch (t.field) {
            case Field::Literal:
                if (!in.Literal(t.literal)) return std::nullopt;
                continue;
            case Field::AmPm:
                if (StartsWithNoCase(text.substr(in.pos), t.literal)) {
                    afternoon = false;
                    in.pos += t.literal.size();
                } else if (StartsWithNoCase(text.substr(in.pos), t.pm)) {
                    afternoon = true;
                    in.pos += t.pm.size();
                } else {
                    return std::nullopt;
                }
                continue;
            case Field::DayAbbr:
            case Field::DayName:
                value = in.Name(7, WeekdayName, t.field == Field::DayAbbr);
                weekday = value;
                break;
            case Field::DayOfYear:
                value = in.Digits(1, 3);  // read over; the other fields give the date
                break;
            case Field::Day:
                value = in.Number(t.width);
                target = &f.day;
                break;
            case Field::Month:
                value = in.Number(t.width);
                target = &f.month;
                break;
            case Field::MonthAbbr:
            case Field::MonthName:
                value = in.Name(12, MonthName, t.field == Field::MonthAbbr);
                target = &f.month;
                break;
            case Field::Year2:
                value = in.Digits(2, 2);
                if (value) *value += *value < 50 ? 2000 : 1900;
                target = &f.year;
                break;
            case Field::Year4:
                value = in.Digits(4, 4);
                target = &f.year;
                break;
            case Field::Hour:
                value = in.Number(t.width);
                target = &f.hour;
                break;
            case Field::Minute:
                value = in.Number(t.width);
                target = &f.minute;
                break;
            case Field::Second:
                value = in.Number(t.width);
                target = &f.second;
                break;
        }
        if (!value) return std::nullopt;
        if (target != nullptr) *target = *value;
    }
    if (in.pos != text.size()) return std::nullopt;
    if (parsed.twelve_hour) {
        if (f.hour < 1 || f.hour > 12) return std::nullopt;
        f.hour %= 12;
        if (afternoon.value_or(false)) f.hour += 12;
    }
    const std::optional<LocalTime> time = MakeLocalTime(f);
    if (time && weekday && Weekday(*time) != *weekday) return std::nullopt;
    return time;
}

}  // namespace text
