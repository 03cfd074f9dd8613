// Charset names of mail (MIME "charset=" parameters and RFC 2047 encoded
// words) to decoders that turn the message's bytes into UTF-16.
//
// "us-ascii" and "iso-8859-1" (with their aliases) decode as Windows-1252,
// as mail readers and browsers do: mail that claims either of them but was
// written with curly quotes or a euro sign carries Windows-1252 bytes, and
// genuine text in those charsets never uses 0x80-0x9F (C1 controls), so the
// superset reads both right. Every byte still decodes to a character.
#pragma once

#include <string>
#include <string_view>

namespace text {

using CharsetDecoder = std::u16string (*)(std::string_view bytes);

// Names are matched without regard to ASCII letter case, after trimming
// blanks and one pair of double quotes. Unknown names give nullptr.
CharsetDecoder FindCharsetDecoder(std::string_view name);

// The decoder of the name, or the ANSI code page's when the name is unknown
// or empty (what the component does with any text it cannot place).
std::u16string DecodeCharset(std::string_view name, std::string_view bytes);

}  // namespace text
