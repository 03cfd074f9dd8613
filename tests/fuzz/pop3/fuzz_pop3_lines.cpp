// What a server sends, cut into reads anywhere, through the line buffer and
// the reply rules. Lines must come out whole, in order, with nothing lost.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "component/protocol/pop3_reply.h"
#include "component/transport/buffer.h"

using namespace component::protocol;
using component::transport::Buffer;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::size_t cut = data[0] % 64 + 1;  // the size of every read
    const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
    Buffer buffer;
    std::string rebuilt;
    for (std::size_t at = 0; at < input.size(); at += cut) {
        const auto piece = input.substr(at, cut);
        if (!buffer.Append(piece.data(), static_cast<std::uint32_t>(piece.size()))) std::abort();
        std::uint32_t length = 0;
        while (const char* line = buffer.GetLine(&length)) {
            const std::string_view text(line, length);
            if (text.find('\n') != std::string_view::npos) std::abort();
            (void)IsPositiveReply(text);
            (void)ReplyText(text);
            (void)FindApopTimestamp(text);
            if (ParseListSize(text) < 0) std::abort();
            std::uint32_t count = 0;
            if (ParseStatCount(text, count) && !text.starts_with("+OK ")) std::abort();
            std::uint64_t number = 0;
            std::string uid;
            (void)ParseUidlLine(text, number, uid);
            const std::string_view stored = UnstuffDataLine(text);
            if (stored.size() + 1 < text.size()) std::abort();
            rebuilt.append(text);
            rebuilt.push_back('\n');
        }
    }
    rebuilt.append(reinterpret_cast<const char*>(buffer.GetData()), buffer.GetLength());
    // Only CRs right before an LF may be gone.
    std::string expected;
    for (std::size_t i = 0; i < input.size(); ++i) {
        if (input[i] == '\r' && i + 1 < input.size() && input[i + 1] == '\n') continue;
        expected.push_back(input[i]);
    }
    if (rebuilt != expected) std::abort();
    return 0;
}
