#pragma once
#include <QRadioButton>
#include <functional>

#include "platform/ui/control.h"

namespace vb {

// An option button; the buttons of one container form a group. Click runs
// when the button is chosen, by the user or by setting Value to true from
// code (also when it already was chosen).
class OptionButton : public Control<QRadioButton> {
public:
    explicit OptionButton(QWidget* parent);

    bool Value() const { return isChecked(); }
    void SetValue(bool on);
    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);

    std::function<void()> Click;

private:
    QString caption_;
};

}  // namespace vb
