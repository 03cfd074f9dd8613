// The header block of a message or part: lines up to the first empty line,
// split into name and value exactly as the message model shows them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace component::mime {

struct Header {
    std::string name;   // letter case as written, not trimmed
    std::string value;  // raw 8-bit value; a folded header keeps CR LF + continuation line
};

using Headers = std::vector<Header>;

// More header lines than a 16-bit count can show are dropped; the getters
// only ever use the first match, so nothing visible is lost.
inline constexpr std::size_t kMaxHeaders = 32767;

struct HeaderBlock {
    Headers headers;
    std::size_t length = 0;  // bytes consumed, the empty line and its line end included
    bool ok = true;          // false when the block begins with a continuation line
};

// Parses the header block at the start of `range` (a message, or a part whose
// first line is its boundary line when `skip_first_line`). Never reads past
// the range; a last line without line end counts as a line.
HeaderBlock parse_header_block(std::string_view range, bool skip_first_line = false);

// First header named `name` (ASCII case ignored), or null.
const Header* find_header(const Headers& headers, std::string_view name) noexcept;
// Every header named `name`, in order.
std::vector<const Header*> find_all_headers(const Headers& headers, std::string_view name);

// RFC 5322 unfolding: CR LF (or a bare LF) before white space is removed, the
// white space stays, so folded words never merge.
std::string unfold(std::string_view value);

// "Name: Value" CR LF per header, in order (IPop3Hdrs::ToString).
std::string headers_to_string(const Headers& headers);

}  // namespace component::mime
