// Header block and every getter over arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "component/mime/header_block.h"
#include "component/mime/header_values.h"

using namespace component::mime;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const bool skip : {false, true}) {
        const HeaderBlock block = parse_header_block(bytes, skip);
        if (block.length > bytes.size()) __builtin_trap();
        const Headers& h = block.headers;
        for (const char* name : {"From", "To", "Subject", "Content-Type", "Content-Disposition", "CC"})
            (void)header_text(h, name);
        (void)extract_address(header_unfolded(h, "From"));
        (void)extract_name(header_unfolded(h, "From"));
        (void)priority(h);
        (void)content_type_only(h);
        (void)media_type(h);
        (void)content_name(h);
        (void)content_type_param(h, "charset=");
        (void)multipart_delimiter(h);
        (void)headers_to_string(h);
    }
    return 0;
}
