#include "platform/ui/window_frame.h"

#include <QApplication>
#include <QWidget>
#include <algorithm>

#include "platform/ui/twips.h"

namespace vb {
namespace {

QSize gSeen(0, 0);  // the last frame a window reported, pixels

bool Framed(QSize extra) { return extra.width() > 0 || extra.height() > 0; }

// Kept from ordinary windows and dialogs only: tool windows may have a
// smaller caption, pop-ups and tips none.
QSize Reported(const QWidget& window) {
    const QSize extra = (window.frameGeometry().size() - window.size()).expandedTo(QSize(0, 0));
    const Qt::WindowType type = window.windowType();
    if (Framed(extra) && (type == Qt::Window || type == Qt::Dialog)) gSeen = extra;
    return extra;
}

}  // namespace

WindowFrame WindowFrameFromExtra(QSize extraPixels) {
    WindowFrame f;
    f.borderWidth = PixelsToTwipsX(1);
    extraPixels = extraPixels.expandedTo(QSize(0, 0));
    if (!Framed(extraPixels)) return f;
    const int frame = extraPixels.width() / 2;
    f.frameThickness = PixelsToTwipsX(frame);
    f.captionHeight = PixelsToTwipsY(std::max(0, extraPixels.height() - 2 * frame));
    f.measured = true;
    return f;
}

WindowFrame CurrentWindowFrame() {
    for (const QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible()) Reported(*w);
    }
    return WindowFrameFromExtra(gSeen);
}

QSize WindowFrameExtra(const QWidget& window) {
    if (window.windowFlags() & Qt::FramelessWindowHint) return QSize(0, 0);
    const QSize reported = Reported(window);
    return Framed(reported) || window.isVisible() ? reported : gSeen;
}

}  // namespace vb
