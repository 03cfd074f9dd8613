#pragma once
// A picture box or image control: shows a picture, stretched or not. As a
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

    std::function<void()> Click;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void Refresh();

    QPixmap picture_;
    bool stretch_ = false;
};

}  // namespace vb
