#include "platform/ui/status_bar.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>

namespace vb {

StatusBar::StatusBar(QWidget* parent) : Control<QWidget>(parent), layout_(new QHBoxLayout(this)) {
    layout_->setContentsMargins(1, 1, 1, 1);
    layout_->setSpacing(2);
    setMouseTracking(true);
}

StatusBar::Panel& StatusBar::At(int index) {
    if (index < 1 || index > PanelCount()) throw VbError(kErrIndexOutOfBounds, "Index out of bounds");
    return panels_[static_cast<std::size_t>(index - 1)];
}

const StatusBar::Panel& StatusBar::At(int index) const {
    if (index < 1 || index > PanelCount()) throw VbError(kErrIndexOutOfBounds, "Index out of bounds");
    return panels_[static_cast<std::size_t>(index - 1)];
}

int StatusBar::AddPanel(const QString& text, int widthTwips, int autoSize, const QString& key) {
    auto* box = new QFrame(this);
    box->setFrameShape(QFrame::StyledPanel);
    box->setFrameShadow(QFrame::Sunken);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(2, 0, 2, 0);
    row->setSpacing(2);
    auto* picture = new QLabel(box);
    picture->setVisible(false);
    auto* label = new QLabel(box);
    label->setTextFormat(Qt::PlainText);
    row->addWidget(picture);
    row->addWidget(label, 1);
    // The bar itself sees the pointer moving over any panel.
    for (QWidget* w :
         {static_cast<QWidget*>(box), static_cast<QWidget*>(picture), static_cast<QWidget*>(label)}) {
        w->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    layout_->addWidget(box);
    panels_.push_back(Panel{box, picture, label, key, QString(), sbrNoAutoSize});
    const int index = PanelCount();
    SetPanelText(index, text);
    SetPanelWidth(index, widthTwips);
    SetPanelAutoSize(index, autoSize);
    return index;
}

QString StatusBar::PanelText(int index) const { return At(index).raw; }

void StatusBar::SetPanelText(int index, const QString& text) {
    Panel& p = At(index);
    p.raw = text;
    p.text->setText(ToQtLines(text));
}

QString StatusBar::PanelKey(int index) const { return At(index).key; }

bool StatusBar::PanelHasPicture(int index) const { return !At(index).picture->isHidden(); }

QPixmap StatusBar::PanelPicture(int index) const {
    return PanelHasPicture(index) ? At(index).picture->pixmap() : QPixmap();
}

void StatusBar::SetPanelPicture(int index, const QPixmap& picture) {
    Panel& p = At(index);
    p.picture->setPixmap(picture);
    p.picture->setVisible(!picture.isNull());
}

int StatusBar::PanelLeft(int index) const { return PixelsToTwipsX(At(index).box->x()); }
int StatusBar::PanelWidth(int index) const { return PixelsToTwipsX(At(index).box->width()); }

void StatusBar::SetPanelWidth(int index, int twips) {
    Panel& p = At(index);
    if (p.autoSize == sbrSpring)
        p.box->setMinimumWidth(TwipsToPixelsX(twips));
    else
        p.box->setFixedWidth(TwipsToPixelsX(twips));
}

void StatusBar::SetPanelAutoSize(int index, int autoSize) {
    Panel& p = At(index);
    p.autoSize = autoSize;
    const int stretch = autoSize == sbrSpring ? 1 : 0;
    layout_->setStretchFactor(p.box, stretch);
    if (autoSize == sbrSpring) {
        const int w = p.box->width();
        p.box->setMaximumWidth(QWIDGETSIZE_MAX);
        p.box->setMinimumWidth(std::min(w, p.box->minimumWidth()));
    } else if (autoSize == sbrContents) {
        p.box->setMinimumWidth(0);
        p.box->setMaximumWidth(QWIDGETSIZE_MAX);
        p.box->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    }
}

int StatusBar::PanelWidthFor(int index, const QString& text, int pictureWidth) const {
    const Panel& p = At(index);
    const QMargins row = p.box->layout()->contentsMargins();
    int width = p.text->fontMetrics().horizontalAdvance(ToQtLines(text)) + 2 * p.text->margin() + row.left() +
                row.right() + 2 * static_cast<const QFrame*>(p.box)->frameWidth();
    if (pictureWidth > 0) width += TwipsToPixelsX(pictureWidth) + p.box->layout()->spacing();
    return PixelsToTwipsX(width + 1);  // the rounding of twips never cuts a pixel
}

void StatusBar::mouseMoveEvent(QMouseEvent* event) {
    QWidget::mouseMoveEvent(event);
    Fire(MouseMove, VbButton(event->buttons()), VbShift(event->modifiers()), TwipsX(event->position()),
         TwipsY(event->position()));
}

}  // namespace vb
