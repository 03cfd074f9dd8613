// Message text to UTF-16 through the platform's charset decoders.
#pragma once

#include <string>
#include <string_view>

namespace component::mime {

// `bytes` in the named MIME charset; unknown names read as the ANSI page.
// ISO-8859-15, which the platform table lacks, is handled here.
std::u16string decode_charset(std::string_view charset, std::string_view bytes);

bool is_well_formed_utf8(std::string_view bytes);

// Raw 8-bit header text: UTF-8 when well-formed (RFC 6532), else ANSI.
std::u16string raw_header_text(std::string_view bytes);

}  // namespace component::mime
