// Base64 (RFC 2045). Blanks and line ends are skipped; the first other
// character outside the alphabet ("=" padding included) ends decoding, its
// group giving the bytes its complete characters hold; the rest is ignored.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "component/mime/transfer_decoder.h"

namespace component::mime {

class Base64Decoder final : public TransferDecoder {
public:
    void feed(std::string_view in, std::string& out) override;
    // The most bytes decoding `n` characters writes.
    static constexpr std::size_t max_output(std::size_t n) noexcept { return (n / 4 + 1) * 3; }
    // Decodes `in` into `out`, which has room for max_output(in.size())
    // bytes and need not be initialised; returns the end of what it wrote.
    char* decode_into(std::string_view in, char* out) noexcept;
    DecodeError finish(std::string& out) override;
    bool done() const noexcept { return done_; }

private:
    void flush_partial(char*& w) noexcept;

    std::uint32_t acc_ = 0;  // bits of the pending group
    int pending_ = 0;        // characters in the pending group (0..3)
    bool done_ = false;
};

std::string decode_base64(std::string_view in);

}  // namespace component::mime
