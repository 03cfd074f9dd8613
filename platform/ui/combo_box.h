#pragma once
#include <QComboBox>
#include <functional>

#include "platform/ui/control.h"

namespace vb {

enum : int { vbComboDropdown = 0, vbComboDropdownList = 2 };

// A combo box; items keep the order they were added in. Click runs when the
// chosen item changes, by the user or by code (ListIndex or Text); Change
// runs when the text of an editable combo is typed or set.
class ComboBox : public Control<QComboBox> {
public:
    explicit ComboBox(QWidget* parent, int style = vbComboDropdownList);

    void AddItem(const QString& item, int index = -1);
    void RemoveItem(int index);
    void Clear();
    int ListCount() const { return count(); }
    QString List(int index) const;
    int ListIndex() const { return currentIndex(); }
    void SetListIndex(int index);  // -1 chooses nothing
    QString Text() const { return currentText(); }
    // A drop-down list chooses the item with that text (exact, else without
    // regard to case); returns false, choosing nothing, when there is none.
    bool SetText(const QString& text);
    int Style() const { return style_; }

    std::function<void()> Click;
    std::function<void()> Change;

private:
    int style_;
};

}  // namespace vb
