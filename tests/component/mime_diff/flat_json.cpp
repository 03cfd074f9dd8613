#include "tests/component/mime_diff/flat_json.h"

#include <stdexcept>

#include "platform/text/utf8.h"

namespace mime_diff {

class JsonParser {
public:
    explicit JsonParser(std::string_view text) : s_(text) {}

    JsonValue document() {
        JsonValue v = value(0);
        skip_space();
        if (i_ != s_.size()) fail("trailing text");
        return v;
    }

private:
    // Far deeper than anything the generator writes; keeps hostile input off the stack.
    static constexpr int kMaxDepth = 32;

    [[noreturn]] void fail(const char* why) const {
        throw std::runtime_error(std::string("JSON: ") + why + " at byte " + std::to_string(i_));
    }

    void skip_space() {
        while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\t' || s_[i_] == '\r' || s_[i_] == '\n')) ++i_;
    }

    bool take(char c) {
        skip_space();
        if (i_ < s_.size() && s_[i_] == c) {
            ++i_;
            return true;
        }
        return false;
    }

    void expect(char c) {
        if (!take(c)) fail("unexpected character");
    }

    bool take_word(std::string_view w) {
        if (s_.substr(i_, w.size()) != w) return false;
        i_ += w.size();
        return true;
    }

    JsonValue value(int depth) {
        if (depth > kMaxDepth) fail("nested too deeply");
        skip_space();
        if (i_ >= s_.size()) fail("unexpected end");
        JsonValue v;
        const char c = s_[i_];
        if (c == '{') {
            ++i_;
            v.kind_ = JsonValue::Kind::object;
            if (take('}')) return v;
            do {
                skip_space();
                std::string key = string();
                expect(':');
                v.members_.insert_or_assign(std::move(key), value(depth + 1));
            } while (take(','));
            expect('}');
        } else if (c == '[') {
            ++i_;
            v.kind_ = JsonValue::Kind::array;
            if (take(']')) return v;
            do v.items_.push_back(value(depth + 1));
            while (take(','));
            expect(']');
        } else if (c == '"') {
            v.kind_ = JsonValue::Kind::string;
            v.string_ = string();
        } else if (take_word("null")) {
            v.kind_ = JsonValue::Kind::null;
        } else if (take_word("true")) {
            v.kind_ = JsonValue::Kind::boolean;
            v.bool_ = true;
        } else if (take_word("false")) {
            v.kind_ = JsonValue::Kind::boolean;
        } else {
            v.kind_ = JsonValue::Kind::number;
            v.number_ = integer();
        }
        return v;
    }

    std::int64_t integer() {
        const bool negative = i_ < s_.size() && s_[i_] == '-';
        if (negative) ++i_;
        const std::size_t first = i_;
        std::int64_t n = 0;
        while (i_ < s_.size() && s_[i_] >= '0' && s_[i_] <= '9') {
            if (n > (INT64_MAX - 9) / 10) fail("number out of range");
            n = n * 10 + (s_[i_++] - '0');
        }
        if (i_ == first) fail("not a value");
        if (i_ < s_.size() && (s_[i_] == '.' || s_[i_] == 'e' || s_[i_] == 'E'))
            fail("only integers are read");
        return negative ? -n : n;
    }

    unsigned hex4() {
        if (i_ + 4 > s_.size()) fail("short \\u escape");
        unsigned u = 0;
        for (int k = 0; k < 4; ++k) {
            const char h = s_[i_++];
            u <<= 4;
            if (h >= '0' && h <= '9')
                u |= static_cast<unsigned>(h - '0');
            else if (h >= 'a' && h <= 'f')
                u |= static_cast<unsigned>(h - 'a' + 10);
            else if (h >= 'A' && h <= 'F')
                u |= static_cast<unsigned>(h - 'A' + 10);
            else
                fail("bad \\u escape");
        }
        return u;
    }

    // \u escapes are UTF-16 code units; a run of them is converted at once so
    // surrogate pairs join (an unpaired one becomes U+FFFD).
    std::string string() {
        if (i_ >= s_.size() || s_[i_] != '"') fail("string expected");
        ++i_;
        std::string out;
        std::u16string units;
        for (;;) {
            if (i_ >= s_.size()) fail("unterminated string");
            const char c = s_[i_++];
            if (c == '\\' && i_ < s_.size() && s_[i_] == 'u') {
                ++i_;
                units.push_back(static_cast<char16_t>(hex4()));
                continue;
            }
            out += text::ToUtf8(units);
            units.clear();
            if (c == '"') return out;
            if (c != '\\') {
                out.push_back(c);
                continue;
            }
            if (i_ >= s_.size()) fail("unterminated escape");
            switch (const char e = s_[i_++]) {
                case '"':
                case '\\':
                case '/':
                    out.push_back(e);
                    break;
                case 'b':
                    out.push_back('\b');
                    break;
                case 'f':
                    out.push_back('\f');
                    break;
                case 'n':
                    out.push_back('\n');
                    break;
                case 'r':
                    out.push_back('\r');
                    break;
                case 't':
                    out.push_back('\t');
                    break;
                default:
                    fail("unknown escape");
            }
        }
    }

    std::string_view s_;
    std::size_t i_ = 0;
};

namespace {
[[noreturn]] void wrong_kind(std::string_view what, const char* wanted) {
    throw std::runtime_error("JSON: " + std::string(what) + " is not " + wanted);
}
}  // namespace

const std::string& JsonValue::str(std::string_view what) const {
    if (kind_ != Kind::string) wrong_kind(what, "a string");
    return string_;
}

std::int64_t JsonValue::integer(std::string_view what) const {
    if (kind_ != Kind::number) wrong_kind(what, "a number");
    return number_;
}

bool JsonValue::boolean(std::string_view what) const {
    if (kind_ != Kind::boolean) wrong_kind(what, "true or false");
    return bool_;
}

const std::vector<JsonValue>& JsonValue::items(std::string_view what) const {
    if (kind_ != Kind::array) wrong_kind(what, "an array");
    return items_;
}

const JsonValue& JsonValue::at(std::string_view key) const {
    if (kind_ != Kind::object) wrong_kind(key, "a member of an object");
    const auto it = members_.find(key);
    if (it == members_.end()) throw std::runtime_error("JSON: no member " + std::string(key));
    return it->second;
}

bool JsonValue::has(std::string_view key) const {
    return kind_ == Kind::object && members_.find(key) != members_.end();
}

JsonValue JsonValue::parse(std::string_view text) { return JsonParser(text).document(); }

}  // namespace mime_diff
