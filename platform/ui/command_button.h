#pragma once
#include <QPushButton>
#include <functional>

#include "platform/ui/control.h"

namespace vb {

class CommandButton : public Control<QPushButton> {
public:
    explicit CommandButton(QWidget* parent);

    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    // Setting Value to true clicks the button from code.
    void SetValue(bool on);

    std::function<void()> Click;

private:
    QString caption_;
};

}  // namespace vb
