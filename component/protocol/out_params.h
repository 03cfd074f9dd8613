#pragma once
// How every member of the component hands a value back through its
// out-parameter: E_POINTER for a null pointer, a fresh BSTR for text.
#include <cstdint>
#include <limits>
#include <string_view>

#include "platform/com/bstr.h"
#include "platform/com/hresult.h"
#include "platform/text/code_page.h"

namespace component::protocol {

inline com::HRESULT CopyText(std::u16string_view text, com::BSTR* value) {
    if (value == nullptr) return com::E_POINTER;
    *value = com::SysAllocStringView(text);
    return *value != nullptr ? com::S_OK : com::E_OUTOFMEMORY;
}

template <class T, class V>
com::HRESULT CopyValue(const V& v, T* value) {
    if (value == nullptr) return com::E_POINTER;
    *value = v;
    return com::S_OK;
}

// 8-bit text as the component keeps it inside (the ANSI code page).
// Made in place, one character for each byte: a message's text is no
// larger in the making than in the answer.
inline com::HRESULT CopyAnsi(std::string_view text8, com::BSTR* value) {
    if (value == nullptr) return com::E_POINTER;
    *value = text8.size() <= std::numeric_limits<std::uint32_t>::max()
                 ? com::SysAllocStringLen(nullptr, static_cast<std::uint32_t>(text8.size()))
                 : nullptr;
    if (*value == nullptr) return com::E_OUTOFMEMORY;
    text::WidenAnsi(text8, *value);
    return com::S_OK;
}

}  // namespace component::protocol
