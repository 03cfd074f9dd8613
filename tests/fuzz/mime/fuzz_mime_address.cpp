// Address and display-name extraction and encoded-word decoding of a value.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "component/mime/encoded_word.h"
#include "component/mime/header_values.h"

using namespace component::mime;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view value(reinterpret_cast<const char*>(data), size);
    const std::string address = extract_address_bytes(value);
    if (!address.empty() && address.find('@') == std::string::npos) __builtin_trap();
    if (extract_address(value).empty() != address.empty()) __builtin_trap();
    const std::u16string name = extract_name(value);
    if (name.find(u'@') != std::u16string::npos) __builtin_trap();
    (void)decode_header_value(value);
    (void)header_param(value, "name=");
    return 0;
}
