#pragma once
// 128-bit class and interface identifiers and their "{8-4-4-4-12}" text.
#include <array>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace com {

struct GUID {
    std::uint32_t Data1 = 0;
    std::uint16_t Data2 = 0;
    std::uint16_t Data3 = 0;
    std::array<std::uint8_t, 8> Data4{};

    friend constexpr bool operator==(const GUID&, const GUID&) = default;
    friend constexpr auto operator<=>(const GUID&, const GUID&) = default;
};

using IID = GUID;
using CLSID = GUID;

inline constexpr GUID GUID_NULL{};

namespace detail {

constexpr int HexValue(char c) noexcept {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads `digits` hex digits at `pos`; false on a non-digit.
constexpr bool ReadHex(std::u16string_view text, std::size_t pos, std::size_t digits,
                       std::uint64_t& value) noexcept {
    value = 0;
    for (std::size_t i = 0; i < digits; ++i) {
        const char16_t c = text[pos + i];
        const int v = c < 128 ? HexValue(static_cast<char>(c)) : -1;
        if (v < 0) return false;
        value = value * 16 + static_cast<std::uint64_t>(v);
    }
    return true;
}

constexpr std::optional<GUID> ParseGuidText(std::u16string_view text) noexcept {
    if (text.size() == 38) {
        if (text.front() != u'{' || text.back() != u'}') return std::nullopt;
        text = text.substr(1, 36);
    }
    if (text.size() != 36 || text[8] != u'-' || text[13] != u'-' || text[18] != u'-' || text[23] != u'-')
        return std::nullopt;
    GUID g;
    std::uint64_t v = 0;
    if (!ReadHex(text, 0, 8, v)) return std::nullopt;
    g.Data1 = static_cast<std::uint32_t>(v);
    if (!ReadHex(text, 9, 4, v)) return std::nullopt;
    g.Data2 = static_cast<std::uint16_t>(v);
    if (!ReadHex(text, 14, 4, v)) return std::nullopt;
    g.Data3 = static_cast<std::uint16_t>(v);
    constexpr std::size_t kBytePos[8] = {19, 21, 24, 26, 28, 30, 32, 34};
    for (std::size_t i = 0; i < 8; ++i) {
        if (!ReadHex(text, kBytePos[i], 2, v)) return std::nullopt;
        g.Data4[i] = static_cast<std::uint8_t>(v);
    }
    return g;
}

constexpr std::u16string_view Widen(std::string_view text, char16_t (&buffer)[40]) noexcept {
    const std::size_t n = text.size() < 40 ? text.size() : 40;
    for (std::size_t i = 0; i < n; ++i) buffer[i] = static_cast<unsigned char>(text[i]);
    return {buffer, n};
}

}  // namespace detail

// Text with or without braces; nullopt when it is not a GUID.
constexpr std::optional<GUID> ParseGuid(std::u16string_view text) noexcept {
    return detail::ParseGuidText(text);
}
constexpr std::optional<GUID> ParseGuid(std::string_view text) noexcept {
    if (text.size() > 38) return std::nullopt;
    char16_t buffer[40]{};
    return detail::ParseGuidText(detail::Widen(text, buffer));
}

// For identifiers written in code: a malformed text fails to compile.
consteval GUID GuidLiteral(std::string_view text) {
    const auto g = ParseGuid(text);
    if (!g) throw "malformed GUID literal";
    return *g;
}

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper-case hex digits.
std::string GuidToString(const GUID& g);
std::u16string GuidToU16String(const GUID& g);

}  // namespace com

template <>
struct std::hash<com::GUID> {
    std::size_t operator()(const com::GUID& g) const noexcept;
};
