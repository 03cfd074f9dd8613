#pragma once
// A picture box or image control: shows a picture, stretched or not, and
// keeps what is painted on it (the persistent image) for reading back. As a
// container its back colour fills its own background only.
#include <QLabel>
#include <QPixmap>

#include "platform/ui/control.h"

namespace vb {

class PictureBox : public Control<QLabel> {
 public:
  explicit PictureBox(QWidget* parent);

  const QPixmap& Picture() const { return picture_; }
  void SetPicture(const QPixmap& picture);
  bool Stretch() const { return stretch_; }
  void SetStretch(bool on);
  // Paints a picture into the persistent image at (x, y) twips, scaled to
  // width x height twips (its own size when negative).
  void PaintPicture(const QPixmap& picture, int x, int y, int width = -1, int height = -1);
  // Clears the persistent image.
  void Cls();
  // What has been painted (Image property).
  const QPixmap& Image() const { return image_; }

  std::function<void()> Click;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void Refresh();

  QPixmap picture_;
  QPixmap image_;
  bool stretch_ = false;
};

}  // namespace vb
