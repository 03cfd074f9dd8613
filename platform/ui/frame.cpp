#include "platform/ui/frame.h"

#include <QPainter>
#include <QStyleOptionGroupBox>

namespace vb {

Frame::Frame(QWidget* parent) : Control<QGroupBox>(parent) {
    setMouseTracking(true);
    KeepColoursToSelf();
}

void Frame::SetCaption(const QString& caption) {
    caption_ = caption;
    setTitle(LiteralCaption(caption));
}

void Frame::SetBorderStyle(int style) {
    border_ = style;
    update();
}

void Frame::paintEvent(QPaintEvent* event) {
    (void)event;
    QPainter p(this);
    if (BackColorSet()) p.fillRect(rect(), ToQColor(BackColor()));
    // A borderless frame is only a container: neither border nor caption.
    if (border_ == 0) return;
    QStyleOptionGroupBox option;
    initStyleOption(&option);
    const QColor fore = ToQColor(ForeColor());
    for (const auto group : {QPalette::Active, QPalette::Inactive})
        option.palette.setColor(group, QPalette::WindowText, fore);
    // A disabled frame greys its caption as the style does.
    option.textColor = isEnabled() ? fore : option.palette.color(QPalette::Disabled, QPalette::WindowText);
    style()->drawComplexControl(QStyle::CC_GroupBox, &option, &p, this);
}

void Frame::mouseMoveEvent(QMouseEvent* event) {
    QGroupBox::mouseMoveEvent(event);
    Fire(MouseMove, VbButton(event->buttons()), VbShift(event->modifiers()), TwipsX(event->position()),
         TwipsY(event->position()));
}

}  // namespace vb
