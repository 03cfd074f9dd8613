#pragma once
#include <QColor>
#include <cstdint>

namespace vb {

// A colour as the program stores it: 0x00BBGGRR, or 0x800000nn for system colour nn.
using OleColor = std::uint32_t;

constexpr OleColor kSysActiveTitleBar = 0x80000002;  // "on colour" of the option pages
constexpr OleColor kSysButtonFace = 0x8000000F;
constexpr OleColor kSysWindowText = 0x80000008;
constexpr OleColor kSysWindow = 0x80000005;

constexpr OleColor RGB(int r, int g, int b) {
    return static_cast<OleColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

// System colours resolve through the application palette.
QColor ToQColor(OleColor c);
OleColor FromQColor(const QColor& c);

}  // namespace vb
