#include "component/mime/header_block.h"

#include "component/mime/ascii.h"
#include "platform/text/ascii_case.h"

namespace component::mime {
namespace {

// One line by the buffer rule: up to LF, one CR before it dropped.
struct Line {
    std::string_view text;
    std::size_t next = 0;  // offset after the line end
};

Line take_line(std::string_view range, std::size_t pos) {
    const std::size_t lf = range.find('\n', pos);
    Line line;
    if (lf == std::string_view::npos) {
        line.text = range.substr(pos);
        line.next = range.size();
    } else {
        line.text = range.substr(pos, lf - pos);
        line.next = lf + 1;
        if (!line.text.empty() && line.text.back() == '\r') line.text.remove_suffix(1);
    }
    return line;
}

// A field name never holds a colon (RFC 5322): the name ends at the first
// one, and one blank after it belongs to the separator. Splitting at the
// first ": " instead would read "Subject:Re: hi" as a field "Subject:Re".
void add_header_line(Headers& headers, std::string_view line) {
    const std::size_t split = line.find(':');
    if (split == std::string_view::npos) return;
    std::size_t value_at = split + 1;
    if (value_at < line.size() && line[value_at] == ' ') ++value_at;
    if (headers.size() >= kMaxHeaders) return;
    headers.push_back(Header{std::string(line.substr(0, split)), std::string(line.substr(value_at))});
}

}  // namespace

HeaderBlock parse_header_block(std::string_view range, bool skip_first_line) {
    HeaderBlock block;
    std::size_t pos = 0;
    if (skip_first_line && pos < range.size()) pos = take_line(range, pos).next;
    while (pos < range.size()) {
        const Line line = take_line(range, pos);
        pos = line.next;
        if (line.text.empty()) break;
        if (is_blank(line.text.front())) {
            if (block.headers.empty()) {
                // A block that begins with a continuation has no usable headers.
                block.ok = false;
                block.length = 0;
                return block;
            }
            std::string& value = block.headers.back().value;
            value += "\r\n";
            value += line.text;
            continue;
        }
        add_header_line(block.headers, line.text);
    }
    block.length = pos;
    return block;
}

const Header* find_header(const Headers& headers, std::string_view name) noexcept {
    for (const Header& h : headers)
        if (text::EqualsNoCase(h.name, name)) return &h;
    return nullptr;
}

std::vector<const Header*> find_all_headers(const Headers& headers, std::string_view name) {
    std::vector<const Header*> found;
    for (const Header& h : headers)
        if (text::EqualsNoCase(h.name, name)) found.push_back(&h);
    return found;
}

std::string unfold(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '\r' && i + 2 < value.size() && value[i + 1] == '\n' && is_blank(value[i + 2])) {
            ++i;  // skip CR LF, keep the blank
            continue;
        }
        if (c == '\n' && i + 1 < value.size() && is_blank(value[i + 1])) continue;
        out.push_back(c);
    }
    return out;
}

std::string headers_to_string(const Headers& headers) {
    std::string out;
    for (const Header& h : headers) {
        out += h.name;
        out += ": ";
        out += h.value;
        out += "\r\n";
    }
    return out;
}

}  // namespace component::mime
