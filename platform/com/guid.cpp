#include "platform/com/guid.h"

#include <cstdio>

namespace com {

std::string GuidToString(const GUID& g) {
    char text[40];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned>(g.Data1), static_cast<unsigned>(g.Data2),
                  static_cast<unsigned>(g.Data3), g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4],
                  g.Data4[5], g.Data4[6], g.Data4[7]);
    return text;
}

std::u16string GuidToU16String(const GUID& g) {
    const std::string narrow = GuidToString(g);
    return {narrow.begin(), narrow.end()};
}

}  // namespace com

std::size_t std::hash<com::GUID>::operator()(const com::GUID& g) const noexcept {
    std::uint64_t h =
        (static_cast<std::uint64_t>(g.Data1) << 32) ^ (static_cast<std::uint64_t>(g.Data2) << 16) ^ g.Data3;
    for (const std::uint8_t b : g.Data4) h = h * 1099511628211ull ^ b;
    return static_cast<std::size_t>(h);
}
