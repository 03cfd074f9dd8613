#pragma once
// A tab strip: tabs 1-based with caption and image (key or index in its
// image list); selection with BeforeClick and Click; mouse events; and a
// manual drag (Drag, DragOver, DragDrop) between controls.
#include <QPixmap>
#include <QTabBar>
#include <QWidget>
#include <functional>

#include "platform/ui/control.h"

class QFrame;

namespace vb {

class ImageList;
class TabStrip;

enum : int { tabPlacementTop = 0, tabPlacementBottom = 1 };
enum : int { vbCancelDrag = 0, vbBeginDrag = 1, vbEndDrag = 2 };
enum : int { vbEnter = 0, vbLeave = 1, vbOver = 2 };

class TabStrip : public Control<QWidget> {
public:
    explicit TabStrip(QWidget* parent);
    ~TabStrip() override;

    // Adding and removing tabs runs no Click. Index 0 appends.
    int AddTab(const QString& caption, const QString& imageKey = QString(), int index = 0,
               const QString& key = QString());
    void RemoveTab(int index);
    void ClearTabs();
    int TabCount() const;

    QString TabCaption(int index) const;
    void SetTabCaption(int index, const QString& caption);  // shown literally
    QString TabKey(int index) const;
    QString TabImage(int index) const;  // key, or the index as text when set by index
    void SetTabImage(int index, const QString& key);
    void SetTabImage(int index, int imageIndex);
    // Tab geometry in twips, relative to the strip.
    int TabLeft(int index) const;
    int TabWidth(int index) const;
    int TabHeight(int index) const;
    // The area below (or above) the tab row, in twips.
    int ClientLeft() const { return 0; }
    int ClientTop() const;
    int ClientWidth() const { return Width(); }

    int SelectedItem() const { return bar_->currentIndex() + 1; }
    // Selecting from code runs BeforeClick and Click as a user's choice does;
    // selecting the tab already selected runs neither.
    void Select(int index);

    void SetImageList(const ImageList* images);
    void SetPlacement(int placement);

    // Begins (1), cancels (0) or ends (2) dragging this control; the drag
    // starts once control is back in the event loop, never inside the caller.
    void Drag(int action = vbBeginDrag);
    void SetDragIcon(const QPixmap& icon) { dragIcon_ = icon; }
    // The control being dragged (nullptr when none), for DragOver/DragDrop.
    static QWidget* DragSource();
    // The data format a drag of a strip carries; other drops are ignored.
    static constexpr const char* kDragFormat = "application/x-vb-tab-strip";

    std::function<void(int& Cancel)> BeforeClick;
    std::function<void()> Click;
    std::function<void()> GotFocus;
    MouseHandler MouseDown;
    MouseHandler MouseUp;
    std::function<void(QWidget* Source, int X, int Y, int State)> DragOver;
    std::function<void(QWidget* Source, int X, int Y)> DragDrop;

    QTabBar& Bar() { return *bar_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    class Row;
    void CheckIndex(int index) const;
    void FireMouse(const MouseHandler& handler, QMouseEvent* event);
    void Layout();
    bool Allowed(int newIndex);
    void StartDrag();

    QTabBar* bar_;
    QFrame* panel_;
    const ImageList* images_ = nullptr;
    int placement_ = tabPlacementTop;
    int quiet_ = 0;  // > 0 while tabs are added or removed
    QPixmap dragIcon_;
    bool dragWanted_ = false;
};

}  // namespace vb
