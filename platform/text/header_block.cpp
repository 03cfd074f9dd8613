#include "platform/text/header_block.h"

namespace text {

std::size_t HeaderBlockEnd(std::string_view bytes, std::size_t from) {
    for (std::size_t lf = bytes.find('\n', from); lf != std::string_view::npos;
         lf = bytes.find('\n', lf + 1)) {
        // The line's text ends before its CR, if any; it is empty when the
        // bytes or the line before end there.
        std::size_t end = lf;
        if (end > 0 && bytes[end - 1] == '\r') --end;
        if (end == 0 || bytes[end - 1] == '\n') return lf + 1;
    }
    return std::string_view::npos;
}

}  // namespace text
