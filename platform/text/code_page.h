// The component's 8-bit code page and the two code pages its conversions
// name: the "ANSI" one and UTF-8.
//
// The ANSI code page is Windows-1252 from our own table. Its five undefined
// bytes 0x81, 0x8D, 0x8F, 0x90 and 0x9D stand for the C1 controls U+0081,
// U+008D, U+008F, U+0090 and U+009D, so every byte has a character and
// 8-bit -> UTF-16 -> 8-bit gives back the same bytes.
//
// UTF-16 -> 8-bit maps a character the code page lacks to '?', one per
// character (a surrogate pair is one character, an unpaired surrogate one
// '?'). No "best fit" replacement (such as 'a' for U+0101) is made: a near
// look-alike would silently change a login or a header the client sets,
// while '?' shows plainly that the text did not fit.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace text {

enum class CodePage { Ansi, Utf8 };

inline constexpr char kAnsiDefaultChar = '?';

// The character of one byte of the ANSI code page.
char16_t AnsiByteToUtf16(unsigned char byte) noexcept;

// The byte of one UTF-16 unit, or none when the code page lacks it
// (surrogates included).
std::optional<unsigned char> Utf16ToAnsiByte(char16_t unit) noexcept;

std::u16string FromAnsi(std::string_view bytes);
// bytes.size() characters into out, one for each byte.
void WidenAnsi(std::string_view bytes, char16_t* out) noexcept;
// text.size() bytes into out, one for each UTF-16 unit: its byte, or '?'
// for a unit the code page lacks (each half of a surrogate pair too).
void NarrowToAnsi(std::u16string_view text, char* out) noexcept;
void AppendFromAnsi(std::u16string& out, std::string_view bytes);
std::string ToAnsi(std::u16string_view text);

// MultiByteToWideChar / WideCharToMultiByte with CP_ACP or CP_UTF8.
std::u16string ToUtf16(std::string_view bytes, CodePage page);
std::string FromUtf16(std::u16string_view text, CodePage page);

}  // namespace text
