#include "platform/text/vb_string.h"

namespace text {
namespace {

template <class Char>
std::basic_string_view<Char> LTrimOf(std::basic_string_view<Char> s) {
  while (!s.empty() && s.front() == Char(' ')) s.remove_prefix(1);
  return s;
}

template <class Char>
std::basic_string_view<Char> RTrimOf(std::basic_string_view<Char> s) {
  while (!s.empty() && s.back() == Char(' ')) s.remove_suffix(1);
  return s;
}

}  // namespace

std::string_view LTrim(std::string_view s) { return LTrimOf(s); }
std::string_view RTrim(std::string_view s) { return RTrimOf(s); }
std::string_view Trim(std::string_view s) { return LTrimOf(RTrimOf(s)); }
std::u16string_view LTrim(std::u16string_view s) { return LTrimOf(s); }
std::u16string_view RTrim(std::u16string_view s) { return RTrimOf(s); }
std::u16string_view Trim(std::u16string_view s) { return LTrimOf(RTrimOf(s)); }

}  // namespace text
