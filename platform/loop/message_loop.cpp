#include "platform/loop/message_loop.h"

#include <glib.h>

#include "platform/loop/handler_barrier.h"

#include <utility>

namespace platform::loop {
namespace {

struct Closure {
    std::function<void()> call;
    bool once;
};

gboolean RunClosure(gpointer data) {
    auto* closure = static_cast<Closure*>(data);
    if (!closure->once) {
        RunHandler("handling a timer", closure->call);
        return G_SOURCE_CONTINUE;
    }
    // Removed before the call so that its handle reads inactive inside it.
    // GLib keeps the closure until this dispatch returns.
    g_source_destroy(g_main_current_source());
    RunHandler("handling a queued call", closure->call);
    return G_SOURCE_REMOVE;
}

void DeleteClosure(gpointer data) { delete static_cast<Closure*>(data); }

SourceHandle Attach(GSource* source, int priority, std::function<void()> call, bool once) {
    g_source_set_priority(source, priority);
    g_source_set_callback(source, RunClosure, new Closure{std::move(call), once}, DeleteClosure);
    g_source_attach(source, nullptr);
    return SourceHandle(source);
}

guint Milliseconds(std::chrono::milliseconds ms) {
    return ms.count() <= 0 ? 0u : static_cast<guint>(ms.count());
}

}  // namespace

bool Pump() { return g_main_context_iteration(nullptr, TRUE) != FALSE; }

bool PumpPending() { return g_main_context_iteration(nullptr, FALSE) != FALSE; }

SourceHandle StartTimer(std::chrono::milliseconds period, std::function<void()> onTick) {
    // GLib re-arms a timeout from the time of its dispatch, so a late tick
    // is never followed by a burst of catch-up ticks.
    return Attach(g_timeout_source_new(Milliseconds(period)), kTimerPriority, std::move(onTick), false);
}

SourceHandle StartOneShot(std::chrono::milliseconds delay, std::function<void()> onFire) {
    return Attach(g_timeout_source_new(Milliseconds(delay)), kTimerPriority, std::move(onFire), true);
}

SourceHandle Post(std::function<void()> call) {
    return Attach(g_idle_source_new(), kPostPriority, std::move(call), true);
}

}  // namespace platform::loop
