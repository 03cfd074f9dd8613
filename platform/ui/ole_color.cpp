#include "platform/ui/ole_color.h"

#include <QGuiApplication>
#include <QPalette>

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

}  // namespace

QColor ToQColor(OleColor c) {
  if (c & 0x80000000u) {
    const QPalette pal = QGuiApplication::palette();
    return pal.color(QPalette::Active, systemRole(c & 0xFFu));
  }
  return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF));
}

OleColor FromQColor(const QColor& c) { return RGB(c.red(), c.green(), c.blue()); }

}  // namespace vb
