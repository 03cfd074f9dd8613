#include "component/mime/base64_decoder.h"

#include <array>

namespace component::mime {
namespace {

constexpr std::uint8_t kSkip = 64;
constexpr std::uint8_t kStop = 65;
constexpr std::uint32_t kBad = 0x01000000;

constexpr std::uint8_t sextet(unsigned c) {
    if (c >= 'A' && c <= 'Z') return static_cast<std::uint8_t>(c - 'A');
    if (c >= 'a' && c <= 'z') return static_cast<std::uint8_t>(c - 'a' + 26);
    if (c >= '0' && c <= '9') return static_cast<std::uint8_t>(c - '0' + 52);
    if (c == '+') return 62;
    if (c == '/') return 63;
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') return kSkip;
    return kStop;
}

constexpr auto kClass = [] {
    std::array<std::uint8_t, 256> t{};
    for (unsigned c = 0; c < 256; ++c) t[c] = sextet(c);
    return t;
}();

// One table per position of a group, pre-shifted, so a whole group costs four
// lookups and one OR; any character that is not a sextet sets kBad.
template <int Shift>
constexpr auto shifted_table() {
    std::array<std::uint32_t, 256> t{};
    for (unsigned c = 0; c < 256; ++c) t[c] = kClass[c] < 64 ? std::uint32_t{kClass[c]} << Shift : kBad;
    return t;
}
constexpr auto kD0 = shifted_table<18>();
constexpr auto kD1 = shifted_table<12>();
constexpr auto kD2 = shifted_table<6>();
constexpr auto kD3 = shifted_table<0>();

inline void put3(char*& w, std::uint32_t v) noexcept {
    w[0] = static_cast<char>(v >> 16);
    w[1] = static_cast<char>(v >> 8);
    w[2] = static_cast<char>(v);
    w += 3;
}

}  // namespace

void Base64Decoder::flush_partial(char*& w) noexcept {
    // A group of n characters (n < 4) holds n - 1 whole bytes.
    if (pending_ >= 2) *w++ = static_cast<char>(acc_ >> (pending_ * 6 - 8));
    if (pending_ == 3) *w++ = static_cast<char>(acc_ >> 2);
    pending_ = 0;
    acc_ = 0;
}

void Base64Decoder::feed(std::string_view in, std::string& out) {
    if (done_ || in.empty()) return;
    const std::size_t base = out.size();
    out.resize(base + max_output(in.size()));
    char* const end = decode_into(in, out.data() + base);
    out.resize(static_cast<std::size_t>(end - out.data()));
}

char* Base64Decoder::decode_into(std::string_view in, char* w) noexcept {
    if (done_) return w;
    const auto* p = reinterpret_cast<const unsigned char*>(in.data());
    const auto* const end = p + in.size();
    while (p < end) {
        if (pending_ == 0) {
            while (end - p >= 4) {
                const std::uint32_t v = kD0[p[0]] | kD1[p[1]] | kD2[p[2]] | kD3[p[3]];
                if (v & kBad) break;
                put3(w, v);
                p += 4;
            }
            if (p == end) break;
        }
        const std::uint8_t c = kClass[*p++];
        if (c < 64) {
            acc_ = (acc_ << 6) | c;
            if (++pending_ == 4) {
                put3(w, acc_);
                pending_ = 0;
                acc_ = 0;
            }
        } else if (c == kStop) {
            flush_partial(w);
            done_ = true;
            break;
        }
    }
    return w;
}

DecodeError Base64Decoder::finish(std::string& out) {
    if (!done_) {
        char tail[2];
        char* w = tail;
        flush_partial(w);
        out.append(tail, static_cast<std::size_t>(w - tail));
        done_ = true;
    }
    return DecodeError::none;
}

std::string decode_base64(std::string_view in) {
    Base64Decoder d;
    std::string out;
    d.feed(in, out);
    d.finish(out);
    return out;
}

}  // namespace component::mime
