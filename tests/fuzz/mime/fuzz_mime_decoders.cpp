// Every transfer decoder: no crash, and the output does not depend on how the
// input is cut. The first byte picks the encoding, the second the slice size.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "component/mime/transfer_decoder.h"

using namespace component::mime;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const auto encoding = static_cast<AttachmentEncodingsEnum>(1 + data[0] % 5);
    const std::size_t chunk = 1 + data[1] % 17;
    const std::string_view in(reinterpret_cast<const char*>(data + 2), size - 2);
    const std::string whole = decode_all(encoding, in);
    std::string sliced;
    (void)decode_stream(
        encoding, in, [&sliced](std::string_view s) { sliced.append(s); }, chunk);
    if (whole != sliced) __builtin_trap();
    return 0;
}
