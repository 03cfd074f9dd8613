#include "platform/ui/frame.h"

namespace vb {

Frame::Frame(QWidget* parent) : Control<QGroupBox>(parent) {
  setMouseTracking(true);
  ApplyStyle();
}

void Frame::SetCaption(const QString& caption) {
  caption_ = caption;
  setTitle(LiteralCaption(caption));
}

void Frame::SetBorderStyle(int style) {
  border_ = style;
  ApplyStyle();
}

void Frame::ApplyStyle() {
  // A borderless frame is only a container; the caption is not drawn either.
  if (border_ == 0) setStyleSheet(QStringLiteral("QGroupBox { border: none; margin: 0; padding: 0; }"
                                                 "QGroupBox::title { color: transparent; }"));
  else setStyleSheet(QString());
}

void Frame::mouseMoveEvent(QMouseEvent* event) {
  QGroupBox::mouseMoveEvent(event);
  Fire(MouseMove, VbButton(event->buttons()), VbShift(event->modifiers()), TwipsX(event->position()),
       TwipsY(event->position()));
}

}  // namespace vb
