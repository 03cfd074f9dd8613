#include "component/mime/header_values.h"

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

// First "<" outside double quotes; a quote after a backslash does not count.
std::size_t find_angle(std::string_view v) {
    bool quoted = false;
    for (std::size_t i = 0; i < v.size(); ++i) {
        if (v[i] == '"' && (i == 0 || v[i - 1] != '\\')) quoted = !quoted;
        if (v[i] == '<' && !quoted) return i;
    }
    return std::string_view::npos;
}

bool is_name_trim(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'"' || c == u'\''; }

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

// RFC 2231: attr*=charset'lang'value, or attr*0[*]=..., attr*1[*]=... joined.
std::u16string rfc2231_param(std::string_view params, std::string_view attr) {
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
        if (!text::StartsWithNoCase(name, attr) || name.size() <= attr.size() || name[attr.size()] != '*') continue;
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
    std::string joined;
    for (int i = 0; i < kMaxContinuations && seen[static_cast<std::size_t>(i)]; ++i) joined += parts[static_cast<std::size_t>(i)];
    return decode_charset(charset, joined);
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
    if (const std::size_t lt = find_angle(v); lt != std::string_view::npos) {
        if (const std::size_t gt = v.find('>', lt + 1); gt != std::string_view::npos)
            cand = v.substr(lt + 1, gt - lt - 1);
    }
    while (!cand.empty() && is_space(cand.front())) cand.remove_prefix(1);
    if (const std::size_t blank = cand.find_first_of(" \t\r\n"); blank != std::string_view::npos)
        cand = cand.substr(0, blank);
    if (cand.find('@') == std::string_view::npos) return {};
    return std::string(cand);
}

std::u16string extract_address(std::string_view v) { return raw_header_text(extract_address_bytes(v)); }

std::u16string extract_name(std::string_view v) {
    const std::size_t lt = find_angle(v);
    const std::u16string decoded = decode_encoded_words(lt == std::string_view::npos ? v : v.substr(0, lt));
    std::u16string_view name = decoded;
    while (!name.empty() && is_name_trim(name.front())) name.remove_prefix(1);
    while (!name.empty() && is_name_trim(name.back())) name.remove_suffix(1);
    if (name.find(u'@') != std::u16string_view::npos) return {};
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
    return text::AsciiLowered(trim_space(std::string_view(v).substr(0, v.find(';'))));
}

std::u16string header_param(std::string_view raw, std::string_view param) {
    const std::size_t semi = raw.find(';');
    if (semi == std::string_view::npos) return {};
    const std::string_view params = raw.substr(semi + 1);
    if (const std::size_t at = text::FindNoCase(params, param); at != std::string_view::npos)
        return decode_encoded_words(param_value(params.substr(at + param.size())));
    std::string_view attr = param;
    if (!attr.empty() && attr.back() == '=') attr.remove_suffix(1);
    return rfc2231_param(params, attr);
}

std::u16string content_type_param(const Headers& headers, std::string_view param) {
    return header_param(header_unfolded(headers, "Content-Type"), param);
}

std::string content_type_param_bytes(const Headers& headers, std::string_view param) {
    const std::string raw = header_unfolded(headers, "Content-Type");
    const std::size_t semi = raw.find(';');
    if (semi == std::string::npos) return {};
    const std::string_view params = std::string_view(raw).substr(semi + 1);
    const std::size_t at = text::FindNoCase(params, param);
    return at == std::string_view::npos ? std::string() : std::string(param_value(params.substr(at + param.size())));
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
    if (at == std::string::npos) return {};
    std::string_view rest = std::string_view(v).substr(at + 9);
    std::string_view value;
    if (!rest.empty() && rest[0] == '"') {
        const std::size_t close = rest.find('"', 1);
        if (close == std::string_view::npos) return {};
        value = rest.substr(1, close - 1);
    } else {
        value = rest.substr(0, rest.find_first_of(" \t\r\n"));
    }
    value = value.substr(0, value.find(';'));
    if (value.empty() || value.size() > kMaxBoundary) return {};
    return "--" + std::string(value);
}

}  // namespace component::mime
