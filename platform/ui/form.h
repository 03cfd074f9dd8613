#pragma once
// A form: one top-level window with the VB life cycle (Load, Activate,
// Resize, QueryUnload, Unload), twips geometry, caption, icon, window state,
// topmost band and mouse pointer. Forms are reached through vb::Forms, which
// keeps one instance per form class.
#include <QIcon>
#include <QPointer>
#include <QString>
#include <QWidget>

namespace vb {

class Menu;

enum : int { vbModeless = 0, vbModal = 1 };
enum : int { vbNormal = 0, vbMinimized = 1, vbMaximized = 2 };
enum : int { vbFormControlMenu = 0, vbFormCode = 1, vbAppWindows = 2 };
enum : int { vbDefault = 0, vbArrow = 1, vbHourglass = 11, vbArrowHourglass = 13 };
enum : int { vbBSNone = 0, vbFixedSingle = 1, vbSizable = 2, vbFixedDialog = 3 };
enum : int { vbPopupMenuLeftAlign = 0, vbPopupMenuCenterAlign = 4, vbPopupMenuRightAlign = 8 };

class Form : public QWidget {
public:
    Form();
    ~Form() override;

    // Shows the form, modeless or modal; a modal show returns once the form is
    // hidden or unloaded. An owner keeps the form above it and the desktop
    // minimises and restores the two together (the window system's rule for a
    // transient window); the owner stays until either form unloads, so a later
    // Show without one keeps it. An owned window is placed where the window
    // system puts it, as any window: it is not centred on its owner.
    void Show(int modal = vbModeless, Form* owner = nullptr);
    Form* Owner() const { return owner_; }
    void Hide();
    // Runs QueryUnload then Unload; when neither cancels, the window closes and
    // the form's instance is released (reaching it again loads a new one).
    // Returns false when a handler cancelled.
    bool Unload();
    bool IsLoaded() const { return loaded_; }

    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    QIcon Icon() const { return windowIcon(); }
    void SetIcon(const QIcon& icon) { setWindowIcon(icon); }
    // The state follows the window manager while the window is shown (its
    // handler, Resize, runs from the loop after the change); a hidden window
    // keeps the state it was hidden in, and the window system learns a state
    // set while hidden at the next Show. A state set from code runs Resize at once.
    int WindowState() const { return state_; }
    void SetWindowState(int state);
    bool Topmost() const { return topmost_; }
    void SetTopmost(bool on);
    int BorderStyle() const { return border_; }
    void SetBorderStyle(int style);
    bool ShowInTaskbar() const { return inTaskbar_; }
    void SetShowInTaskbar(bool on);
    int MousePointer() const { return pointer_; }
    void SetMousePointer(int pointer);
    bool Visible() const { return isVisible(); }
    void SetVisible(bool on);

    // Outer size and position in twips; Scale* is the client area. The outer
    // size counts the window frame as platform/ui/window_frame.h measures it,
    // also while the window is hidden.
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void SetLeft(int twips) { Move(twips, Top()); }
    void SetTop(int twips) { Move(Left(), twips); }
    void SetWidth(int twips) { Move(Left(), Top(), twips); }
    void SetHeight(int twips) { Move(Left(), Top(), -1, twips); }
    void Move(int left, int top, int width = -1, int height = -1);
    int ScaleWidth() const;
    int ScaleHeight() const;
    void SetClientSize(int widthTwips, int heightTwips);

    int TextWidth(const QString& text) const;
    int TextHeight(const QString& text) const;
    // Brings the window to the front and gives it the focus.
    void SetForeground();
    void ZOrder(int position = 0);
    // Pops a menu up at the pointer, or at (x, y) twips of the client area.
    void PopupMenu(Menu& menu, int flags = vbPopupMenuLeftAlign, int x = -1, int y = -1);

    // Called by the registry once the form's instance exists.
    void RunLoad();

protected:
    virtual void Form_Load() {}
    virtual void Form_Activate() {}
    virtual void Form_Resize() {}
    virtual void Form_QueryUnload(int& Cancel, int UnloadMode) {
        (void)Cancel;
        (void)UnloadMode;
    }
    virtual void Form_Unload(int& Cancel) { (void)Cancel; }

    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;

private:
    bool UnloadWith(int mode);
    // The window system takes the form's state.
    void ApplyWindowState();
    void ApplyFlags();

    QString caption_;
    int state_ = vbNormal;
    int border_ = vbSizable;
    int pointer_ = vbDefault;
    bool topmost_ = false;
    bool inTaskbar_ = true;
    bool loaded_ = false;
    bool loading_ = false;
    bool unloading_ = false;
    // The form's state is being handed to the window system.
    bool applyingState_ = false;
    // A state change from the window system waits for its handler.
    bool resizePending_ = false;
    QPointer<QObject> modalLoop_;
    QPointer<Form> owner_;
};

}  // namespace vb
