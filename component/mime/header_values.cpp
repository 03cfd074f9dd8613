#include "component/mime/header_values.h"

#include <algorithm>
#include <array>

#include "component/mime/ascii.h"
#include "component/mime/charset_text.h"
#include "component/mime/encoded_word.h"
#include "component/mime/hex.h"
#include "platform/text/ascii_case.h"
#include "platform/text/code_page.h"

namespace component::mime {
namespace {

// RFC 2046 allows 70 characters; longer values are refused rather than cut.
constexpr std::size_t kMaxBoundary = 1021;
constexpr int kMaxContinuations = 64;

// First of `chars` outside double quotes; a quote after a backslash does not count.
std::size_t find_unquoted(std::string_view v, std::string_view chars) {
    bool quoted = false;
    for (std::size_t i = 0; i < v.size(); ++i) {
        if (v[i] == '"' && (i == 0 || v[i - 1] != '\\'))
            quoted = !quoted;
        else if (!quoted && chars.find(v[i]) != std::string_view::npos)
            return i;
    }
    return std::string_view::npos;
}

bool is_name_trim(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'"' || c == u'\'';
}

std::string_view param_value(std::string_view rest) {
    if (rest.empty()) return rest;
    if (rest[0] == '"' || rest[0] == '\'') {
        const std::size_t close = rest.find(rest[0], 1);
        return close == std::string_view::npos ? rest.substr(1) : rest.substr(1, close - 1);
    }
    const std::size_t end = rest.find_first_of("; \t\r\n");
    return end == std::string_view::npos ? rest : rest.substr(0, end);
}

std::string percent_decode(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() && hex_value(s[i + 1]) >= 0 && hex_value(s[i + 2]) >= 0) {
            out.push_back(static_cast<char>(hex_value(s[i + 1]) * 16 + hex_value(s[i + 2])));
            i += 2;
        } else {
            out.push_back(s[i]);
        }
    }
    return out;
}

// "" (a single attr*=) is 0; one or two digits; anything else -1.
int continuation_index(std::string_view digits) {
    if (digits.size() > 2) return -1;
    int index = 0;
    for (const char c : digits) {
        if (!is_digit(c)) return -1;
        index = index * 10 + (c - '0');
    }
    return index < kMaxContinuations ? index : -1;
}

struct ExtendedParam {
    std::string charset;
    std::string bytes;  // the pieces joined, percent-decoded where marked so
};

// RFC 2231: attr*=charset'lang'value, or attr*0[*]=..., attr*1[*]=... joined.
ExtendedParam rfc2231_bytes(std::string_view params, std::string_view attr) {
    std::array<std::string, kMaxContinuations> parts;
    std::array<bool, kMaxContinuations> seen{};
    std::string charset;
    std::size_t pos = 0;
    while (pos < params.size()) {
        // One parameter: up to the next ";" outside quotes.
        std::size_t end = pos;
        bool quoted = false;
        while (end < params.size() && (quoted || params[end] != ';')) {
            if (params[end] == '"') quoted = !quoted;
            if (params[end] == '\\' && quoted) ++end;
            ++end;
        }
        const std::string_view p = trim_space(params.substr(pos, std::min(end, params.size()) - pos));
        pos = end + 1;
        const std::size_t eq = p.find('=');
        if (eq == std::string_view::npos) continue;
        std::string_view name = trim_space(p.substr(0, eq));
        if (!text::StartsWithNoCase(name, attr) || name.size() <= attr.size() || name[attr.size()] != '*')
            continue;
        name.remove_prefix(attr.size() + 1);
        const bool extended = name.empty() || name.back() == '*';
        if (!name.empty() && name.back() == '*') name.remove_suffix(1);
        const int index = continuation_index(name);
        if (index < 0 || seen[static_cast<std::size_t>(index)]) continue;
        std::string_view v = trim_space(p.substr(eq + 1));
        if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
        if (extended && index == 0) {
            const std::size_t q1 = v.find('\'');
            const std::size_t q2 = q1 == std::string_view::npos ? q1 : v.find('\'', q1 + 1);
            if (q2 != std::string_view::npos) {
                charset.assign(v.substr(0, q1));
                v.remove_prefix(q2 + 1);
            }
        }
        parts[static_cast<std::size_t>(index)] = extended ? percent_decode(v) : std::string(v);
        seen[static_cast<std::size_t>(index)] = true;
    }
    ExtendedParam result{std::move(charset), {}};
    for (int i = 0; i < kMaxContinuations && seen[static_cast<std::size_t>(i)]; ++i)
        result.bytes += parts[static_cast<std::size_t>(i)];
    return result;
}

std::u16string rfc2231_param(std::string_view params, std::string_view attr) {
    const ExtendedParam p = rfc2231_bytes(params, attr);
    return decode_charset(p.charset, p.bytes);
}

// The parameters after the first ";" of a header value; empty when none.
std::string_view params_of(std::string_view value) {
    const std::size_t semi = value.find(';');
    return semi == std::string_view::npos ? std::string_view() : value.substr(semi + 1);
}

std::string_view without_equals(std::string_view param) {
    if (!param.empty() && param.back() == '=') param.remove_suffix(1);
    return param;
}

}  // namespace

std::string header_unfolded(const Headers& headers, std::string_view name) {
    const Header* h = find_header(headers, name);
    return h ? unfold(h->value) : std::string();
}

std::u16string header_text(const Headers& headers, std::string_view name) {
    const Header* h = find_header(headers, name);
    return h ? decode_header_value(h->value) : std::u16string();
}

std::string extract_address_bytes(std::string_view v) {
    std::string_view cand = v;
    if (const std::size_t lt = find_unquoted(v, "<"); lt != std::string_view::npos) {
        if (const std::size_t gt = v.find('>', lt + 1); gt != std::string_view::npos)
            cand = v.substr(lt + 1, gt - lt - 1);
    }
    while (!cand.empty() && is_space(cand.front())) cand.remove_prefix(1);
    // A quoted local part may hold blanks ("System Administrator"@example.com).
    if (const std::size_t blank = find_unquoted(cand, " \t\r\n"); blank != std::string_view::npos)
        cand = cand.substr(0, blank);
    if (cand.find('@') == std::string_view::npos) return {};
    return std::string(cand);
}

std::u16string extract_address(std::string_view v) { return raw_header_text(extract_address_bytes(v)); }

std::u16string extract_name(std::string_view v) {
    const std::size_t lt = find_unquoted(v, "<");
    const std::string_view before = lt == std::string_view::npos ? v : v.substr(0, lt);
    // An "@" outside quotes makes the text an address, not a name; inside
    // quotes ("a@b.org" <a@b.org>) it is part of the name. One that only an
    // encoded word brings is an address posing as a name.
    if (find_unquoted(before, "@") != std::string_view::npos) return {};
    const std::u16string decoded = decode_encoded_words(before);
    if (std::count(decoded.begin(), decoded.end(), u'@') > std::count(before.begin(), before.end(), '@'))
        return {};
    std::u16string_view name = decoded;
    while (!name.empty() && is_name_trim(name.front())) name.remove_prefix(1);
    while (!name.empty() && is_name_trim(name.back())) name.remove_suffix(1);
    return std::u16string(name);
}

PrioritiesEnum priority(const Headers& headers) {
    for (const std::string_view name : {"Importance", "X-MSMail-Priority"}) {
        const std::string v = text::AsciiLowered(trim_space(header_unfolded(headers, name)));
        if (v.empty()) continue;
        if (v == "high") return HighPriority;
        if (v == "low") return LowPriority;
        return NormalPriority;
    }
    const std::string v(trim_space(header_unfolded(headers, "X-Priority")));
    int n = 0;
    for (std::size_t i = 0; i < v.size() && i < 9 && is_digit(v[i]); ++i) n = n * 10 + (v[i] - '0');
    if (n == 1) return HighPriority;
    if (n == 5) return LowPriority;
    return NormalPriority;
}

std::u16string content_type_only(const Headers& headers) {
    const std::u16string v = header_text(headers, "Content-Type");
    return v.substr(0, v.find(u';'));
}

std::string media_type(const Headers& headers) {
    const Header* h = find_header(headers, "Content-Type");
    if (h == nullptr) return "text/plain";
    const std::string v = unfold(h->value);
    std::string type = text::AsciiLowered(trim_space(std::string_view(v).substr(0, v.find(';'))));
    // "text" without a subtype is plain text, as no Content-Type at all is.
    if (type == "text") type = "text/plain";
    return type;
}

std::u16string header_param(std::string_view raw, std::string_view param) {
    const std::string_view params = params_of(raw);
    if (const std::size_t at = text::FindNoCase(params, param); at != std::string_view::npos)
        return decode_encoded_words(param_value(params.substr(at + param.size())));
    return rfc2231_param(params, without_equals(param));
}

std::u16string content_type_param(const Headers& headers, std::string_view param) {
    return header_param(header_unfolded(headers, "Content-Type"), param);
}

std::string content_type_param_bytes(const Headers& headers, std::string_view param) {
    const std::string raw = header_unfolded(headers, "Content-Type");
    const std::string_view params = params_of(raw);
    const std::size_t at = text::FindNoCase(params, param);
    if (at != std::string_view::npos) return std::string(param_value(params.substr(at + param.size())));
    return rfc2231_bytes(params, without_equals(param)).bytes;
}

std::u16string content_name(const Headers& headers) {
    std::u16string name = content_type_param(headers, "name=");
    if (name.empty()) name = content_type_param(headers, "filename=");
    return name;
}

std::string multipart_delimiter(const Headers& headers) {
    const std::string v = header_unfolded(headers, "Content-Type");
    if (text::FindNoCase(v, "multipart/") == std::string::npos) return {};
    const std::size_t at = text::FindNoCase(v, "boundary=");
    std::string extended;
    std::string_view value;
    if (at == std::string::npos) {
        // RFC 2231 forms (boundary*=, boundary*0=...) hold a boundary too.
        extended = rfc2231_bytes(params_of(v), "boundary").bytes;
        value = extended;
    } else {
        std::string_view rest = std::string_view(v).substr(at + 9);
        if (!rest.empty() && rest[0] == '"') {
            const std::size_t close = rest.find('"', 1);
            if (close == std::string_view::npos) return {};
            value = rest.substr(1, close - 1);
        } else {
            value = rest.substr(0, rest.find_first_of(" \t\r\n"));
        }
        value = value.substr(0, value.find(';'));
    }
    if (value.empty() || value.size() > kMaxBoundary) return {};
    return "--" + std::string(value);
}

}  // namespace component::mime
