// RFC 2047 encoded words in header values.
#pragma once

#include <string>
#include <string_view>

namespace component::mime {

// Decodes every encoded word of an (unfolded) 8-bit header value to UTF-16. Each word is converted from its
// own charset; the text around the words is UTF-8 when well-formed, else the ANSI page. White space between
// two adjacent words is dropped (RFC 2047 6.2). "_" in a Q word is a space. A word that is malformed, or that
// has no closing "?=", stays as it stands. Decoded bytes are taken up to their first NUL. Linear in the
// input.
std::u16string decode_encoded_words(std::string_view value);

// The raw value of a header as the getters present it: unfolded and decoded.
std::u16string decode_header_value(std::string_view raw_value);

}  // namespace component::mime
