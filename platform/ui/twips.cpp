#include "platform/ui/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace vb {
namespace {

constexpr double kDefaultDpi = 96.0;

QScreen* primary() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::primaryScreen()
                                                                        : nullptr;
}

double dpiX() {
    const QScreen* s = primary();
    return s && s->logicalDotsPerInchX() > 0 ? s->logicalDotsPerInchX() : kDefaultDpi;
}

double dpiY() {
    const QScreen* s = primary();
    return s && s->logicalDotsPerInchY() > 0 ? s->logicalDotsPerInchY() : kDefaultDpi;
}

}  // namespace

double TwipsPerPixelX() { return kTwipsPerInch / dpiX(); }
double TwipsPerPixelY() { return kTwipsPerInch / dpiY(); }

int TwipsToPixelsX(int twips) { return static_cast<int>(std::lround(twips / TwipsPerPixelX())); }
int TwipsToPixelsY(int twips) { return static_cast<int>(std::lround(twips / TwipsPerPixelY())); }
int PixelsToTwipsX(int pixels) { return static_cast<int>(std::lround(pixels * TwipsPerPixelX())); }
int PixelsToTwipsY(int pixels) { return static_cast<int>(std::lround(pixels * TwipsPerPixelY())); }

int ScreenWidth() {
    const QScreen* s = primary();
    return s ? PixelsToTwipsX(s->availableGeometry().width()) : 0;
}

int ScreenHeight() {
    const QScreen* s = primary();
    return s ? PixelsToTwipsY(s->availableGeometry().height()) : 0;
}

}  // namespace vb
