#include "platform/ui/picture_box.h"

#include <QPainter>

namespace vb {

PictureBox::PictureBox(QWidget* parent) : Control<QLabel>(parent) {
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  KeepColoursToSelf();
}

void PictureBox::SetPicture(const QPixmap& picture) {
  picture_ = picture;
  image_ = QPixmap();
  Refresh();
}

void PictureBox::SetStretch(bool on) {
  stretch_ = on;
  Refresh();
}

void PictureBox::Refresh() {
  const QPixmap& shown = image_.isNull() ? picture_ : image_;
  if (shown.isNull()) {
    clear();
    return;
  }
  setPixmap(stretch_ && !size().isEmpty() ? shown.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                          : shown);
}

void PictureBox::PaintPicture(const QPixmap& picture, int x, int y, int width, int height) {
  if (image_.isNull()) {
    image_ = QPixmap(std::max(1, this->width()), std::max(1, this->height()));
    image_.fill(Qt::transparent);
    if (!picture_.isNull()) {
      QPainter under(&image_);
      under.drawPixmap(0, 0, picture_);
    }
  }
  QPainter p(&image_);
  const QRect target(TwipsToPixelsX(x), TwipsToPixelsY(y), width < 0 ? picture.width() : TwipsToPixelsX(width),
                     height < 0 ? picture.height() : TwipsToPixelsY(height));
  p.drawPixmap(target, picture);
  p.end();
  Refresh();
}

void PictureBox::Cls() {
  image_ = QPixmap();
  Refresh();
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
