// The few character sets the message model converts from, all to UTF-8.
// The 8-bit "ANSI" page is CP1252 with the Windows mapping of its five unused
// bytes (0x81 0x8D 0x8F 0x90 0x9D to U+0081 ...), so 8-bit text round-trips.
#pragma once

#include <string>
#include <string_view>

namespace component::mime {

enum class Charset { Ansi, Utf8, Latin1, Latin9 };

// Charset named by a MIME charset label; unknown labels are the ANSI page.
Charset charset_from_name(std::string_view name) noexcept;

bool is_valid_utf8(std::string_view bytes) noexcept;

// Appends `bytes` read in `cs` as UTF-8. Invalid UTF-8 sequences become U+FFFD.
void append_utf8(std::string& out, std::string_view bytes, Charset cs);

inline std::string to_utf8(std::string_view bytes, Charset cs) {
    std::string out;
    append_utf8(out, bytes, cs);
    return out;
}

// Raw 8-bit header text: UTF-8 when it is valid UTF-8 (RFC 6532), else ANSI.
std::string raw_header_to_utf8(std::string_view bytes);

}  // namespace component::mime
