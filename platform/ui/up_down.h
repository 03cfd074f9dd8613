#pragma once
// An up-down control: Min, Max, Increment and Value; Change runs whenever the
// value changes, by the arrows or by code. With a buddy text box, each arrow
// press starts from the number in the buddy and writes the new value into it.
#include <QWidget>
#include <functional>

#include "platform/ui/control.h"

class QToolButton;

namespace vb {

class TextBox;

class UpDown : public Control<QWidget> {
public:
    explicit UpDown(QWidget* parent);

    int Min() const { return min_; }
    void SetMin(int v);
    int Max() const { return max_; }
    void SetMax(int v);
    int Increment() const { return increment_; }
    void SetIncrement(int v) { increment_ = std::max(1, v); }
    bool Wrap() const { return wrap_; }
    void SetWrap(bool on) { wrap_ = on; }
    int Value() const { return value_; }
    void SetValue(int v);  // outside Min..Max raises 380
    void SetBuddy(TextBox* buddy) { buddy_ = buddy; }
    TextBox* Buddy() const { return buddy_; }

    // What the arrows do; also for keyboard and tests.
    void StepUp() { Step(+1); }
    void StepDown() { Step(-1); }

    std::function<void()> Change;

private:
    void Step(int direction);
    void Commit(int v);

    QToolButton* up_;
    QToolButton* down_;
    TextBox* buddy_ = nullptr;  // a sibling control, owned by its parent
    int min_ = 0;
    int max_ = 10;
    int increment_ = 1;
    int value_ = 0;
    bool wrap_ = false;
};

}  // namespace vb
