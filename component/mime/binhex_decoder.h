// BinHex 4.0 (RFC 1741): text up to the first ":" is skipped, then 6-bit
// characters of the BinHex alphabet (line ends and blanks skipped) up to the
// closing ":", run-length expansion (0x90), and the header, data fork and
// resource fork, each checked by its CRC-16. The output is the data fork.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "component/mime/transfer_decoder.h"

namespace component::mime {

class BinHexDecoder final : public TransferDecoder {
public:
    void feed(std::string_view in, std::string& out) override;
    DecodeError finish(std::string& out) override;

    // Known once the header has been read.
    const std::string& file_name() const noexcept { return name_; }
    std::uint32_t data_length() const noexcept { return data_length_; }

private:
    void sextet(unsigned v, std::string& out);
    void expanded(unsigned char b, std::string& out);
    void stream_byte(unsigned char b, std::string& out);
    void fail(DecodeError e) noexcept;

    enum class Text { seeking, decoding, ended };
    enum class Field { header, header_crc, data, data_crc, resource, resource_crc, done };

    Text text_ = Text::seeking;
    std::uint32_t bits_ = 0;
    int nbits_ = 0;
    bool have_prev_ = false;  // run-length state
    bool marker_ = false;
    unsigned char prev_ = 0;

    Field field_ = Field::header;
    std::array<unsigned char, 1 + 63 + 1 + 4 + 4 + 2 + 4 + 4> header_{};
    std::size_t header_n_ = 0;
    std::size_t header_len_ = 0;  // known after the name length byte
    std::uint32_t data_length_ = 0;
    std::uint32_t resource_length_ = 0;
    std::uint32_t left_ = 0;  // bytes left in the current fork
    std::uint16_t crc_ = 0;
    std::uint16_t stored_crc_ = 0;
    int crc_bytes_ = 0;
    std::string name_;
    DecodeError error_ = DecodeError::none;
};

// CRC-16/XMODEM (polynomial 0x1021, initial 0), as BinHex checks it.
std::uint16_t crc16_xmodem(std::uint16_t crc, std::string_view bytes) noexcept;

}  // namespace component::mime
