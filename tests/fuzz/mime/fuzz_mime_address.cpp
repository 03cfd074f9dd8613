// Address and display-name extraction and encoded-word decoding of a value.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "component/mime/encoded_word.h"
#include "component/mime/header_values.h"

using namespace component::mime;

namespace {

// The "@"s a display name may hold: those inside double quotes before the
// first "<" outside them (a quote after a backslash neither opens nor closes).
// One outside quotes makes the text an address, so then there are none.
std::size_t quoted_ats_before_address(std::string_view value) {
    bool quoted = false;
    std::size_t ats = 0;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '"' && (i == 0 || value[i - 1] != '\\'))
            quoted = !quoted;
        else if (!quoted && c == '<')
            break;
        else if (c == '@' && !quoted)
            return 0;
        else if (c == '@')
            ++ats;
    }
    return ats;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view value(reinterpret_cast<const char*>(data), size);
    const std::string address = extract_address_bytes(value);
    if (!address.empty() && address.find('@') == std::string::npos) __builtin_trap();
    if (extract_address(value).empty() != address.empty()) __builtin_trap();
    // A name never gains an "@" that the quoted display name did not hold:
    // not from the address, and not from an encoded word.
    const std::u16string name = extract_name(value);
    const auto name_ats = static_cast<std::size_t>(std::count(name.begin(), name.end(), u'@'));
    if (name_ats > quoted_ats_before_address(value)) __builtin_trap();
    (void)decode_header_value(value);
    (void)header_param(value, "name=");
    return 0;
}
