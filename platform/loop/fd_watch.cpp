#include "platform/loop/fd_watch.h"

#include <glib.h>
#include <poll.h>

#include <utility>

#include "platform/loop/handler_barrier.h"
#include "platform/loop/message_loop.h"

namespace platform::loop {
namespace {

// GLib allocates this with g_source_new; the callback is owned by the source
// and freed in finalize, which runs only after a dispatch in progress returns.
struct WatchSource {
    GSource base;
    FdWatch::Callback* callback;
    gpointer tag;
    int fd;
};

WatchSource* AsWatch(GSource* s) { return reinterpret_cast<WatchSource*>(s); }

GIOCondition ToCondition(unsigned interest) {
    unsigned c = 0;
    if (interest & kIoReadable) c |= G_IO_IN;
    if (interest & kIoWritable) c |= G_IO_OUT;
    // GLib hands the bits to poll() as they are; POLLRDHUP tells of a peer
    // that has shut down its side while unread data still waits.
    if (interest & kIoHangup) c |= POLLRDHUP;
    if (interest != 0) c |= G_IO_HUP | G_IO_ERR;
    return static_cast<GIOCondition>(c);
}

unsigned FromCondition(unsigned c) {
    unsigned e = 0;
    if (c & (G_IO_IN | G_IO_PRI)) e |= kIoReadable;
    if (c & G_IO_OUT) e |= kIoWritable;
    if (c & (G_IO_HUP | POLLRDHUP)) e |= kIoHangup;
    if (c & (G_IO_ERR | G_IO_NVAL)) e |= kIoError;
    return e;
}

gboolean Dispatch(GSource* s, GSourceFunc, gpointer) {
    WatchSource* w = AsWatch(s);
    g_source_set_ready_time(s, -1);
    const unsigned events = w->tag ? FromCondition(g_source_query_unix_fd(s, w->tag)) : 0;
    RunHandler("handling a connection's event", [w, events] { (*w->callback)(events); });
    return G_SOURCE_CONTINUE;
}

void Finalize(GSource* s) {
    delete AsWatch(s)->callback;
    AsWatch(s)->callback = nullptr;
}

GSourceFuncs watchFuncs = {nullptr, nullptr, Dispatch, Finalize, nullptr, nullptr};

}  // namespace

FdWatch::FdWatch(int fd, unsigned interest, Callback onReady) {
    source_ = g_source_new(&watchFuncs, sizeof(WatchSource));
    WatchSource* w = AsWatch(source_);
    w->callback = new Callback(std::move(onReady));
    w->tag = nullptr;
    w->fd = fd;
    g_source_set_priority(source_, kSocketPriority);
    g_source_set_can_recurse(source_, TRUE);
    g_source_attach(source_, nullptr);
    SetInterest(interest);
}

FdWatch::~FdWatch() { Reset(); }

FdWatch::FdWatch(FdWatch&& other) noexcept
    : source_(std::exchange(other.source_, nullptr)), interest_(std::exchange(other.interest_, 0)) {}

FdWatch& FdWatch::operator=(FdWatch&& other) noexcept {
    if (this != &other) {
        Reset();
        source_ = std::exchange(other.source_, nullptr);
        interest_ = std::exchange(other.interest_, 0);
    }
    return *this;
}

void FdWatch::SetInterest(unsigned interest) {
    if (!source_) return;
    interest_ = interest;
    WatchSource* w = AsWatch(source_);
    if (interest == 0) {
        if (w->tag) g_source_remove_unix_fd(source_, std::exchange(w->tag, nullptr));
    } else if (w->tag) {
        g_source_modify_unix_fd(source_, w->tag, ToCondition(interest));
    } else {
        w->tag = g_source_add_unix_fd(source_, w->fd, ToCondition(interest));
    }
}

void FdWatch::Wake() {
    if (source_) g_source_set_ready_time(source_, 0);
}

void FdWatch::Reset() noexcept {
    if (GSource* s = std::exchange(source_, nullptr)) {
        g_source_destroy(s);
        g_source_unref(s);
    }
    interest_ = 0;
}

}  // namespace platform::loop
