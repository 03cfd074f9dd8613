#include "platform/loop/end_signals.h"

#include <glib-unix.h>
#include <glib.h>

#include <csignal>
#include <utility>

#include "platform/loop/handler_barrier.h"

namespace platform::loop {
namespace {

struct Delivery {
    std::function<void(int)>* onSignal;
    int signal;
};

gboolean Deliver(gpointer data) {
    const auto* delivery = static_cast<const Delivery*>(data);
    RunHandler("ending the session", [delivery] { (*delivery->onSignal)(delivery->signal); });
    return G_SOURCE_CONTINUE;
}

void DeleteDelivery(gpointer data) { delete static_cast<Delivery*>(data); }

}  // namespace

EndSignals::EndSignals(std::function<void(int)> onSignal) : onSignal_(std::move(onSignal)) {
    constexpr std::array<int, 3> kSignals{SIGTERM, SIGINT, SIGHUP};
    for (std::size_t i = 0; i < kSignals.size(); ++i) {
        GSource* source = g_unix_signal_source_new(kSignals[i]);
        g_source_set_callback(source, Deliver, new Delivery{&onSignal_, kSignals[i]}, DeleteDelivery);
        g_source_attach(source, nullptr);
        sources_[i] = SourceHandle(source);
    }
}

}  // namespace platform::loop
