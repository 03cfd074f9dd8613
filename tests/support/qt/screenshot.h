#pragma once
// For the programs that show a window on a virtual X display and save a
// picture of it for a person to look at.
#include <QEventLoop>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QRect>
#include <QScreen>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace test_support {

// Saves the screen's `area` as a picture at path. False, saying why, when no
// picture was taken or `shown` shows nothing but one colour.
inline bool SaveScreenshot(const QRect& area, QWidget& shown, const char* path) {
    const QPixmap shot =
        QGuiApplication::primaryScreen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    if (shot.isNull() || !shot.save(QString::fromLocal8Bit(path))) {
        std::fprintf(stderr, "no picture taken\n");
        return false;
    }
    const QImage img = shown.grab().toImage();
    const QRgb first = img.pixel(0, 0);
    bool varied = false;
    for (int y = 0; y < img.height() && !varied; y += 7) {
        for (int x = 0; x < img.width() && !varied; x += 7) varied = img.pixel(x, y) != first;
    }
    if (!varied) {
        std::fprintf(stderr, "the window shows only one colour\n");
        return false;
    }
    std::printf("saved %s (%dx%d)\n", path, shot.width(), shot.height());
    return true;
}

// Lets a shown window settle for a moment, then saves it with a margin of
// the screen around its frame.
inline bool SaveSettledScreenshot(QWidget& shown, const char* path) {
    QEventLoop loop;
    QTimer::singleShot(400, &loop, &QEventLoop::quit);
    loop.exec();
    return SaveScreenshot(shown.frameGeometry().adjusted(-10, -10, 10, 10), shown, path);
}

}  // namespace test_support
