#include "app/forms/common/tool_tip.h"

#include <QWidget>

namespace {

// The tooltip window keeps a tip as a C string: it ends at the first NUL.
QString StripAtNull(const QString& text) {
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    return nul < 0 ? text : text.left(nul);
}

// The width is read back as a signed 16-bit number.
int32_t LoWordOf(int32_t value) { return static_cast<int16_t>(value & 0xFFFF); }

}  // namespace

ToolTip::~ToolTip() { delete window_.data(); }

bool ToolTip::Create(QWidget& form) {
    if (!window_) window_ = new vb::ToolTipWindow(&form);
    return !window_.isNull();
}

bool ToolTip::AddTool(QWidget& control, const QString& text) {
    return window_ && window_->AddTool(control, StripAtNull(text));
}

bool ToolTip::RemoveTool(QWidget& control) { return window_ && window_->RemoveTool(control); }

vb::OleColor ToolTip::BackColor() const { return window_ ? window_->BackColor() : 0; }

void ToolTip::SetBackColor(vb::OleColor colour) {
    if (window_) window_->SetBackColor(colour);
}

vb::OleColor ToolTip::ForeColor() const { return window_ ? window_->ForeColor() : 0; }

void ToolTip::SetForeColor(vb::OleColor colour) {
    if (window_) window_->SetForeColor(colour);
}

int32_t ToolTip::DelayTime(int which) const { return window_ ? window_->DelayTime(which & 3) : 0; }

void ToolTip::SetDelayTime(int which, int32_t milliseconds) {
    if (window_) window_->SetDelayTime(which & 3, milliseconds);
}

int32_t ToolTip::Margin(int side) const { return window_ ? window_->Margin(side) : 0; }

void ToolTip::SetMargin(int side, int32_t pixels) {
    if (window_) window_->SetMargin(side, pixels);
}

int32_t ToolTip::MaxTipWidth() const { return window_ ? LoWordOf(window_->MaxTipWidth()) : 0; }

void ToolTip::SetMaxTipWidth(int32_t pixels) {
    if (window_) window_->SetMaxTipWidth(pixels < 1 ? -1 : pixels);
}

int32_t ToolTip::ToolCount() const { return window_ ? window_->ToolCount() : 0; }

QString ToolTip::ToolText(const QWidget& control) const {
    return window_ ? window_->ToolText(control) : QString();
}

void ToolTip::SetToolText(QWidget& control, const QString& text) {
    if (window_) window_->SetToolText(control, StripAtNull(text));
}
