#pragma once
#include <QGroupBox>

#include "platform/ui/control.h"

namespace vb {

// A frame: a container with an optional caption and border. Its child
// controls are placed in twips from its top-left corner. Its fore and back
// colours paint its caption and background, never the controls inside.
class Frame : public Control<QGroupBox> {
public:
    explicit Frame(QWidget* parent);

    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    int BorderStyle() const { return border_; }
    void SetBorderStyle(int style);  // 0 none, 1 fixed single

    MouseHandler MouseMove;

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QString caption_;
    int border_ = 1;
};

}  // namespace vb
