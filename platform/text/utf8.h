// UTF-8 <-> UTF-16.
//
// Decoding never fails: each maximal ill-formed subsequence (Unicode's
// "substitution of maximal subparts") becomes one U+FFFD. Overlong forms,
// encoded surrogates, code points above U+10FFFF and sequences cut short are
// all ill-formed. The input is taken by length, so NUL bytes are kept.
//
// Encoding writes an unpaired surrogate as U+FFFD (EF BF BD): UTF-8 cannot
// carry it, and writing it as a 3-byte form would make invalid UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace text {

inline constexpr char16_t kReplacementChar = u'\uFFFD';

std::u16string FromUtf8(std::string_view bytes);
void AppendFromUtf8(std::u16string& out, std::string_view bytes);
std::string ToUtf8(std::u16string_view text);

}  // namespace text
