#include "platform/ui/tree_view.h"

#include <QHeaderView>
#include <QKeyEvent>

#include "platform/ui/image_list.h"

namespace vb {
namespace {
constexpr int kKeyRole = Qt::UserRole + 1;
constexpr int kImageRole = Qt::UserRole + 2;
}  // namespace

TreeView::TreeView(QWidget* parent) : Control<QTreeWidget>(parent) {
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
}

QTreeWidgetItem* TreeView::At(int index) const {
    if (index < 1 || index > NodeCount()) throw VbError(kErrIndexOutOfBounds, "Index out of bounds");
    return topLevelItem(index - 1);
}

int TreeView::AddNode(const QString& text, int image, const QString& key) {
    auto* item = new QTreeWidgetItem(QStringList{text});
    item->setData(0, kKeyRole, key);
    addTopLevelItem(item);
    if (image > 0) SetNodeImage(NodeCount(), image);
    return NodeCount();
}

QString TreeView::NodeText(int index) const { return At(index)->text(0); }
void TreeView::SetNodeText(int index, const QString& text) { At(index)->setText(0, text); }
QString TreeView::NodeKey(int index) const { return At(index)->data(0, kKeyRole).toString(); }
int TreeView::NodeImage(int index) const { return At(index)->data(0, kImageRole).toInt(); }

void TreeView::SetNodeImage(int index, int image) {
    QTreeWidgetItem* item = At(index);
    item->setData(0, kImageRole, image);
    item->setIcon(0, images_ && image > 0 ? images_->Icon(image) : QIcon());
}

int TreeView::SelectedItem() const {
    QTreeWidgetItem* current = currentItem();
    return current && current->isSelected() ? indexOfTopLevelItem(current) + 1 : 0;
}

void TreeView::Select(int index) { setCurrentItem(At(index)); }

void TreeView::mouseReleaseEvent(QMouseEvent* event) {
    QTreeWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && itemAt(event->position().toPoint())) Fire(Click);
}

void TreeView::keyPressEvent(QKeyEvent* event) {
    QTreeWidgetItem* before = currentItem();
    QTreeWidget::keyPressEvent(event);
    if (currentItem() != before && currentItem()) Fire(Click);
}

}  // namespace vb
