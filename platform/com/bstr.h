#pragma once
// BSTR: a length-prefixed UTF-16 string. A null BSTR and an empty one are
// different values; the length is stored, so a BSTR may hold NUL characters.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "platform/com/hresult.h"

namespace com {

using OLECHAR = char16_t;
using BSTR = OLECHAR*;

// A copy of the NUL-terminated text; null for null.
BSTR SysAllocString(const OLECHAR* text);
// `length` characters copied from `text`, or zero-filled when `text` is null.
// Null when the memory cannot be had.
BSTR SysAllocStringLen(const OLECHAR* text, std::uint32_t length);
// A copy of the view; never null unless out of memory.
BSTR SysAllocStringView(std::u16string_view text);
void SysFreeString(BSTR text) noexcept;
// Characters, 0 for null.
std::uint32_t SysStringLen(const OLECHAR* text) noexcept;
std::uint32_t SysStringByteLen(const OLECHAR* text) noexcept;
// The whole text, NULs included; empty for null.
std::u16string_view BstrView(const OLECHAR* text) noexcept;

// Owns one BSTR.
class Bstr {
public:
    Bstr() noexcept = default;  // null
    explicit Bstr(std::u16string_view text);
    // NUL-terminated text; null stays null. For a BSTR (whose length is
    // stored and which may hold NULs) use CopyOf.
    explicit Bstr(const OLECHAR* text) : Bstr(text ? Bstr(std::u16string_view(text)) : Bstr()) {}
    Bstr(const Bstr& other);
    Bstr(Bstr&& other) noexcept : text_(std::exchange(other.text_, nullptr)) {}
    Bstr& operator=(const Bstr& other);
    Bstr& operator=(Bstr&& other) noexcept;
    ~Bstr() { SysFreeString(text_); }

    // Takes ownership of a BSTR the caller owns.
    static Bstr Adopt(BSTR text) noexcept;
    // A copy of a BSTR the caller keeps (null stays null).
    static Bstr CopyOf(const OLECHAR* text) { return text ? Bstr(BstrView(text)) : Bstr(); }

    BSTR Get() const noexcept { return text_; }
    // Releases the held text; for [out] BSTR* parameters.
    BSTR* ReleaseAndGetAddressOf() noexcept;
    [[nodiscard]] BSTR Detach() noexcept { return std::exchange(text_, nullptr); }
    void Reset() noexcept;

    // A new BSTR for an [out] parameter (null stays null).
    HRESULT CopyTo(BSTR* out) const;

    bool IsNull() const noexcept { return text_ == nullptr; }
    // Null or no characters.
    bool IsEmpty() const noexcept { return Length() == 0; }
    std::uint32_t Length() const noexcept { return SysStringLen(text_); }
    std::u16string_view View() const noexcept { return BstrView(text_); }
    std::u16string ToU16String() const { return std::u16string(View()); }

    // Compares the texts; null equals empty (use IsNull to tell them apart).
    friend bool operator==(const Bstr& a, const Bstr& b) noexcept { return a.View() == b.View(); }
    friend bool operator==(const Bstr& a, std::u16string_view b) noexcept { return a.View() == b; }

private:
    BSTR text_ = nullptr;
};

}  // namespace com
