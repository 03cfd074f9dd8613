#include "component/mime/binhex_decoder.h"

#include <cstring>

namespace component::mime {
namespace {

constexpr char kAlphabet[] = "!\"#$%&'()*+,-012345689@ABCDEFGHIJKLMNPQRSTUVXYZ[`abcdefhijklmpqr";
static_assert(sizeof(kAlphabet) == 65);

constexpr unsigned char kSkip = 64;
constexpr unsigned char kStop = 65;

constexpr auto kClass = [] {
    std::array<unsigned char, 256> t{};
    for (auto& v : t) v = kStop;
    for (unsigned i = 0; i < 64; ++i)
        t[static_cast<unsigned char>(kAlphabet[i])] = static_cast<unsigned char>(i);
    for (unsigned char c : {' ', '\t', '\r', '\n'}) t[c] = kSkip;
    return t;
}();

constexpr auto kCrcTable = [] {
    std::array<std::uint16_t, 256> t{};
    for (unsigned i = 0; i < 256; ++i) {
        std::uint16_t c = static_cast<std::uint16_t>(i << 8);
        for (int k = 0; k < 8; ++k) c = static_cast<std::uint16_t>((c & 0x8000) ? (c << 1) ^ 0x1021 : c << 1);
        t[i] = c;
    }
    return t;
}();

inline std::uint16_t crc_step(std::uint16_t crc, unsigned char b) noexcept {
    return static_cast<std::uint16_t>((crc << 8) ^ kCrcTable[((crc >> 8) ^ b) & 0xFF]);
}

std::uint32_t be32(const unsigned char* p) noexcept {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

}  // namespace

std::uint16_t crc16_xmodem(std::uint16_t crc, std::string_view bytes) noexcept {
    for (const char c : bytes) crc = crc_step(crc, static_cast<unsigned char>(c));
    return crc;
}

void BinHexDecoder::fail(DecodeError e) noexcept {
    if (error_ == DecodeError::none) error_ = e;
    field_ = Field::done;
}

void BinHexDecoder::stream_byte(unsigned char b, std::string& out) {
    switch (field_) {
        case Field::header:
            header_[header_n_++] = b;
            crc_ = crc_step(crc_, b);
            if (header_n_ == 1) {
                if (b < 1 || b > 63) return fail(DecodeError::bad_header);
                header_len_ = 1 + b + 1 + 4 + 4 + 2 + 4 + 4;
            }
            if (header_n_ == header_len_) {
                const std::size_t n = header_[0];
                name_.assign(reinterpret_cast<const char*>(&header_[1]), n);
                data_length_ = be32(&header_[n + 1 + 1 + 4 + 4 + 2]);
                resource_length_ = be32(&header_[n + 1 + 1 + 4 + 4 + 2 + 4]);
                field_ = Field::header_crc;
                crc_bytes_ = 0;
                stored_crc_ = 0;
            }
            return;
        case Field::header_crc:
        case Field::data_crc:
        case Field::resource_crc:
            stored_crc_ = static_cast<std::uint16_t>((stored_crc_ << 8) | b);
            if (++crc_bytes_ < 2) return;
            if (stored_crc_ != crc_) {
                return fail(field_ == Field::header_crc ? DecodeError::header_crc
                            : field_ == Field::data_crc ? DecodeError::data_crc
                                                        : DecodeError::resource_crc);
            }
            crc_ = 0;
            crc_bytes_ = 0;
            stored_crc_ = 0;
            if (field_ == Field::header_crc) {
                field_ = Field::data;
                left_ = data_length_;
            } else if (field_ == Field::data_crc) {
                field_ = Field::resource;
                left_ = resource_length_;
            } else {
                field_ = Field::done;
                return;
            }
            if (left_ == 0) field_ = field_ == Field::data ? Field::data_crc : Field::resource_crc;
            return;
        case Field::data:
            out.push_back(static_cast<char>(b));
            [[fallthrough]];
        case Field::resource:
            crc_ = crc_step(crc_, b);
            if (--left_ == 0) field_ = field_ == Field::data ? Field::data_crc : Field::resource_crc;
            return;
        case Field::done:
            return;
    }
}

void BinHexDecoder::expanded(unsigned char b, std::string& out) {
    if (marker_) {
        marker_ = false;
        if (b == 0) {
            prev_ = 0x90;
            have_prev_ = true;
            stream_byte(0x90, out);
        } else if (have_prev_) {
            // The count includes the byte already written; at most 254 repeats.
            for (unsigned i = 1; i < b && field_ != Field::done; ++i) stream_byte(prev_, out);
        }
        return;
    }
    if (b == 0x90) {
        marker_ = true;
        return;
    }
    prev_ = b;
    have_prev_ = true;
    stream_byte(b, out);
}

void BinHexDecoder::sextet(unsigned v, std::string& out) {
    bits_ = (bits_ << 6) | v;
    nbits_ += 6;
    if (nbits_ >= 8) {
        nbits_ -= 8;
        expanded(static_cast<unsigned char>(bits_ >> nbits_), out);
        bits_ &= (1u << nbits_) - 1;
    }
}

void BinHexDecoder::feed(std::string_view in, std::string& out) {
    std::size_t i = 0;
    if (text_ == Text::seeking) {
        const void* colon = std::memchr(in.data(), ':', in.size());
        if (colon == nullptr) return;
        text_ = Text::decoding;
        i = static_cast<std::size_t>(static_cast<const char*>(colon) - in.data()) + 1;
    }
    for (; i < in.size() && text_ == Text::decoding && field_ != Field::done; ++i) {
        const unsigned char c = kClass[static_cast<unsigned char>(in[i])];
        if (c < 64) {
            sextet(c, out);
        } else if (c == kStop) {
            text_ = Text::ended;
        }
    }
}

DecodeError BinHexDecoder::finish(std::string&) {
    if (text_ == Text::seeking) return DecodeError::no_data;
    if (error_ == DecodeError::none && field_ != Field::done) error_ = DecodeError::truncated;
    field_ = Field::done;
    return error_;
}

}  // namespace component::mime
