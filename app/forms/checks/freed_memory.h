#pragma once
// What a check lets go of is freed off the window's thread: a large
// mailbox's old records and rows cost the window's loop nothing, and memory
// a large check left free goes back to the system there too (glibc would
// keep a large mailbox's worth for the rest of the run).
#include <functional>
#include <memory>
#include <utility>

namespace forms {

// Runs work on the program's one freeing thread, after the work handed over
// before it; with no thread to be had, runs it here.
void RunWhereFreed(std::function<void()> work);

// Destroys value on the freeing thread. Only for values nothing on the
// window's thread still points into.
template <typename T>
void FreeElsewhere(T&& value) {
    RunWhereFreed(
        [held = std::make_shared<std::decay_t<T>>(std::forward<T>(value))]() mutable { held.reset(); });
}

// Returns once everything handed over so far is freed, for a caller that
// counts on it being gone (a record's kept file closed).
void AwaitFreed();

// Gives the heap's free memory back when there is much of it (a small
// check's is taken again by the next one, so giving it back costs more),
// after whatever was handed over to be freed before.
void ReturnFreedMemory();

}  // namespace forms
