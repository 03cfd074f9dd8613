#include "platform/ui/progress_bar.h"

namespace vb {

ProgressBar::ProgressBar(QWidget* parent) : Control<QProgressBar>(parent) {
    setRange(0, 100);
    setValue(0);
    setTextVisible(false);
}

void ProgressBar::SetValue(int v) {
    if (v < minimum() || v > maximum()) throw VbError(kErrInvalidPropertyValue, "Invalid property value");
    setValue(v);
}

}  // namespace vb
