#include "component/mime/mime_tree.h"

#include <cstring>

#include "component/mime/header_values.h"

namespace component::mime {
namespace {

// A line (at most one LF, at its end) cut at its first CR or LF.
std::string_view cut_line(std::string_view line) {
    if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
    if (const void* cr = std::memchr(line.data(), '\r', line.size()))
        line = line.substr(0, static_cast<std::size_t>(static_cast<const char*>(cr) - line.data()));
    return line;
}

}  // namespace

std::string node_media_type(const MimeNode& n) {
    if (n.in_digest && find_header(n.headers, "Content-Type") == nullptr) return "message/rfc822";
    return media_type(n.headers);
}

// The line break before a delimiter line belongs to the delimiter (RFC 2046 5.1.1).
void MimeTree::trim_line_break(MimeNode& part) const {
    std::size_t ce = part.end;
    const std::size_t body = part.start + part.header_length;
    if (ce > body && message_[ce - 1] == '\n') --ce;
    if (ce > body && message_[ce - 1] == '\r') --ce;
    part.content_end = ce;
}

std::string_view MimeTree::body(const MimeNode& n) const {
    const std::size_t from = n.start + n.header_length;
    return from < n.end ? message_.substr(from, n.end - from) : std::string_view();
}

std::string_view MimeTree::content(const MimeNode& n) const {
    const std::size_t from = n.start + n.header_length;
    return from < n.content_end ? message_.substr(from, n.content_end - from) : std::string_view();
}

std::string MimeTree::preamble(const MimeNode& n) const {
    std::string out;
    std::string_view rest = message_.substr(n.preamble_begin, n.preamble_end - n.preamble_begin);
    while (!rest.empty()) {
        const std::size_t lf = rest.find('\n');
        const std::size_t next = lf == std::string_view::npos ? rest.size() : lf + 1;
        out += cut_line(rest.substr(0, next));
        out += "\r\n";
        rest.remove_prefix(next);
    }
    return out;
}

MimeTree MimeTree::parse(std::string_view message) {
    MimeTree tree;
    tree.message_ = message;
    MimeNode root;
    root.end = message.size();
    root.content_end = message.size();
    root.size = static_cast<std::int64_t>(message.size());
    tree.nodes_.push_back(std::move(root));
    // Breadth-first over an index: no recursion, whatever the nesting.
    for (std::uint32_t i = 0; i < tree.nodes_.size(); ++i) {
        MimeNode& n = tree.nodes_[i];
        HeaderBlock block = parse_header_block(tree.bytes(n), n.is_part);
        n.headers = std::move(block.headers);
        n.headers_ok = block.ok;
        n.header_length = block.length;
        if (n.depth >= kMaxDepth) continue;
        const std::string delimiter = multipart_delimiter(n.headers);
        if (!delimiter.empty()) tree.scan_parts(i, delimiter);
    }
    return tree;
}

void MimeTree::scan_parts(std::uint32_t parent, std::string_view delimiter) {
    const std::size_t from = nodes_[parent].start + nodes_[parent].header_length;
    const std::size_t to = nodes_[parent].end;
    const int depth = nodes_[parent].depth + 1;
    const bool digest = media_type(nodes_[parent].headers) == "multipart/digest";
    nodes_[parent].preamble_begin = nodes_[parent].preamble_end = from;
    std::int64_t open = -1;  // node index of the open part
    std::int64_t running = 0;
    std::size_t pos = from;
    while (pos < to) {
        const std::size_t line_start = pos;
        const std::size_t lf = message_.find('\n', pos);
        pos = (lf == std::string_view::npos || lf >= to) ? to : lf + 1;
        const std::string_view text = cut_line(message_.substr(line_start, pos - line_start));
        const bool is_delimiter = text.substr(0, delimiter.size()) == delimiter;
        if (is_delimiter || open < 0) {
            if (is_delimiter && text.size() >= delimiter.size() + 2 &&
                text.substr(delimiter.size(), 2) == "--") {
                if (open >= 0) trim_line_break(nodes_[static_cast<std::size_t>(open)]);
                open = -1;  // the closing line: the epilogue is not read
                break;
            }
            if (!is_delimiter) {
                nodes_[parent].preamble_end = pos;
            } else if (nodes_.size() >= kMaxParts) {
                open = -1;
                break;
            } else {
                if (open >= 0) trim_line_break(nodes_[static_cast<std::size_t>(open)]);
                MimeNode part;
                part.start = part.end = part.content_end = line_start;
                part.depth = depth;
                part.is_part = true;
                part.in_digest = digest;
                open = static_cast<std::int64_t>(nodes_.size());
                nodes_[parent].children.push_back(static_cast<std::uint32_t>(open));
                nodes_.push_back(std::move(part));
                running = 0;
            }
        }
        running += static_cast<std::int64_t>(text.size()) + 2;
        if (open >= 0 && (is_delimiter || pos < to)) {
            MimeNode& part = nodes_[static_cast<std::size_t>(open)];
            part.end = part.content_end = pos;
            part.size = running;
        }
    }
    if (open >= 0) {
        MimeNode& part = nodes_[static_cast<std::size_t>(open)];
        part.end = part.content_end = pos;
    }
}

}  // namespace component::mime
