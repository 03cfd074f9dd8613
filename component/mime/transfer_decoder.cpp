#include "component/mime/transfer_decoder.h"

#include "component/mime/base64_decoder.h"
#include "component/mime/binhex_decoder.h"
#include "component/mime/quoted_printable_decoder.h"
#include "component/mime/uu_decoder.h"

namespace component::mime {
namespace {

class CopyDecoder final : public TransferDecoder {
public:
    void feed(std::string_view in, std::string& out) override { out.append(in); }
    DecodeError finish(std::string&) override { return DecodeError::none; }
};

}  // namespace

std::unique_ptr<TransferDecoder> make_decoder(AttachmentEncodingsEnum encoding) {
    switch (encoding) {
        case encBASE64:
            return std::make_unique<Base64Decoder>();
        case encBINHEX4:
            return std::make_unique<BinHexDecoder>();
        case encUUENCODE:
            return std::make_unique<UuDecoder>();
        case encQUOTEDPRINTABLE:
            return std::make_unique<QuotedPrintableDecoder>();
        case enc7BIT:
            return std::make_unique<CopyDecoder>();
        case encUNKNOWN:
            break;
    }
    return nullptr;
}

DecodeError decode_stream(AttachmentEncodingsEnum encoding, std::string_view in, const ByteSink& sink,
                          std::size_t chunk) {
    if (chunk == 0) chunk = 1;
    if (encoding == encBASE64) {
        // Decoded straight into uninitialised space: the most common
        // encoding of large attachments skips the zero fill of a string.
        Base64Decoder decoder;
        const auto area = std::make_unique_for_overwrite<char[]>(Base64Decoder::max_output(chunk));
        while (!in.empty() && !decoder.done()) {
            const std::size_t n = in.size() < chunk ? in.size() : chunk;
            const char* const end = decoder.decode_into(in.substr(0, n), area.get());
            in.remove_prefix(n);
            if (end != area.get())
                sink(std::string_view(area.get(), static_cast<std::size_t>(end - area.get())));
        }
        std::string tail;
        const DecodeError e = decoder.finish(tail);
        if (!tail.empty()) sink(tail);
        return e;
    }
    const auto decoder = make_decoder(encoding);
    if (!decoder) return DecodeError::no_data;
    std::string out;
    while (!in.empty()) {
        const std::size_t n = in.size() < chunk ? in.size() : chunk;
        decoder->feed(in.substr(0, n), out);
        in.remove_prefix(n);
        if (!out.empty()) {
            sink(out);
            out.clear();
        }
    }
    const DecodeError e = decoder->finish(out);
    if (!out.empty()) sink(out);
    return e;
}

std::string decode_all(AttachmentEncodingsEnum encoding, std::string_view in) {
    std::string out;
    if (const auto decoder = make_decoder(encoding)) {
        decoder->feed(in, out);
        decoder->finish(out);
    }
    return out;
}

}  // namespace component::mime
