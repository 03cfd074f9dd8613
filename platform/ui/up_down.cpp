#include "platform/ui/up_down.h"

#include <QToolButton>
#include <QVBoxLayout>

#include "platform/ui/text_box.h"

namespace vb {

UpDown::UpDown(QWidget* parent)
    : Control<QWidget>(parent), up_(new QToolButton(this)), down_(new QToolButton(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {up_, down_}) {
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        layout->addWidget(b);
    }
    QObject::connect(up_, &QToolButton::clicked, [this] { StepUp(); });
    QObject::connect(down_, &QToolButton::clicked, [this] { StepDown(); });
}

void UpDown::SetMin(int v) {
    min_ = v;
    if (value_ < min_) Commit(min_);
}

void UpDown::SetMax(int v) {
    max_ = v;
    if (value_ > max_) Commit(max_);
}

void UpDown::SetValue(int v) {
    if (v < min_ || v > max_) throw VbError(kErrInvalidPropertyValue, "Invalid property value");
    Commit(v);
}

void UpDown::Commit(int v) {
    if (v == value_) return;
    value_ = v;
    if (buddy_) buddy_->SetText(QString::number(v));
    Fire(Change);
}

void UpDown::Step(int direction) {
    int current = value_;
    if (buddy_) {
        bool ok = false;
        const int typed = buddy_->Text().trimmed().toInt(&ok);
        if (ok) current = std::clamp(typed, min_, max_);
    }
    int next = current + direction * increment_;
    if (next > max_) next = wrap_ ? min_ : max_;
    if (next < min_) next = wrap_ ? max_ : min_;
    if (next == value_ && buddy_ && buddy_->Text() != QString::number(next)) {
        buddy_->SetText(QString::number(next));  // the buddy held something else: show the value
        return;
    }
    Commit(next);
}

}  // namespace vb
