#include "platform/ui/tool_bar.h"

#include <QHBoxLayout>
#include <algorithm>

#include "platform/ui/image_list.h"

namespace vb {
namespace {

// What a click on the button does, in the words the user sees on it.
std::string ClickDescription(const ToolButton& button) {
    QString shown = button.Caption().trimmed();
    if (shown.isEmpty()) shown = button.ToolTipText().trimmed();
    if (shown.isEmpty()) shown = button.Key();
    return ("handling a click on \"" + shown + "\"").toStdString();
}

}  // namespace

// ---- ToolButton ----

ToolButton::ToolButton(ToolBar& bar, QToolButton* button, const QString& key, int style)
    : bar_(&bar), button_(button), key_(key), style_(style) {
    button_->setCheckable(style == tbrCheck || style == tbrButtonGroup);
    if (style == tbrSeparator || style == tbrPlaceholder) button_->setEnabled(false);
}

int ToolButton::Index() const { return bar_->IndexOf(*this); }

void ToolButton::SetCaption(const QString& caption) {
    caption_ = caption;
    button_->setText(LiteralCaption(caption));
    bar_->Relayout();
}

void ToolButton::SetToolTipText(const QString& tip) {
    tip_ = tip;
    button_->setToolTip(PlainToolTip(tip));
}

void ToolButton::SetImage(const QString& key) {
    if (!key.isEmpty() && bar_->Images() && !bar_->Images()->Exists(key)) {
        throw VbError(kErrElementNotFound, "Element not found");
    }
    image_ = key;
    RefreshImage();
}

void ToolButton::RefreshImage() {
    QIcon icon;
    const ImageList* normal = bar_->Images();
    if (normal && !image_.isEmpty() && normal->Exists(image_)) {
        icon.addPixmap(normal->Picture(image_), QIcon::Normal);
        const ImageList* grey = bar_->DisabledImages();
        if (grey && grey->Exists(image_)) icon.addPixmap(grey->Picture(image_), QIcon::Disabled);
    }
    button_->setIcon(icon);
    bar_->Relayout();
}

void ToolButton::SetVisible(bool on) {
    visible_ = on;
    button_->setVisible(on);
    bar_->Relayout();
}

void ToolButton::SetValue(int value) {
    if (!button_->isCheckable()) button_->setCheckable(true);
    const QSignalBlocker block(button_);
    button_->setChecked(value == tbrPressed);
}

// ---- ToolBar ----

ToolBar::ToolBar(QWidget* parent) : Control<QWidget>(parent), layout_(new QHBoxLayout(this)) {
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(0);
    layout_->addStretch(1);
}

ToolBar::~ToolBar() = default;

ToolButton& ToolBar::AddButton(const QString& key, const QString& caption, int style, const QString& image,
                               int index) {
    if (!key.isEmpty() && HasButton(key)) throw VbError(kErrKeyNotUnique, "Key is not unique");
    auto* qb = new QToolButton(this);
    qb->setAutoRaise(style_ == tbrFlat);
    qb->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);  // captions stand right of the pictures
    const int at = (index >= 1 && index <= ButtonCount()) ? index - 1 : ButtonCount();
    layout_->insertWidget(at, qb, 0, Qt::AlignTop);
    auto owned = std::make_unique<ToolButton>(*this, qb, key, style);
    ToolButton* button = owned.get();
    buttons_.insert(buttons_.begin() + at, std::move(owned));
    QObject::connect(qb, &QToolButton::clicked, [this, button](bool) {
        if (button->Style() == tbrSeparator || button->Style() == tbrPlaceholder) return;
        FireAs(ClickDescription(*button), ButtonClick, *button);
    });
    if (style == tbrSeparator) qb->setFixedWidth(8);
    button->SetCaption(caption);
    if (!image.isEmpty()) button->SetImage(image);
    return *button;
}

ToolButton& ToolBar::Buttons(int index) {
    if (index < 1 || index > ButtonCount()) throw VbError(kErrIndexOutOfBounds, "Index out of bounds");
    return *buttons_[static_cast<std::size_t>(index - 1)];
}

ToolButton& ToolBar::Buttons(const QString& key) {
    for (auto& b : buttons_) {
        if (!key.isEmpty() && b->Key().compare(key, Qt::CaseInsensitive) == 0) return *b;
    }
    throw VbError(kErrElementNotFound, "Element not found");
}

bool ToolBar::HasButton(const QString& key) const {
    return std::any_of(buttons_.begin(), buttons_.end(),
                       [&key](const auto& b) { return b->Key().compare(key, Qt::CaseInsensitive) == 0; });
}

int ToolBar::IndexOf(const ToolButton& button) const {
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        if (buttons_[i].get() == &button) return static_cast<int>(i) + 1;
    }
    return 0;
}

void ToolBar::SetStyle(int style) {
    style_ = style;
    for (auto& b : buttons_) b->QtButton().setAutoRaise(style == tbrFlat);
}

void ToolBar::SetImageList(const ImageList* images) {
    images_ = images;
    for (auto& b : buttons_) b->RefreshImage();
}

void ToolBar::SetDisabledImageList(const ImageList* images) {
    disabled_ = images;
    for (auto& b : buttons_) b->RefreshImage();
}

void ToolBar::Relayout() {
    int w = 0;
    int h = 0;
    for (auto& b : buttons_) {
        if (b->Style() == tbrSeparator) continue;
        QToolButton& q = b->QtButton();
        q.setMinimumWidth(0);
        q.setMaximumWidth(QWIDGETSIZE_MAX);
        w = std::max(w, q.sizeHint().width());
        h = std::max(h, q.sizeHint().height());
    }
    for (auto& b : buttons_) {
        if (b->Style() == tbrSeparator) continue;
        b->QtButton().setFixedSize(w, h);
    }
}

int ToolBar::ButtonWidth() const {
    for (const auto& b : buttons_) {
        if (b->Style() != tbrSeparator) return PixelsToTwipsX(b->QtButton().width());
    }
    return 0;
}

int ToolBar::ButtonHeight() const {
    for (const auto& b : buttons_) {
        if (b->Style() != tbrSeparator) return PixelsToTwipsY(b->QtButton().height());
    }
    return 0;
}

}  // namespace vb
