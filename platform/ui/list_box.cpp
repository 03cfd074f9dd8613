#include "platform/ui/list_box.h"

namespace vb {

ListBox::ListBox(QWidget* parent, int style) : Control<QListWidget>(parent), style_(style) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSortingEnabled(false);
    QObject::connect(this, &QListWidget::currentRowChanged, [this](int row) {
        if (quiet_ == 0 && row >= 0) Fire(Click);
    });
    QObject::connect(this, &QListWidget::itemChanged, [this](QListWidgetItem* item) {
        if (quiet_ == 0 && style_ == vbListBoxCheckbox) Fire(ItemCheck, row(item));
    });
}

QListWidgetItem* ListBox::At(int index) const {
    if (index < 0 || index >= count()) throw VbError(381, "Invalid property array index");
    return item(index);
}

void ListBox::AddItem(const QString& text, int index) {
    ++quiet_;
    auto* it = new QListWidgetItem(text);
    if (style_ == vbListBoxCheckbox) {
        it->setFlags(it->flags() | Qt::ItemIsUserCheckable);
        it->setCheckState(Qt::Unchecked);
    }
    if (index < 0 || index > count())
        addItem(it);
    else
        insertItem(index, it);
    --quiet_;
}

void ListBox::RemoveItem(int index) {
    At(index);
    ++quiet_;
    delete takeItem(index);
    --quiet_;
}

void ListBox::Clear() {
    ++quiet_;
    clear();
    --quiet_;
}

QString ListBox::List(int index) const {
    return index >= 0 && index < count() ? item(index)->text() : QString();
}

void ListBox::SetList(int index, const QString& text) {
    ++quiet_;
    At(index)->setText(text);
    --quiet_;
}

void ListBox::SetListIndex(int index) {
    if (index < -1 || index >= count()) throw VbError(380, "Invalid property value");
    setCurrentRow(index);
}

bool ListBox::Selected(int index) const {
    QListWidgetItem* it = At(index);
    return style_ == vbListBoxCheckbox ? it->checkState() == Qt::Checked : it->isSelected();
}

void ListBox::SetSelected(int index, bool on) {
    QListWidgetItem* it = At(index);
    if (style_ == vbListBoxCheckbox)
        it->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    else
        it->setSelected(on);
}

}  // namespace vb
