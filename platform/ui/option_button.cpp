#include "platform/ui/option_button.h"

namespace vb {

OptionButton::OptionButton(QWidget* parent) : Control<QRadioButton>(parent) {
    QObject::connect(this, &QRadioButton::clicked, [this](bool) { Fire(Click); });
}

void OptionButton::SetValue(bool on) {
    if (!on) {
        // Qt keeps one button of a group chosen; clearing one from code is allowed.
        setAutoExclusive(false);
        setChecked(false);
        setAutoExclusive(true);
        return;
    }
    setChecked(true);
    Fire(Click);
}

void OptionButton::SetCaption(const QString& caption) {
    caption_ = caption;
    setText(LiteralCaption(caption));
}

}  // namespace vb
