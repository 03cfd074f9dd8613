// Attachment detection by the component's header rules, and saving.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "component/mime/mime_enums.h"
#include "component/mime/mime_tree.h"
#include "component/mime/transfer_decoder.h"

namespace component::mime {

struct AttachmentInfo {
    std::uint32_t node = 0;  // the message or part that holds the content
    std::u16string name;     // decoded, from Content-Type name= or Content-Disposition filename
    std::string type;        // media type of the first Content-Type, 8-bit as written
    std::size_t start = 0;   // first byte of the encoded content
    std::size_t end = 0;     // one past its last byte
    AttachmentEncodingsEnum encoding = enc7BIT;

    // The Size member: the range, or 3/4 of it for Base64, BinHex and UU.
    std::int64_t size_estimate() const noexcept;
};

// Walks the message and its parts in header order (Content-Transfer-Encoding,
// Content-Disposition, Content-Type, Content-ID), each part at most once.
std::vector<AttachmentInfo> detect_attachments(const MimeTree& tree);

// Decodes the attachment's range into `sink`; encUNKNOWN gives no_data.
DecodeError save_attachment(const MimeTree& tree, const AttachmentInfo& a, const ByteSink& sink);

}  // namespace component::mime
