#pragma once
// Ownership of one source on the thread's main context. Destroying the handle
// removes the source at once, and that is safe from inside the source's own
// callback: the callback's state lives until its dispatch has returned.

typedef struct _GSource GSource;

namespace platform::loop {

class SourceHandle {
public:
    SourceHandle() = default;
    // Takes over the caller's reference to an attached source.
    explicit SourceHandle(GSource* attached) noexcept : source_(attached) {}
    ~SourceHandle();
    SourceHandle(SourceHandle&& other) noexcept;
    SourceHandle& operator=(SourceHandle&& other) noexcept;
    SourceHandle(const SourceHandle&) = delete;
    SourceHandle& operator=(const SourceHandle&) = delete;

    // Removes the source; nothing of it runs after this returns.
    void Reset() noexcept;
    // Gives up ownership: the source runs on until it removes itself.
    void Detach() noexcept;
    // Attached and not removed; a one-shot that has fired is no longer active.
    bool Active() const noexcept;
    GSource* get() const noexcept { return source_; }

private:
    GSource* source_ = nullptr;
};

}  // namespace platform::loop
