// The text members of a message or part: Text, DecodedText, PlainText, HTMLText.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "component/mime/header_block.h"
#include "component/mime/mime_enums.h"
#include "component/mime/mime_tree.h"
#include "component/mime/transfer_decoder.h"

namespace component::mime {

// Text: the preamble when there is one, else the body (8-bit, as stored).
std::string message_text(const MimeTree& tree, const MimeNode& node);

// Text with its Content-Transfer-Encoding (quoted-printable, base64) undone,
// cut at the first NUL, converted from its charset.
std::u16string decode_part_text(const MimeTree& tree, const MimeNode& node);

enum class TextKind { plain, html };

// PlainText / HTMLText: the first text part of the wanted media type, looking
// into multipart/alternative first, then into nested multiparts in order;
// attachments are never taken. Nothing when there is none.
std::optional<std::u16string> find_text_part(const MimeTree& tree, TextKind kind);

// DecodedText's encoding from the headers: the last Content-Transfer-Encoding
// that names one (base64 1, binhex 2, uuencode 3, quoted-printable 4, 7bit 5),
// encUNKNOWN without.
AttachmentEncodingsEnum encoding_from_headers(const Headers& headers);

// DecodedText: the body decoded with `encoding` (8-bit). The verdict of the
// decoder goes to `error` when given.
std::string decoded_body(const MimeTree& tree, const MimeNode& node, AttachmentEncodingsEnum encoding,
                         DecodeError* error = nullptr);

}  // namespace component::mime
