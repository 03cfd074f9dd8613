// Trace-line splitting over arbitrary bytes, as a header value and unfolded.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "component/mime/received_parser.h"

using namespace component::mime;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string line = UnfoldReceived(bytes);
    if (line.size() > bytes.size()) __builtin_trap();
    const ReceivedFields f = ParseReceivedLine(line);
    if (f.fromHost.size() > line.size() || f.forClause.size() > line.size() ||
        f.dateClause.size() > line.size())
        __builtin_trap();
    if (TokenizeReceived(line).size() > 100) __builtin_trap();
    return 0;
}
