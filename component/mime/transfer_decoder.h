// Streaming transfer decoders: feed any chunks, then finish. The output never
// depends on how the input was cut, and memory stays flat in the input size.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "component/mime/mime_enums.h"

namespace component::mime {

enum class DecodeError {
    none,
    no_data,       // UU: no "begin" line; BinHex: no ":" start
    truncated,     // BinHex: the stream ended inside the header or a fork
    bad_header,    // BinHex: name length outside 1..63
    header_crc,    // BinHex: header CRC-16 mismatch
    data_crc,      // BinHex: data fork CRC-16 mismatch
    resource_crc,  // BinHex: resource fork CRC-16 mismatch
};

class TransferDecoder {
public:
    virtual ~TransferDecoder() = default;
    // Decodes `in` and appends the bytes to `out`.
    virtual void feed(std::string_view in, std::string& out) = 0;
    // Flushes what the end of input completes; reports the stream's health.
    virtual DecodeError finish(std::string& out) = 0;
};

// A decoder for the encoding; enc7BIT copies. Null for encUNKNOWN or values outside 1..5.
std::unique_ptr<TransferDecoder> make_decoder(AttachmentEncodingsEnum encoding);

// Decodes `in` in slices of `chunk` bytes, handing every decoded slice to `sink`
// (memory stays bounded by the slice size). Returns the decoder's verdict;
// an unknown encoding gives no_data and calls nothing.
using ByteSink = std::function<void(std::string_view)>;
DecodeError decode_stream(AttachmentEncodingsEnum encoding, std::string_view in, const ByteSink& sink,
                          std::size_t chunk = 64 * 1024);

// Whole-text decoding into memory.
std::string decode_all(AttachmentEncodingsEnum encoding, std::string_view in);

}  // namespace component::mime
