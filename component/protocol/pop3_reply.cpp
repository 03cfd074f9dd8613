#include "component/protocol/pop3_reply.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>

#include <algorithm>
#include <limits>

namespace component::protocol {

bool IsPositiveReply(std::string_view line) { return line.size() >= 3 && line.starts_with("+OK"); }

bool IsNegativeReply(std::string_view line) { return line.size() >= 3 && line.starts_with("-ERR"); }

std::string ReplyText(std::string_view line) {
    if (!IsNegativeReply(line)) return {};
    line.remove_prefix(4);
    if (!line.empty() && line.front() == ' ') line.remove_prefix(1);
    return std::string(line);
}

std::string_view UnstuffDataLine(std::string_view line) {
    if (!line.empty() && line.front() == '.') line.remove_prefix(1);
    return line;
}

std::string FindApopTimestamp(std::string_view greeting) {
    const auto open = greeting.find('<');
    if (open == std::string_view::npos) return {};
    const auto close = greeting.find('>', open + 1);
    if (close == std::string_view::npos) return {};
    return std::string(greeting.substr(open, close - open + 1));
}

bool ParseStatCount(std::string_view line, std::uint32_t& count) {
    if (!IsPositiveReply(line)) return false;
    std::size_t pos = 3;
    if (pos >= line.size() || line[pos] != ' ') return false;
    while (pos < line.size() && line[pos] == ' ') ++pos;
    std::uint64_t n = 0;
    const std::size_t first = pos;
    for (; pos < line.size() && line[pos] >= '0' && line[pos] <= '9'; ++pos) {
        n = std::min<std::uint64_t>(n * 10 + static_cast<std::uint64_t>(line[pos] - '0'),
                                    std::numeric_limits<std::uint32_t>::max());
    }
    count = static_cast<std::uint32_t>(n);
    return pos > first;
}

std::int32_t ParseListSize(std::string_view line) {
    auto pos = line.find(' ');
    if (pos == std::string_view::npos) return 0;
    while (pos < line.size() && line[pos] == ' ') ++pos;
    std::int64_t size = 0;
    for (; pos < line.size() && line[pos] >= '0' && line[pos] <= '9'; ++pos) {
        size = size * 10 + (line[pos] - '0');
        if (size > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(size);
}

bool ParseUidlLine(std::string_view line, std::uint64_t& number, std::string& uid) {
    const auto blank = line.find(' ');
    if (blank == std::string_view::npos) return false;
    number = 0;
    for (std::size_t i = 0; i < blank; ++i) {
        const char c = line[i];
        if (c < '0' || c > '9' || number > std::numeric_limits<std::uint32_t>::max()) {
            number = 0;  // no message has number 0: the line is ignored
            break;
        }
        number = number * 10 + static_cast<std::uint64_t>(c - '0');
    }
    uid.assign(line.substr(blank + 1));
    return true;
}

std::string ApopDigest(std::string_view timestamp, std::string_view password) {
    std::string input;
    input.reserve(timestamp.size() + password.size());
    input.append(timestamp).append(password);
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int digestLength = 0;
    const int done = EVP_Digest(input.data(), input.size(), digest, &digestLength, EVP_md5(), nullptr);
    // The input holds the password: no copy of it stays in freed memory.
    OPENSSL_cleanse(input.data(), input.size());
    if (done != 1) return {};
    static constexpr char kHex[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(digestLength * 2);
    for (unsigned int i = 0; i < digestLength; ++i) {
        hex += kHex[digest[i] >> 4];
        hex += kHex[digest[i] & 0x0f];
    }
    return hex;
}

bool HasCommandBreak(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

}  // namespace component::protocol
