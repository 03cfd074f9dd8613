// Lines of a text file as any editor leaves them: LF, CR LF and CR alone
// each end a line.
#pragma once

#include <string_view>

namespace text {

// The first line of rest, without its line end; rest moves past the line
// and its end. lineEnd, when given, receives the end ("\n", "\r\n", "\r",
// or empty for a last line without one).
std::string_view NextLine(std::string_view& rest, std::string_view* lineEnd = nullptr);

}  // namespace text
