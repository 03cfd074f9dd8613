// The MIME structure of one message as byte ranges of its text: the message
// node and, for multipart bodies, a part node per delimiter line, nested.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "component/mime/header_block.h"

namespace component::mime {

// Deeper multiparts are leaves; more parts than this in one message are not made.
inline constexpr int kMaxDepth = 64;
inline constexpr std::size_t kMaxParts = 10000;

struct MimeNode {
    std::size_t start = 0;          // first byte; a part begins with its delimiter line
    std::size_t end = 0;            // one past the last byte: where the next delimiter line begins
    std::size_t header_length = 0;  // start to the first body byte (delimiter line, headers, empty line)
    std::size_t content_end = 0;    // end without the line break that belongs to the next delimiter
    std::int64_t size = 0;  // a part's counted size (line lengths + 2 each); the range size for the message
    std::size_t preamble_begin = 0;  // lines before the first delimiter line (multipart only)
    std::size_t preamble_end = 0;
    int depth = 0;
    bool is_part = false;    // its first line is a delimiter line, not a header
    bool headers_ok = true;  // false when the header block began with a continuation line
    bool in_digest = false;  // a part of a multipart/digest: message/rfc822 unless it says otherwise
    Headers headers;
    std::vector<std::uint32_t> children;  // part nodes in file order
};

// The node's media type, lower case: its Content-Type's, else the default
// of where it stands (message/rfc822 in a digest, text/plain elsewhere).
std::string node_media_type(const MimeNode& n);

class MimeTree {
public:
    // Scans the message (node 0) and every nested multipart. `message` must
    // outlive the tree; nothing is copied but the headers.
    static MimeTree parse(std::string_view message);

    const MimeNode& node(std::size_t i) const { return nodes_[i]; }
    const MimeNode& root() const { return nodes_.front(); }
    std::size_t size() const noexcept { return nodes_.size(); }
    std::string_view message() const noexcept { return message_; }

    // [start, end): what Save writes.
    std::string_view bytes(const MimeNode& n) const { return message_.substr(n.start, n.end - n.start); }
    // [start + header length, end): what attachments and DecodedText decode.
    std::string_view body(const MimeNode& n) const;
    // body without the line break before the next delimiter line.
    std::string_view content(const MimeNode& n) const;
    // The preamble lines, each cut at its first CR or LF and ended by CR LF.
    std::string preamble(const MimeNode& n) const;

private:
    void scan_parts(std::uint32_t parent, std::string_view delimiter);
    void trim_line_break(MimeNode& part) const;

    std::string_view message_;
    std::vector<MimeNode> nodes_;
};

}  // namespace component::mime
