#include "platform/ui/timer.h"

#include "platform/ui/control.h"
#include "platform/ui/form.h"

namespace vb {

Timer::Timer(Form* form) : ofForm_(form != nullptr), form_(form) {
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [this] { OnTimeout(); });
}

void Timer::SetInterval(int ms) {
    interval_ = std::max(0, ms);
    Rearm();
}

void Timer::SetEnabled(bool on) {
    enabled_ = on;
    Rearm();
}

void Timer::Rearm() {
    if (enabled_ && interval_ > 0)
        timer_.start(interval_);
    else
        timer_.stop();
}

void Timer::OnTimeout() {
    if (inTick_ || (ofForm_ && (!form_ || !form_->IsLoaded()))) return;
    inTick_ = true;
    FireAs("handling a timer", Tick);
    inTick_ = false;
}

}  // namespace vb
