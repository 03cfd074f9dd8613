#include "app/forms/checks/freed_memory.h"

#include <cstddef>  // before the test for glibc: it defines __GLIBC__

#ifdef __GLIBC__
#include <gio/gio.h>
#include <malloc.h>
#endif

namespace forms {

void ReturnFreedMemory() {
#ifdef __GLIBC__
    // Below this, trimming costs more than it gives: the next check takes
    // the memory again.
    constexpr std::size_t kReturnFreeAbove = std::size_t{64} << 20;
    if (mallinfo2().fordblks < kReturnFreeAbove) return;
    GTask* task = g_task_new(nullptr, nullptr, nullptr, nullptr);
    g_task_run_in_thread(task, [](GTask*, gpointer, gpointer, GCancellable*) { malloc_trim(0); });
    g_object_unref(task);
#endif
}

}  // namespace forms
