#include "platform/ui/tool_tip_window.h"

#include <QAbstractScrollArea>
#include <QCursor>
#include <QEvent>
#include <QLabel>
#include <QWidget>
#include <algorithm>

#include "platform/ui/control.h"

namespace vb {
namespace {

// Events reach a scroll area's viewport, not the area itself.
QWidget* eventTarget(QWidget& control) {
    if (auto* area = qobject_cast<QAbstractScrollArea*>(&control)) return area->viewport();
    return &control;
}

}  // namespace

ToolTipWindow::ToolTipWindow(QWidget* owner) : QObject(owner), tip_(std::make_unique<QLabel>()) {
    tip_->setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint);
    tip_->setTextFormat(Qt::PlainText);
    tip_->setFrameShape(QFrame::Box);
    tip_->setAutoFillBackground(true);
    initial_.setSingleShot(true);
    initial_.setInterval(500);
    autopop_.setSingleShot(true);
    QObject::connect(&initial_, &QTimer::timeout, this, [this] {
        if (const Tool* t = hovered_ ? Find(eventTarget(*hovered_)) : nullptr) ShowFor(*t);
    });
    QObject::connect(&autopop_, &QTimer::timeout, this, [this] { HideTip(); });
    Restyle();
}

ToolTipWindow::~ToolTipWindow() {
    for (const Tool& t : tools_) {
        if (t.control) eventTarget(*t.control)->removeEventFilter(this);
    }
}

ToolTipWindow::Tool* ToolTipWindow::Find(const QObject* watched) {
    for (Tool& t : tools_) {
        if (t.control && (t.control == watched || eventTarget(*t.control) == watched)) return &t;
    }
    return nullptr;
}

const ToolTipWindow::Tool* ToolTipWindow::Find(const QObject* watched) const {
    return const_cast<ToolTipWindow*>(this)->Find(watched);
}

bool ToolTipWindow::AddTool(QWidget& control, const QString& text) {
    if (Find(&control)) return false;
    tools_.push_back(Tool{&control, text});
    QWidget* target = eventTarget(control);
    target->setMouseTracking(true);
    target->installEventFilter(this);
    return true;
}

bool ToolTipWindow::RemoveTool(QWidget& control) {
    auto it = std::find_if(tools_.begin(), tools_.end(),
                           [&control](const Tool& t) { return t.control == &control; });
    if (it == tools_.end()) return false;
    eventTarget(control)->removeEventFilter(this);
    if (hovered_ == &control) HideTip();
    tools_.erase(it);
    return true;
}

QString ToolTipWindow::ToolText(const QWidget& control) const {
    const Tool* t = Find(&control);
    return t ? t->text : QString();
}

void ToolTipWindow::SetToolText(QWidget& control, const QString& text) {
    Tool* t = Find(&control);
    if (!t) return;
    t->text = text;
    if (IsShowing() && hovered_ == &control) {
        if (text.isEmpty())
            HideTip();
        else
            ShowFor(*t);
    }
}

void ToolTipWindow::SetBackColor(OleColor c) {
    back_ = c;
    Restyle();
}

void ToolTipWindow::SetForeColor(OleColor c) {
    fore_ = c;
    Restyle();
}

int ToolTipWindow::DelayTime(int which) const {
    switch (which & 3) {
        case TTDT_AUTOPOP:
            return autopopMs_;
        case TTDT_INITIAL:
        case TTDT_AUTOMATIC:
            return initial_.interval();
        default:
            return initial_.interval() / 5;  // reshow
    }
}

void ToolTipWindow::SetDelayTime(int which, int ms) {
    switch (which & 3) {
        case TTDT_AUTOPOP:
            autopopMs_ = ms;
            break;
        case TTDT_AUTOMATIC:
            initial_.setInterval(ms);
            autopopMs_ = ms * 10;
            break;
        case TTDT_INITIAL:
            initial_.setInterval(ms);
            break;
        default:
            break;
    }
}

int ToolTipWindow::Margin(int side) const { return side >= 0 && side < 4 ? margins_[side] : 0; }

void ToolTipWindow::SetMargin(int side, int pixels) {
    if (side < 0 || side > 3) return;
    margins_[side] = pixels;
    Restyle();
}

void ToolTipWindow::SetMaxTipWidth(int pixels) {
    maxWidth_ = pixels < 1 ? -1 : pixels;
    Restyle();
}

void ToolTipWindow::Restyle() {
    QPalette p = tip_->palette();
    p.setColor(QPalette::Window, ToQColor(back_));
    p.setColor(QPalette::WindowText, ToQColor(fore_));
    tip_->setPalette(p);
    tip_->setContentsMargins(margins_[0] + 2, margins_[1] + 1, margins_[2] + 2, margins_[3] + 1);
    tip_->setWordWrap(maxWidth_ > 0);
    tip_->setMaximumWidth(maxWidth_ > 0 ? maxWidth_ : QWIDGETSIZE_MAX);
}

bool ToolTipWindow::IsShowing() const { return tip_->isVisible(); }

QString ToolTipWindow::ShownText() const { return IsShowing() ? tip_->text() : QString(); }

void ToolTipWindow::ShowFor(const Tool& tool) {
    if (tool.text.isEmpty()) {
        HideTip();
        return;
    }
    tip_->setText(ToQtLines(tool.text));
    tip_->adjustSize();
    if (!tip_->isVisible()) {
        tip_->move(QCursor::pos() + QPoint(0, 20));
        tip_->show();
    }
    autopop_.start(autopopMs_);
}

void ToolTipWindow::HideTip() {
    initial_.stop();
    autopop_.stop();
    tip_->hide();
}

bool ToolTipWindow::eventFilter(QObject* watched, QEvent* event) {
    Tool* tool = Find(watched);
    if (!tool) return QObject::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::Enter:
        case QEvent::MouseMove:
            hovered_ = tool->control;
            if (!IsShowing()) initial_.start();
            break;
        case QEvent::Leave:
        case QEvent::MouseButtonPress:
        case QEvent::Wheel:
        case QEvent::Hide:
            hovered_ = nullptr;
            HideTip();
            break;
        case QEvent::ToolTip:
            return true;  // this window shows the tip, not Qt's own
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace vb
