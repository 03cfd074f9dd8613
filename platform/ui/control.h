#pragma once
// What every control shares: geometry in twips, Visible/Enabled as the
// control's own flags, Tag, tool tip, z-order, focus, font and colours, and
// the VB mouse-event arguments. Control<W> layers this over a Qt widget W.
#include <QFont>
#include <QMouseEvent>
#include <QPalette>
#include <QString>
#include <QWidget>
#include <functional>
#include <string_view>
#include <utility>

#include "platform/loop/handler_barrier.h"
#include "platform/ui/ole_color.h"
#include "platform/ui/twips.h"
#include "platform/ui/vb_error.h"

namespace vb {

// Runs an event's handler, copied first so that a handler may replace
// itself. When the event loop dispatched the event, a failure of the handler
// ends here (platform/loop/handler_barrier.h); `event` says what was being
// done ("handling a click on ..."), for the report.
template <class F, class... A>
void FireAs(std::string_view event, const F& handler, A&&... args) {
    if (!handler) return;
    F copy = handler;
    platform::loop::RunHandler(event, [&] { copy(std::forward<A>(args)...); });
}

template <class F, class... A>
void Fire(const F& handler, A&&... args) {
    FireAs("handling an event of the window", handler, std::forward<A>(args)...);
}

using MouseHandler = std::function<void(int Button, int Shift, int X, int Y)>;

constexpr int vbLeftButton = 1;
constexpr int vbRightButton = 2;
constexpr int vbMiddleButton = 4;

int VbButton(Qt::MouseButtons buttons);
int VbShift(Qt::KeyboardModifiers modifiers);

// Captions of controls are shown literally: "&" is no access-key marker.
QString LiteralCaption(const QString& text);
// Tool tips are plain text; CR LF breaks lines.
QString PlainToolTip(const QString& text);
// CR LF and lone CR become LF (what Qt widgets show).
QString ToQtLines(const QString& text);
// Back to CR LF line breaks, from LF and Qt's paragraph and line separators.
QString FromQtLines(QString text);

// Off screen (the tests' platforms) nobody can answer a dialog: one shown
// there without a scripted answer stops the program, naming it, instead of
// waiting for ever.
void RefuseUnscripted(const QString& what);

// Geometry and the common properties, for any widget.
class ControlBase {
public:
    explicit ControlBase(QWidget& w);
    ControlBase(const ControlBase&) = delete;
    ControlBase& operator=(const ControlBase&) = delete;

    int Left() const { return PixelsToTwipsX(w_.x()); }
    int Top() const { return PixelsToTwipsY(w_.y()); }
    int Width() const { return PixelsToTwipsX(w_.width()); }
    int Height() const { return PixelsToTwipsY(w_.height()); }
    void SetLeft(int twips) { w_.move(TwipsToPixelsX(twips), w_.y()); }
    void SetTop(int twips) { w_.move(w_.x(), TwipsToPixelsY(twips)); }
    void SetWidth(int twips) { w_.resize(TwipsToPixelsX(twips), w_.height()); }
    void SetHeight(int twips) { w_.resize(w_.width(), TwipsToPixelsY(twips)); }
    // Move(left, top, width, height); a negative width or height keeps it.
    void Move(int left, int top, int width = -1, int height = -1);

    bool Visible() const { return !w_.isHidden(); }
    void SetVisible(bool on) { w_.setVisible(on); }
    // The control's own setting: a control inside a disabled container cannot
    // be used, yet still reports what it was last set to.
    bool Enabled() const { return !w_.testAttribute(Qt::WA_ForceDisabled); }
    void SetEnabled(bool on) { w_.setEnabled(on); }
    const QString& Tag() const { return tag_; }
    void SetTag(const QString& tag) { tag_ = tag; }
    const QString& ToolTipText() const { return tip_; }
    void SetToolTipText(const QString& tip);
    // 0 = to the front, 1 = to the back.
    void ZOrder(int position = 0);
    void SetFocus();

    void SetFontBold(bool on);
    bool FontBold() const { return w_.font().bold(); }
    void SetFontSize(double points);
    bool FontUnderline() const { return w_.font().underline(); }
    void SetFontUnderline(bool on);
    OleColor BackColor() const { return back_; }
    void SetBackColor(OleColor c);
    OleColor ForeColor() const { return fore_; }
    void SetForeColor(OleColor c);

    QWidget& Widget() { return w_; }
    const QWidget& Widget() const { return w_; }

protected:
    // For containers: their colours are theirs alone. A palette set on a widget
    // passes to the widgets inside it, so a container keeps the colours here and
    // paints them itself.
    void KeepColoursToSelf() { coloursToSelf_ = true; }
    bool BackColorSet() const { return backSet_; }

private:
    QWidget& w_;
    bool coloursToSelf_ = false;
    bool backSet_ = false;
    QString tag_;
    QString tip_;
    OleColor back_ = kSysButtonFace;
    OleColor fore_ = kSysWindowText;
};

template <class W>
class Control : public W, public ControlBase {
public:
    template <class... A>
    explicit Control(A&&... args) : W(std::forward<A>(args)...), ControlBase(static_cast<QWidget&>(*this)) {}
};

// Mouse position in twips relative to the widget.
inline int TwipsX(const QPointF& p) { return PixelsToTwipsX(static_cast<int>(p.x())); }
inline int TwipsY(const QPointF& p) { return PixelsToTwipsY(static_cast<int>(p.y())); }

}  // namespace vb
