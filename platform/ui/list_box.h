#pragma once
// A list box, plain or with a check box per entry. Click runs when the
// chosen entry changes (by the user or by ListIndex from code); ItemCheck
// runs when an entry's check changes (by the user or by SetSelected).
#include <QListWidget>
#include <functional>

#include "platform/ui/control.h"

namespace vb {

enum : int { vbListBoxStandard = 0, vbListBoxCheckbox = 1 };

class ListBox : public Control<QListWidget> {
public:
    explicit ListBox(QWidget* parent, int style = vbListBoxStandard);

    void AddItem(const QString& item, int index = -1);
    void RemoveItem(int index);
    void Clear();
    int ListCount() const { return count(); }
    QString List(int index) const;
    void SetList(int index, const QString& text);
    int ListIndex() const { return currentRow(); }
    void SetListIndex(int index);  // -1 chooses nothing
    // For a check-box list: whether the entry is ticked.
    bool Selected(int index) const;
    void SetSelected(int index, bool on);

    std::function<void()> Click;
    std::function<void(int Item)> ItemCheck;

private:
    QListWidgetItem* At(int index) const;

    int style_;
    int quiet_ = 0;
};

}  // namespace vb
