#include "platform/ui/ole_color.h"

#include <QGuiApplication>
#include <QPalette>
#include <algorithm>
#include <cmath>

namespace vb {
namespace {

QPalette::ColorRole systemRole(std::uint32_t index) {
    switch (index) {
        case 2:   // active title bar
        case 13:  // highlight
            return QPalette::Highlight;
        case 14:  // highlight text
        case 9:   // active title bar text
            return QPalette::HighlightedText;
        case 5:  // window background
            return QPalette::Base;
        case 8:  // window text
            return QPalette::Text;
        case 15:  // button face
            return QPalette::Button;
        case 18:  // button text
            return QPalette::ButtonText;
        case 17:  // grey text
            return QPalette::PlaceholderText;
        case 23:  // tooltip text
            return QPalette::ToolTipText;
        case 24:  // tooltip background
            return QPalette::ToolTipBase;
        default:
            return QPalette::Window;
    }
}

// The relative luminance of a colour on screen (sRGB).
double Luminance(const QColor& c) {
    const auto linear = [](double v) {
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
}

double Contrast(const QColor& a, const QColor& b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The active title bar's colour is drawn as text on the window's background
// (titles, the "on" explanations, the pop-up's next-check line): the
// desktop's highlight colour, darkened until it reads as body text does
// (a contrast of 4.5 to 1).
QColor TitleBarColour(const QPalette& pal) {
    QColor c = pal.color(QPalette::Active, QPalette::Highlight);
    const QColor background = pal.color(QPalette::Active, QPalette::Window);
    for (int step = 0; step < 20 && Contrast(c, background) < 4.5; ++step) c = c.darker(115);
    return c;
}

}  // namespace

QColor ToQColor(OleColor c) {
    if (c & 0x80000000u) {
        const QPalette pal = QGuiApplication::palette();
        if ((c & 0xFFu) == 2) return TitleBarColour(pal);
        return pal.color(QPalette::Active, systemRole(c & 0xFFu));
    }
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                  static_cast<int>((c >> 16) & 0xFF));
}

OleColor FromQColor(const QColor& c) { return RGB(c.red(), c.green(), c.blue()); }

}  // namespace vb
