#pragma once
// The thread's message loop: GLib's default main context, which Qt's event
// dispatcher shares, so a pump inside a blocking call keeps the program's
// windows and timers alive. Everything here runs on the thread that pumps.
#include <chrono>
#include <functional>

#include "platform/loop/source_handle.h"

namespace platform::loop {

// GLib dispatches only the most urgent ready sources in an iteration, so with
// these priorities a pass delivers socket notifications before timer ticks
// and timer ticks before posted calls, as the window message queue did.
// Smaller is more urgent; socket notifications share Qt's default priority.
inline constexpr int kSocketPriority = 0;
inline constexpr int kTimerPriority = 10;
inline constexpr int kPostPriority = 20;

// One blocking iteration of the default context; true when a source ran.
// Callable from inside any callback (nested pumps).
bool Pump();
// One iteration that does not wait; true when a source ran.
bool PumpPending();

// A periodic timer. Ticks that were missed while the thread was busy
// coalesce into one; a tick never runs inside its own previous tick.
[[nodiscard]] SourceHandle StartTimer(std::chrono::milliseconds period, std::function<void()> onTick);
// A timer that fires once.
[[nodiscard]] SourceHandle StartOneShot(std::chrono::milliseconds delay, std::function<void()> onFire);
// Runs `call` once from the loop, after pending socket notifications and timers.
[[nodiscard]] SourceHandle Post(std::function<void()> call);

}  // namespace platform::loop
