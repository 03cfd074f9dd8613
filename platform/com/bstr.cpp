#include "platform/com/bstr.h"

#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

namespace com {

namespace {

// Layout: a 32-bit byte length, then the characters and one NUL.
constexpr std::size_t kPrefix = sizeof(std::uint32_t);
constexpr std::uint32_t kMaxLength =
    (std::numeric_limits<std::uint32_t>::max() - kPrefix) / sizeof(OLECHAR) - 1;

std::uint32_t* PrefixOf(const OLECHAR* text) noexcept {
    return reinterpret_cast<std::uint32_t*>(reinterpret_cast<std::uintptr_t>(text) - kPrefix);
}

}  // namespace

BSTR SysAllocStringLen(const OLECHAR* text, std::uint32_t length) {
    if (length > kMaxLength) return nullptr;
    const std::size_t bytes = static_cast<std::size_t>(length) * sizeof(OLECHAR);
    void* block = std::malloc(kPrefix + bytes + sizeof(OLECHAR));
    if (!block) return nullptr;
    const auto byteLength = static_cast<std::uint32_t>(bytes);
    std::memcpy(block, &byteLength, kPrefix);
    auto* chars = reinterpret_cast<OLECHAR*>(static_cast<unsigned char*>(block) + kPrefix);
    if (text)
        std::memcpy(chars, text, bytes);
    else
        std::memset(chars, 0, bytes);
    chars[length] = u'\0';
    return chars;
}

BSTR SysAllocString(const OLECHAR* text) {
    if (!text) return nullptr;
    return SysAllocStringView(std::u16string_view(text));
}

BSTR SysAllocStringView(std::u16string_view text) {
    if (text.size() > kMaxLength) return nullptr;
    // A view of nothing may have a null data pointer; still an empty, non-null BSTR.
    static constexpr OLECHAR kNothing[1] = {u'\0'};
    return SysAllocStringLen(text.data() ? text.data() : kNothing, static_cast<std::uint32_t>(text.size()));
}

void SysFreeString(BSTR text) noexcept {
    if (text) std::free(PrefixOf(text));
}

std::uint32_t SysStringByteLen(const OLECHAR* text) noexcept {
    if (!text) return 0;
    std::uint32_t bytes = 0;
    std::memcpy(&bytes, PrefixOf(text), kPrefix);
    return bytes;
}

std::uint32_t SysStringLen(const OLECHAR* text) noexcept { return SysStringByteLen(text) / sizeof(OLECHAR); }

std::u16string_view BstrView(const OLECHAR* text) noexcept {
    if (!text) return {};
    return {text, SysStringLen(text)};
}

Bstr::Bstr(std::u16string_view text) : text_(SysAllocStringView(text)) {
    if (!text_) throw std::bad_alloc();
}

Bstr::Bstr(const Bstr& other) : Bstr(CopyOf(other.text_)) {}

Bstr& Bstr::operator=(const Bstr& other) {
    if (this != &other) {
        Bstr copy(other);
        std::swap(text_, copy.text_);
    }
    return *this;
}

Bstr& Bstr::operator=(Bstr&& other) noexcept {
    if (this != &other) {
        Reset();
        text_ = std::exchange(other.text_, nullptr);
    }
    return *this;
}

Bstr Bstr::Adopt(BSTR text) noexcept {
    Bstr owner;
    owner.text_ = text;
    return owner;
}

BSTR* Bstr::ReleaseAndGetAddressOf() noexcept {
    Reset();
    return &text_;
}

void Bstr::Reset() noexcept { SysFreeString(std::exchange(text_, nullptr)); }

HRESULT Bstr::CopyTo(BSTR* out) const {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!text_) return S_OK;
    *out = SysAllocStringView(View());
    return *out ? S_OK : E_OUTOFMEMORY;
}

}  // namespace com
