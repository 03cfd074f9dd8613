#pragma once
// A tree view of top-level nodes (1-based) with text and a picture from its
// image list. Click runs when the user clicks a node or moves to one with
// the keyboard; selecting from code runs nothing.
#include <QTreeWidget>
#include <functional>

#include "platform/ui/control.h"

namespace vb {

class ImageList;

class TreeView : public Control<QTreeWidget> {
public:
    explicit TreeView(QWidget* parent);

    int AddNode(const QString& text, int image = 0, const QString& key = QString());
    int NodeCount() const { return topLevelItemCount(); }
    void ClearNodes() { clear(); }
    QString NodeText(int index) const;
    void SetNodeText(int index, const QString& text);
    QString NodeKey(int index) const;
    int NodeImage(int index) const;
    void SetNodeImage(int index, int image);
    int SelectedItem() const;  // 0 = none
    void Select(int index);

    void SetImageList(const ImageList* images) { images_ = images; }

    std::function<void()> Click;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QTreeWidgetItem* At(int index) const;

    const ImageList* images_ = nullptr;
};

}  // namespace vb
