#pragma once
#include <QLabel>
#include <functional>

#include "platform/ui/control.h"

namespace vb {

enum : int { vbLeftJustify = 0, vbRightJustify = 1, vbCenter = 2 };

// A label: plain text, never rich text, "&" shown as it is.
class Label : public Control<QLabel> {
public:
    explicit Label(QWidget* parent);

    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    int Alignment() const { return alignment_; }
    void SetAlignment(int alignment);
    bool WordWrap() const { return wordWrap(); }
    void SetWordWrap(bool on) { setWordWrap(on); }
    // Transparent labels let their container's colour through.
    void SetTransparent(bool on);
    // 0 none, 1 a single line around the label.
    int BorderStyle() const { return frameShape() == QFrame::NoFrame ? 0 : 1; }
    void SetBorderStyle(int style);

    std::function<void()> Click;
    std::function<void()> DblClick;
    MouseHandler MouseMove;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QString caption_;
    int alignment_ = vbLeftJustify;
};

}  // namespace vb
