#include "platform/ui/label.h"

namespace vb {

Label::Label(QWidget* parent) : Control<QLabel>(parent) {
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setWordWrap(true);
}

void Label::SetCaption(const QString& caption) {
    caption_ = caption;
    setText(ToQtLines(caption));
}

void Label::SetAlignment(int alignment) {
    alignment_ = alignment;
    const Qt::Alignment h = alignment == vbRightJustify ? Qt::AlignRight
                            : alignment == vbCenter     ? Qt::AlignHCenter
                                                        : Qt::AlignLeft;
    setAlignment(h | Qt::AlignTop);
}

void Label::SetTransparent(bool on) { setAutoFillBackground(!on); }

void Label::SetBorderStyle(int style) {
    setFrameStyle(style == 1 ? QFrame::Box | QFrame::Plain : QFrame::NoFrame);
    setLineWidth(1);
}

void Label::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) Fire(Click);
}

void Label::mouseDoubleClickEvent(QMouseEvent* event) {
    QLabel::mouseDoubleClickEvent(event);
    Fire(DblClick);
}

void Label::mouseMoveEvent(QMouseEvent* event) {
    QLabel::mouseMoveEvent(event);
    Fire(MouseMove, VbButton(event->buttons()), VbShift(event->modifiers()), TwipsX(event->position()),
         TwipsY(event->position()));
}

}  // namespace vb
