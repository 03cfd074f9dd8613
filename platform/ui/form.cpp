#include "platform/ui/form.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QFontMetrics>
#include <QScopedValueRollback>
#include <QTimer>
#include <QWindow>
#include <QWindowStateChangeEvent>

#include "platform/loop/handler_barrier.h"
#include "platform/ui/design_font.h"
#include "platform/ui/fixed_frame_hints.h"
#include "platform/ui/forms.h"
#include "platform/ui/menu.h"
#include "platform/ui/twips.h"
#include "platform/ui/vb_error.h"
#include "platform/ui/window_frame.h"

namespace vb {

Form::Form() : QWidget(nullptr) {
    UseDesignFont();
    ApplyFlags();
}

Form::~Form() = default;

void Form::RunLoad() {
    if (loaded_ || loading_) return;
    loading_ = true;
    loaded_ = true;
    try {
        Form_Load();
    } catch (...) {
        loading_ = false;
        loaded_ = false;
        hide();
        throw;
    }
    loading_ = false;
}

void Form::Show(int modal, Form* owner) {
    if (owner == this) throw VbError(5, "Invalid procedure call or argument");
    if (owner) {
        // The owner is the window's transient parent, not the widget's parent:
        // each form stays the registry's to delete.
        owner_ = owner;
        create();
        owner->create();
        windowHandle()->setTransientParent(owner->windowHandle());
    }
    if (isHidden()) ApplyWindowState();
    if (modal == vbModal) {
        setWindowModality(Qt::ApplicationModal);
        show();
        raise();
        activateWindow();
        QEventLoop loop;
        modalLoop_ = &loop;
        QPointer<Form> self(this);
        if (isVisible()) loop.exec();
        if (self) {
            modalLoop_ = nullptr;
            setWindowModality(Qt::NonModal);
        }
        return;
    }
    show();
}

void Form::Hide() { hide(); }

void Form::SetVisible(bool on) {
    if (on)
        Show(vbModeless);
    else
        Hide();
}

bool Form::Unload() { return UnloadWith(vbFormCode); }

bool Form::UnloadWith(int mode) {
    if (!loaded_ || unloading_) return true;
    int cancel = 0;
    Form_QueryUnload(cancel, mode);
    if (cancel) return false;
    Form_Unload(cancel);
    if (cancel) return false;
    unloading_ = true;
    loaded_ = false;
    hide();
    owner_ = nullptr;
    if (windowHandle()) windowHandle()->setTransientParent(nullptr);
    Forms::Release(this);
    return true;
}

void Form::closeEvent(QCloseEvent* event) {
    // The close box unloads through the handlers; the window itself stays
    // under the registry's control.
    event->ignore();
    platform::loop::RunHandler("closing the window", [this] { UnloadWith(vbFormControlMenu); });
}

void Form::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (auto* loop = qobject_cast<QEventLoop*>(modalLoop_.data())) loop->quit();
}

void Form::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // A fixed dialog is neither resized, minimised nor maximised; each show
    // follows a rewrite of the window's hints.
    if (border_ == vbFixedDialog) AskForFixedFrame(*this);
}

void Form::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !loaded_ || loading_) return;
    // The form's own state handed to the window system: its handler has run.
    if (applyingState_) return;
    // The window manager's word on a hidden window comes late, from the time
    // before it was withdrawn: the form keeps the state it was hidden in.
    if (!isVisible()) return;
    const Qt::WindowStates s = windowState();
    state_ = (s & Qt::WindowMinimized) ? vbMinimized : (s & Qt::WindowMaximized) ? vbMaximized : vbNormal;
    // The handler may hide the window: it runs once the toolkit has delivered
    // the change, not inside that delivery.
    if (resizePending_) return;
    resizePending_ = true;
    QTimer::singleShot(0, this, [this] {
        resizePending_ = false;
        if (loaded_) platform::loop::RunHandler("resizing the window", [this] { Form_Resize(); });
    });
}

void Form::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (loaded_ && !loading_ && state_ != vbMinimized)
        platform::loop::RunHandler("resizing the window", [this] { Form_Resize(); });
}

bool Form::event(QEvent* event) {
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::WindowActivate && loaded_)
        platform::loop::RunHandler("activating the window", [this] { Form_Activate(); });
    return handled;
}

void Form::SetCaption(const QString& caption) {
    caption_ = caption;
    setWindowTitle(caption);  // window titles are plain text
}

void Form::SetWindowState(int state) {
    const int was = state_;
    state_ = state == vbMinimized || state == vbMaximized ? state : vbNormal;
    // A hidden window's state reaches the window system when it is shown:
    // told now, a minimise would leave an iconic hint that the window
    // manager honours when a later restore maps the window.
    if (!isHidden()) ApplyWindowState();
    if (state_ != was && loaded_ && !loading_)
        platform::loop::RunHandler("resizing the window", [this] { Form_Resize(); });
}

void Form::ApplyWindowState() {
    const QScopedValueRollback applying(applyingState_, true);
    const Qt::WindowStates base = windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    setWindowState(state_ == vbMinimized   ? base | Qt::WindowMinimized
                   : state_ == vbMaximized ? base | Qt::WindowMaximized
                                           : base);
}

void Form::ApplyFlags() {
    Qt::WindowFlags flags = inTaskbar_ ? Qt::Window : Qt::Tool;
    if (border_ == vbBSNone) flags |= Qt::FramelessWindowHint;
    if (border_ == vbFixedDialog) {
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
    }
    if (topmost_) flags |= Qt::WindowStaysOnTopHint;
    const bool wasVisible = isVisible();
    setWindowFlags(flags);  // hides the window; geometry and owner are kept
    if (!wasVisible) return;
    // Changing the band does not activate the window (nor run Activate).
    const bool quiet = testAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_ShowWithoutActivating, true);
    show();
    setAttribute(Qt::WA_ShowWithoutActivating, quiet);
}

void Form::SetTopmost(bool on) {
    if (on == topmost_) return;
    topmost_ = on;
    ApplyFlags();
}

void Form::SetBorderStyle(int style) {
    border_ = style;
    if (style == vbSizable || style == vbBSNone) {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    } else {
        setFixedSize(size());
    }
    ApplyFlags();
}

void Form::SetShowInTaskbar(bool on) {
    if (on == inTaskbar_) return;
    inTaskbar_ = on;
    ApplyFlags();
}

void Form::SetMousePointer(int pointer) {
    pointer_ = pointer;
    switch (pointer) {
        case vbHourglass:
            setCursor(Qt::WaitCursor);
            break;
        case vbArrowHourglass:
            setCursor(Qt::BusyCursor);
            break;
        case vbArrow:
            setCursor(Qt::ArrowCursor);
            break;
        default:
            unsetCursor();
            break;
    }
}

int Form::Left() const { return PixelsToTwipsX(frameGeometry().x()); }
int Form::Top() const { return PixelsToTwipsY(frameGeometry().y()); }
int Form::Width() const { return PixelsToTwipsX(width() + WindowFrameExtra(*this).width()); }
int Form::Height() const { return PixelsToTwipsY(height() + WindowFrameExtra(*this).height()); }
int Form::ScaleWidth() const { return PixelsToTwipsX(width()); }
int Form::ScaleHeight() const { return PixelsToTwipsY(height()); }

void Form::Move(int left, int top, int width, int height) {
    move(TwipsToPixelsX(left), TwipsToPixelsY(top));
    const QSize frameExtra = WindowFrameExtra(*this);
    QSize client = size();
    if (width >= 0) client.setWidth(std::max(0, TwipsToPixelsX(width) - frameExtra.width()));
    if (height >= 0) client.setHeight(std::max(0, TwipsToPixelsY(height) - frameExtra.height()));
    if (client == size()) return;
    if (border_ == vbSizable || border_ == vbBSNone)
        resize(client);
    else
        setFixedSize(client);  // fixed borders stop the user, not the code
}

void Form::SetClientSize(int widthTwips, int heightTwips) {
    const QSize client(TwipsToPixelsX(widthTwips), TwipsToPixelsY(heightTwips));
    if (border_ == vbSizable || border_ == vbBSNone)
        resize(client);
    else
        setFixedSize(client);
}

int Form::TextWidth(const QString& text) const {
    return PixelsToTwipsX(QFontMetrics(font()).horizontalAdvance(text));
}

int Form::TextHeight(const QString& text) const {
    const int lines = static_cast<int>(text.count(QChar('\n'))) + 1;
    return PixelsToTwipsY(QFontMetrics(font()).height() * lines);
}

void Form::SetForeground() {
    raise();
    activateWindow();
}

void Form::ZOrder(int position) {
    if (position == 0)
        raise();
    else
        lower();
}

void Form::PopupMenu(Menu& menu, int flags, int x, int y) {
    QPoint at = QCursor::pos();
    if (x >= 0 && y >= 0) at = mapToGlobal(QPoint(TwipsToPixelsX(x), TwipsToPixelsY(y)));
    menu.Popup(at, flags);
}

}  // namespace vb
