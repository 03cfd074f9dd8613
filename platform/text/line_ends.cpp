#include "platform/text/line_ends.h"

namespace text {

std::string_view NextLine(std::string_view& rest, std::string_view* lineEnd) {
    const size_t cut = rest.find_first_of("\r\n");
    const std::string_view line = rest.substr(0, cut);
    size_t endSize = 0;
    if (cut != std::string_view::npos) endSize = rest.substr(cut).starts_with("\r\n") ? 2 : 1;
    if (lineEnd) *lineEnd = rest.substr(line.size(), endSize);
    rest.remove_prefix(line.size() + endSize);
    return line;
}

}  // namespace text
