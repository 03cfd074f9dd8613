// Every picture of the data folder on one sheet, at 16 and 32 pixels, with the
// tray count pictures as the tray shows them, saved as OUT.png for a person to
// look at. Needs no display.
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <cstdio>

#include "app/common/program_identity.h"
#include "app/forms/common/pictures.h"
#include "platform/ui/image_list.h"

namespace {

QImage Sheet(const QStringList& files) {
    vb::ImageList tray;
    forms::FillImageList(tray, forms::PictureSet::TrayIcons, 16);
    const int counts[] = {0, 3, 9, 12, 47, 99, 100};
    constexpr int kColumns = 8, kCell = 150, kRow = 44;
    const int rows = (static_cast<int>(files.size()) + kColumns - 1) / kColumns + 3;
    QImage sheet(kColumns * kCell, rows * kRow, QImage::Format_RGB32);
    sheet.fill(QColor(0xF4, 0xF4, 0xF4));
    QPainter p(&sheet);
    QFont font = p.font();
    font.setPixelSize(10);
    p.setFont(font);
    for (int i = 0; i < files.size(); ++i) {
        const QString name = files[i].chopped(4);
        const int x = (i % kColumns) * kCell, y = (i / kColumns) * kRow;
        p.drawPixmap(x + 4, y + 4, forms::Picture(name, 16));
        p.drawPixmap(x + 24, y + 4, forms::Picture(name, 32));
        p.drawText(x + 60, y + 24, name);
    }
    const int y0 = (rows - 3) * kRow;
    for (int colour = 1; colour <= forms::kTrayAccountColours; ++colour) {
        for (int i = 0; i < static_cast<int>(std::size(counts)); ++i) {
            const QPixmap picture = forms::ComposeCountPicture(tray, counts[i], colour);
            p.drawPixmap(4 + i * 22, y0 + (colour - 1) * 20, picture);
        }
    }
    for (int i = 0; i < static_cast<int>(std::size(counts)); ++i)
        p.drawPixmap(200 + i * 52, y0, forms::ComposeCountPicture(tray, counts[i], 5).scaled(48, 48));
    return sheet;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUT.png\n", argv[0]);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    SetProgramIdentity();
    const QStringList files =
        QDir(forms::PictureFolder()).entryList({QStringLiteral("*.svg")}, QDir::Files, QDir::Name);
    if (files.isEmpty()) {
        std::fprintf(stderr, "no pictures in %s\n", qPrintable(forms::PictureFolder()));
        return 1;
    }
    if (!Sheet(files).save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
