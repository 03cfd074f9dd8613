#include "platform/ui/picture_box.h"

#include <QPainter>

namespace vb {

PictureBox::PictureBox(QWidget* parent) : Control<QLabel>(parent) {
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    KeepColoursToSelf();
}

void PictureBox::SetPicture(const QPixmap& picture) {
    picture_ = picture;
    Refresh();
}

void PictureBox::SetStretch(bool on) {
    stretch_ = on;
    Refresh();
}

void PictureBox::Refresh() {
    if (picture_.isNull()) {
        clear();
        return;
    }
    setPixmap(stretch_ && !size().isEmpty()
                  ? picture_.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                  : picture_);
}

void PictureBox::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    if (stretch_) Refresh();
}

void PictureBox::paintEvent(QPaintEvent* event) {
    if (BackColorSet()) QPainter(this).fillRect(rect(), ToQColor(BackColor()));
    QLabel::paintEvent(event);
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton) Fire(Click);
}

}  // namespace vb
