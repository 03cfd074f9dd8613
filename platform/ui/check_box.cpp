#include "platform/ui/check_box.h"

namespace vb {

CheckBox::CheckBox(QWidget* parent) : Control<QCheckBox>(parent) {
    setTristate(true);
    QObject::connect(this, &QCheckBox::stateChanged, [this](int) { Fire(Click); });
}

int CheckBox::Value() const {
    switch (checkState()) {
        case Qt::Checked:
            return vbChecked;
        case Qt::PartiallyChecked:
            return vbGrayed;
        case Qt::Unchecked:
            break;
    }
    return vbUnchecked;
}

void CheckBox::SetValue(int value) {
    if (value < vbUnchecked || value > vbGrayed)
        throw VbError(kErrInvalidPropertyValue, "Invalid property value");
    setCheckState(value == vbChecked  ? Qt::Checked
                  : value == vbGrayed ? Qt::PartiallyChecked
                                      : Qt::Unchecked);
}

void CheckBox::SetCaption(const QString& caption) {
    caption_ = caption;
    setText(LiteralCaption(caption));
}

void CheckBox::nextCheckState() { setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked); }

}  // namespace vb
