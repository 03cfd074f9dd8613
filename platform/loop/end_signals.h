#pragma once
// The signals that ask a program to end: SIGTERM (what a session's end
// sends), SIGINT and SIGHUP. GLib's handler only records the signal and wakes
// the thread's main context; the callback runs later from the loop, where any
// work is safe.
#include <array>
#include <functional>

#include "platform/loop/source_handle.h"

namespace platform::loop {

class EndSignals {
public:
    // onSignal runs from the loop with the signal's number, once per delivery.
    explicit EndSignals(std::function<void(int)> onSignal);
    EndSignals(const EndSignals&) = delete;
    EndSignals& operator=(const EndSignals&) = delete;

private:
    std::function<void(int)> onSignal_;
    std::array<SourceHandle, 3> sources_;
};

}  // namespace platform::loop
