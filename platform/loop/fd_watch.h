#pragma once
// Readiness of one descriptor on the thread's main context, at socket
// priority. The callback may pump the loop again: a nested pump delivers this
// watch's later readiness too. Destroying or resetting the watch inside its
// own callback is safe.
#include <functional>

typedef struct _GSource GSource;

namespace platform::loop {

enum IoEvent : unsigned {
    kIoReadable = 1,
    kIoWritable = 2,
    kIoHangup = 4,  // the peer hung up or shut down its side; asked alone, only that is polled
    kIoError = 8,
};

class FdWatch {
public:
    // Receives the events seen by the last poll; 0 when only woken.
    using Callback = std::function<void(unsigned events)>;

    FdWatch() = default;
    FdWatch(int fd, unsigned interest, Callback onReady);
    ~FdWatch();
    FdWatch(FdWatch&& other) noexcept;
    FdWatch& operator=(FdWatch&& other) noexcept;
    FdWatch(const FdWatch&) = delete;
    FdWatch& operator=(const FdWatch&) = delete;

    // 0 takes the descriptor out of the poll set entirely (a closed peer
    // would otherwise report hang-ups forever).
    void SetInterest(unsigned interest);
    unsigned Interest() const noexcept { return interest_; }
    // The callback runs at the next dispatch even without readiness.
    void Wake();
    void Reset() noexcept;
    bool Active() const noexcept { return source_ != nullptr; }

private:
    GSource* source_ = nullptr;
    unsigned interest_ = 0;
};

}  // namespace platform::loop
