// The Date parser and the move to local time.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "component/mime/date_parser.h"

using namespace component::mime;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const auto parsed = parse_rfc822_date(text)) {
        const DateTimeFields& f = parsed->stated;
        if (f.month < 1 || f.month > 12 || f.day < 1 || f.day > 31 || f.hour > 23 || f.minute > 59 ||
            f.second > 59)
            __builtin_trap();
        for (const int offset : {-720, 0, 840}) {
            if (const auto local = to_local(*parsed, offset);
                local && (local->year < 100 || local->year > 9999))
                __builtin_trap();
        }
    }
    return 0;
}
