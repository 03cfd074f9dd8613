#include "platform/ui/menu_style_file.h"

#include <charconv>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "platform/store/profile.h"

namespace vb {
namespace {

// A whole number that fits 32 bits, signed or unsigned; nothing else.
std::optional<std::int64_t> Whole32(const std::string& text) {
    std::int64_t n = 0;
    const char* end = text.data() + text.size();
    const auto [stop, ec] = std::from_chars(text.data(), end, n);
    if (ec != std::errc() || stop != end || text.empty()) return std::nullopt;
    if (n < std::numeric_limits<std::int32_t>::min() || n > std::numeric_limits<std::uint32_t>::max())
        return std::nullopt;
    return n;
}

std::optional<std::int64_t> ReadWhole(const char* section, const char* key,
                                      const std::filesystem::path& file) {
    return Whole32(platform::store::GetPrivateProfileString(section, key, "", file));
}

}  // namespace

MenuStyle ReadMenuStyleFile(const std::filesystem::path& file, const MenuStyle& fallback) {
    MenuStyle s = fallback;
    if (const auto style = ReadWhole("Menu", "MenuStyle", file);
        style && *style <= std::numeric_limits<std::int32_t>::max()) {
        s.style = static_cast<int>(*style);
    }
    OleColor* const colours[] = {&s.color1, &s.color2, &s.color3};
    const char* const keys[] = {"New3DColor1", "New3DColor2", "New3DColor3"};
    for (int i = 0; i < 3; ++i) {
        if (const auto c = ReadWhole("New3D", keys[i], file)) *colours[i] = static_cast<OleColor>(*c);
    }
    return s;
}

}  // namespace vb
