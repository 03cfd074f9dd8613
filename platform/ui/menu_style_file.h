#pragma once
// The menu colour theme as a menu settings file holds it: section "Menu" key
// "MenuStyle", section "New3D" keys "New3DColor1" (top), "New3DColor2"
// (middle) and "New3DColor3" (bottom), each a decimal number. Colours may be
// written signed (a 32-bit Long: -2147483633 is system colour 15).
#include <filesystem>

#include "platform/ui/menu.h"

namespace vb {

// A missing or unreadable file, a missing key and a value that is no whole
// number in 32 bits each keep that part of `fallback`.
MenuStyle ReadMenuStyleFile(const std::filesystem::path& file, const MenuStyle& fallback = {});

}  // namespace vb
