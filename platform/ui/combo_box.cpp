#include "platform/ui/combo_box.h"

#include <QLineEdit>

namespace vb {

ComboBox::ComboBox(QWidget* parent, int style) : Control<QComboBox>(parent), style_(style) {
    setEditable(style == vbComboDropdown);
    setInsertPolicy(QComboBox::NoInsert);
    QObject::connect(this, &QComboBox::currentIndexChanged, [this](int index) {
        if (index >= 0) Fire(Click);
    });
    if (QLineEdit* edit = lineEdit()) {
        QObject::connect(edit, &QLineEdit::textChanged, [this](const QString&) { Fire(Change); });
    }
}

void ComboBox::AddItem(const QString& item, int index) {
    const QSignalBlocker block(this);  // adding the first item chooses nothing
    const int keep = currentIndex();
    if (index < 0 || index > count())
        addItem(item);
    else
        insertItem(index, item);
    if (keep < 0)
        setCurrentIndex(-1);
    else if (index >= 0 && index <= keep)
        setCurrentIndex(keep + 1);
}

void ComboBox::RemoveItem(int index) {
    if (index < 0 || index >= count()) throw VbError(381, "Invalid property array index");
    removeItem(index);
}

void ComboBox::Clear() {
    const QSignalBlocker block(this);
    clear();
    if (QLineEdit* edit = lineEdit()) edit->clear();
}

QString ComboBox::List(int index) const {
    return index >= 0 && index < count() ? itemText(index) : QString();
}

void ComboBox::SetListIndex(int index) {
    if (index < -1 || index >= count()) throw VbError(380, "Invalid property value");
    setCurrentIndex(index);
}

bool ComboBox::SetText(const QString& text) {
    int found = findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (found < 0) found = findText(text, Qt::MatchFixedString);  // case-insensitive
    if (style_ == vbComboDropdown) {
        if (found >= 0) setCurrentIndex(found);
        setEditText(text);
        return true;
    }
    setCurrentIndex(found);
    return found >= 0;
}

}  // namespace vb
