#pragma once
// Pumps the thread's loop until a condition holds or a time limit passes.
// The guard runs above every priority the code under test uses, so a source
// that spins cannot starve it.
#include <glib.h>

#include <chrono>
#include <functional>

#include "platform/loop/message_loop.h"

namespace testsupport {

inline bool PumpUntil(const std::function<bool()>& done,
                      std::chrono::milliseconds limit = std::chrono::seconds(5)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    GSource* guard = g_timeout_source_new(10);
    g_source_set_priority(guard, G_PRIORITY_HIGH);
    g_source_set_callback(
        guard, [](gpointer) -> gboolean { return G_SOURCE_CONTINUE; }, nullptr, nullptr);
    g_source_attach(guard, nullptr);
    while (!done() && std::chrono::steady_clock::now() < deadline) platform::loop::Pump();
    g_source_destroy(guard);
    g_source_unref(guard);
    return done();
}

// Pumps for the whole period (to show that nothing more arrives).
inline void PumpFor(std::chrono::milliseconds period) {
    PumpUntil([] { return false; }, period);
}

}  // namespace testsupport
