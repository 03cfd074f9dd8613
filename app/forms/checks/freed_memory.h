#pragma once
// Memory a large check left free goes back to the system, off the window's
// thread: glibc would keep a large mailbox's worth for the rest of the run.

namespace forms {

// Gives the heap's free memory back when there is much of it (a small
// check's is taken again by the next one, so giving it back costs more);
// the work runs on GLib's pool of worker threads.
void ReturnFreedMemory();

}  // namespace forms
