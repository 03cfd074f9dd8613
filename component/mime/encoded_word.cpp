#include "component/mime/encoded_word.h"

#include "component/mime/ascii.h"
#include "component/mime/base64_decoder.h"
#include "component/mime/charset_text.h"
#include "component/mime/header_block.h"
#include "component/mime/hex.h"
#include "platform/text/ascii_case.h"
#include "platform/text/code_page.h"
#include "platform/text/utf8.h"

namespace component::mime {
namespace {

std::string decode_q(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '_') {
            out.push_back(' ');
        } else if (c == '=' && i + 2 < text.size() && hex_value(text[i + 1]) >= 0 &&
                   hex_value(text[i + 2]) >= 0) {
            out.push_back(static_cast<char>(hex_value(text[i + 1]) * 16 + hex_value(text[i + 2])));
            i += 2;
        } else {
            out.push_back(c);
        }
    }
    return out;
}

struct Word {
    std::string_view charset;
    char encoding = 0;  // 'b' or 'q'
    std::string_view text;
    std::size_t end = 0;  // offset after "?="
};

enum class Parse { ok, not_a_word, no_close };

// Parses the word whose "=?" is at `at`.
Parse parse_word(std::string_view s, std::size_t at, Word& w) {
    std::size_t i = at + 2;
    while (i < s.size() && s[i] != '?' && static_cast<unsigned char>(s[i]) > ' ') ++i;
    if (i >= s.size() || s[i] != '?' || i == at + 2) return Parse::not_a_word;
    w.charset = s.substr(at + 2, i - at - 2);
    if (i + 2 >= s.size() || s[i + 2] != '?') return Parse::not_a_word;
    w.encoding = text::AsciiLower(s[i + 1]);
    if (w.encoding != 'b' && w.encoding != 'q') return Parse::not_a_word;
    const std::size_t text_at = i + 3;
    const std::size_t close = s.find("?=", text_at);
    if (close == std::string_view::npos) return Parse::no_close;
    w.text = s.substr(text_at, close - text_at);
    w.end = close + 2;
    return Parse::ok;
}

bool all_space(std::string_view s) {
    for (char c : s)
        if (!is_space(c)) return false;
    return true;
}

}  // namespace

std::u16string decode_encoded_words(std::string_view value) {
    const bool utf8 = is_well_formed_utf8(value);
    const auto append_text = [utf8](std::u16string& out, std::string_view s) {
        if (utf8)
            text::AppendFromUtf8(out, s);
        else
            text::AppendFromAnsi(out, s);
    };
    std::u16string out;
    out.reserve(value.size());
    // Adjacent words of one charset are converted together: a sender may
    // split one multi-byte character across two words (RFC 2047 6.2).
    std::string pending;
    std::string_view pendingCharset;
    const auto flush = [&] {
        if (!pendingCharset.empty()) out += decode_charset(pendingCharset, pending);
        pending.clear();
        pendingCharset = {};
    };
    std::size_t pos = 0;
    bool after_word = false;
    while (pos < value.size()) {
        std::size_t at = value.find("=?", pos);
        if (at == std::string_view::npos) break;
        Word w;
        const Parse p = parse_word(value, at, w);
        if (p == Parse::no_close) break;  // no "?=" anywhere further: the rest is text
        if (p == Parse::not_a_word) {
            flush();
            append_text(out, value.substr(pos, at + 2 - pos));
            pos = at + 2;
            after_word = false;
            continue;
        }
        const std::string_view between = value.substr(pos, at - pos);
        std::string_view charset = w.charset;
        if (const auto star = charset.find('*'); star != std::string_view::npos)
            charset = charset.substr(0, star);
        const bool joins = after_word && all_space(between);
        if (!joins || !text::EqualsNoCase(charset, pendingCharset)) flush();
        if (!joins) append_text(out, between);
        std::string bytes = w.encoding == 'q' ? decode_q(w.text) : decode_base64(w.text);
        if (const auto nul = bytes.find('\0'); nul != std::string::npos) bytes.resize(nul);
        pending += bytes;
        pendingCharset = charset;
        pos = w.end;
        after_word = true;
    }
    flush();
    if (pos < value.size()) append_text(out, value.substr(pos));
    return out;
}

std::u16string decode_header_value(std::string_view raw_value) {
    return decode_encoded_words(unfold(raw_value));
}

}  // namespace component::mime
