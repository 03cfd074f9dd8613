#include "platform/ui/control.h"

#include <QGuiApplication>
#include <QTextDocument>
#include <cstdio>
#include <cstdlib>

namespace vb {

int VbButton(Qt::MouseButtons buttons) {
    int b = 0;
    if (buttons & Qt::LeftButton) b |= vbLeftButton;
    if (buttons & Qt::RightButton) b |= vbRightButton;
    if (buttons & Qt::MiddleButton) b |= vbMiddleButton;
    return b;
}

int VbShift(Qt::KeyboardModifiers modifiers) {
    int s = 0;
    if (modifiers & Qt::ShiftModifier) s |= 1;
    if (modifiers & Qt::ControlModifier) s |= 2;
    if (modifiers & Qt::AltModifier) s |= 4;
    return s;
}

QString LiteralCaption(const QString& text) {
    QString t = text;
    t.replace(QChar('&'), QStringLiteral("&&"));
    return t;
}

QString ToQtLines(const QString& text) {
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QChar('\r'), QChar('\n'));
    return t;
}

QString FromQtLines(QString text) {
    text.replace(QChar::ParagraphSeparator, QChar('\n'));
    text.replace(QChar::LineSeparator, QChar('\n'));
    text.replace(QChar('\n'), QStringLiteral("\r\n"));
    return text;
}

QString PlainToolTip(const QString& text) {
    if (text.isEmpty()) return text;
    return Qt::convertFromPlainText(ToQtLines(text), Qt::WhiteSpacePre);
}

void RefuseUnscripted(const QString& what) {
    const QString platform = QGuiApplication::platformName();
    if (platform != QLatin1String("offscreen") && platform != QLatin1String("minimal")) return;
    std::fprintf(stderr, "%s: shown without a scripted answer\n", qUtf8Printable(what));
    std::abort();
}

ControlBase::ControlBase(QWidget& w) : w_(w) {
    // Each control keeps its own font weight, so a bold container caption
    // does not make its children bold.
    QFont f = w.font();
    f.setBold(f.bold());
    w.setFont(f);
}

void ControlBase::Move(int left, int top, int width, int height) {
    const int w = width < 0 ? w_.width() : TwipsToPixelsX(width);
    const int h = height < 0 ? w_.height() : TwipsToPixelsY(height);
    w_.setGeometry(TwipsToPixelsX(left), TwipsToPixelsY(top), w, h);
}

void ControlBase::SetToolTipText(const QString& tip) {
    tip_ = tip;
    w_.setToolTip(PlainToolTip(tip));
}

void ControlBase::ZOrder(int position) {
    if (position == 0)
        w_.raise();
    else
        w_.lower();
}

void ControlBase::SetFocus() { w_.setFocus(Qt::OtherFocusReason); }

void ControlBase::SetFontBold(bool on) {
    QFont f = w_.font();
    f.setBold(on);
    w_.setFont(f);
}

void ControlBase::SetFontSize(double points) {
    QFont f = w_.font();
    f.setPointSizeF(points);
    w_.setFont(f);
}

void ControlBase::SetFontUnderline(bool on) {
    QFont f = w_.font();
    f.setUnderline(on);
    w_.setFont(f);
}

void ControlBase::SetBackColor(OleColor c) {
    back_ = c;
    backSet_ = true;
    if (coloursToSelf_) {
        w_.update();
        return;
    }
    QPalette p = w_.palette();
    p.setColor(w_.backgroundRole(), ToQColor(c));
    w_.setPalette(p);
    w_.setAutoFillBackground(true);
}

void ControlBase::SetForeColor(OleColor c) {
    fore_ = c;
    if (coloursToSelf_) {
        w_.update();
        return;
    }
    QPalette p = w_.palette();
    p.setColor(w_.foregroundRole(), ToQColor(c));
    p.setColor(QPalette::Text, ToQColor(c));
    w_.setPalette(p);
}

}  // namespace vb
