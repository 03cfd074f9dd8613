#pragma once
#include <QCheckBox>
#include <functional>

#include "platform/ui/control.h"

namespace vb {

enum : int { vbUnchecked = 0, vbChecked = 1, vbGrayed = 2 };

// A check box with the values 0, 1 and 2 (grey). Click runs whenever the
// value changes, by the user or by code; a user click turns 1 into 0 and
// anything else into 1.
class CheckBox : public Control<QCheckBox> {
public:
    explicit CheckBox(QWidget* parent);

    int Value() const;
    void SetValue(int value);
    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);

    std::function<void()> Click;

protected:
    void nextCheckState() override;

private:
    QString caption_;
};

}  // namespace vb
