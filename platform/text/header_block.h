#pragma once
// A mail message's header block: its lines up to and including the first
// empty one. Only LF ends a line here (with or without a CR before it); a CR
// alone is part of the line.
#include <cstddef>
#include <string_view>

namespace text {

// Where the header block of bytes ends: just past its first empty line,
// which may be the very first; npos when bytes hold none yet. Line ends
// before from are not looked at again: a reader that reads in pieces passes
// how much it had already looked through.
std::size_t HeaderBlockEnd(std::string_view bytes, std::size_t from = 0);

}  // namespace text
