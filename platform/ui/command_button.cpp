#include "platform/ui/command_button.h"

namespace vb {

CommandButton::CommandButton(QWidget* parent) : Control<QPushButton>(parent) {
    QObject::connect(this, &QPushButton::clicked, [this](bool) { Fire(Click); });
}

void CommandButton::SetCaption(const QString& caption) {
    caption_ = caption;
    setText(LiteralCaption(caption));
}

void CommandButton::SetValue(bool on) {
    if (on) Fire(Click);
}

}  // namespace vb
