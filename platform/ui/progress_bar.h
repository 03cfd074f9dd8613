#pragma once
#include <QProgressBar>

#include "platform/ui/control.h"

namespace vb {

class ProgressBar : public Control<QProgressBar> {
public:
    explicit ProgressBar(QWidget* parent);

    int Min() const { return minimum(); }
    void SetMin(int v) { setMinimum(v); }
    int Max() const { return maximum(); }
    void SetMax(int v) { setMaximum(v); }
    int Value() const { return value(); }
    // A value outside Min..Max raises 380 (invalid property value).
    void SetValue(int v);
};

}  // namespace vb
