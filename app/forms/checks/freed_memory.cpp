#include "app/forms/checks/freed_memory.h"

#include <glib.h>

#include <future>

#include <cstddef>  // before the test for glibc: it defines __GLIBC__

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace forms {

namespace {

using Work = std::function<void()>;

// One thread, so that work runs in the order it was handed over: the
// memory is given back after what was freed before it.
GThreadPool* FreeingThread() {
    static GThreadPool* const pool = g_thread_pool_new_full(
        [](gpointer data, gpointer) { std::unique_ptr<Work>(static_cast<Work*>(data))->operator()(); },
        nullptr, [](gpointer data) { std::unique_ptr<Work>(static_cast<Work*>(data)).reset(); }, 1, FALSE,
        nullptr);
    return pool;
}

}  // namespace

void RunWhereFreed(std::function<void()> work) {
    GThreadPool* const pool = FreeingThread();
    auto item = std::make_unique<Work>(std::move(work));
    if (!pool || !g_thread_pool_push(pool, item.get(), nullptr)) {
        (*item)();
        return;
    }
    item.release();  // the pool owns it from here
}

void AwaitFreed() {
    std::promise<void> freed;
    std::future<void> done = freed.get_future();
    RunWhereFreed([&freed] { freed.set_value(); });
    done.wait();
}

void ReturnFreedMemory() {
#ifdef __GLIBC__
    RunWhereFreed([] {
        // Below this, trimming costs more than it gives: the next check
        // takes the memory again.
        constexpr std::size_t kReturnFreeAbove = std::size_t{64} << 20;
        if (mallinfo2().fordblks >= kReturnFreeAbove) malloc_trim(0);
    });
#endif
}

}  // namespace forms
