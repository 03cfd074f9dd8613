#include "platform/ui/design_font.h"

#include <QApplication>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>

namespace vb {
namespace {

const QString kFace = QStringLiteral("Tahoma");
// Where Debian's fonts-wine puts the face: outside the folders the font
// configuration scans, so the program registers it itself. Only the regular
// weight: that package's bold file has bold widths but regular strokes, so
// bold text is drawn by thickening the regular strokes instead, which keeps
// the regular widths.
const char* const kFaceFile = "/usr/share/wine/fonts/tahoma.ttf";

bool gInUse = false;

}  // namespace

QStringList DesignFamilies() {
    // Arial's metric clones are the next closest; then whatever sans-serif
    // face the desktop has.
    return {kFace, QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"), QStringLiteral("DejaVu Sans")};
}

QFont DesignFont(double points) {
    QFont font;
    font.setFamilies(DesignFamilies());
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    return font;
}

void UseDesignFont() {
    if (gInUse) return;
    gInUse = true;
    if (!QFontDatabase::hasFamily(kFace) && QFile::exists(QString::fromLatin1(kFaceFile)))
        QFontDatabase::addApplicationFont(QString::fromLatin1(kFaceFile));
    QApplication::setFont(DesignFont());
}

bool DesignFaceInstalled() { return QFontInfo(DesignFont()).family() == kFace; }

}  // namespace vb
