#pragma once
// A timer: Interval in milliseconds and Enabled; its handler runs one tick at
// a time: a tick that comes while the handler still runs (inside a nested
// event loop, a message box or a blocking call) is skipped. A timer of a form
// ticks only while the form is loaded: an unloaded form's object lives on
// until the event loop deletes it, and its handlers must not run meanwhile.
#include <QPointer>
#include <QTimer>
#include <functional>

namespace vb {

class Form;

class Timer {
public:
    explicit Timer(Form* form = nullptr);

    int Interval() const { return interval_; }
    // Setting the interval or enabling restarts the count; 0 stops the ticks.
    void SetInterval(int ms);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool on);
    bool InTick() const { return inTick_; }

    // The Timer event.
    std::function<void()> Tick;

private:
    void Rearm();
    void OnTimeout();

    QTimer timer_;
    const bool ofForm_;
    QPointer<Form> form_;
    int interval_ = 0;
    bool enabled_ = true;
    bool inTick_ = false;
};

}  // namespace vb
