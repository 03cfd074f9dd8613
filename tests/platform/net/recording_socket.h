#pragma once
// A socket under test that logs each notification to a Recorder living
// outside it, reads what arrives, and then runs the test's hook, which may
// delete or close the socket.
#include <algorithm>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/net/async_socket.h"

namespace nettest {

struct Event {
    unsigned code;  // FD_ flag, or 0 for a timer tick
    int value;      // the error, or the timer id
    bool operator==(const Event&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const Event& e) {
    using namespace platform::net;
    switch (e.code) {
        case FD_READ:
            return os << "FD_READ(" << e.value << ")";
        case FD_WRITE:
            return os << "FD_WRITE(" << e.value << ")";
        case FD_CONNECT:
            return os << "FD_CONNECT(" << e.value << ")";
        case FD_CLOSE:
            return os << "FD_CLOSE(" << e.value << ")";
        case 0:
            return os << "TIMER(" << e.value << ")";
        default:
            return os << "event " << e.code << "(" << e.value << ")";
    }
}

inline constexpr Event Connected{platform::net::FD_CONNECT, 0};
inline constexpr Event Writable{platform::net::FD_WRITE, 0};
inline constexpr Event Readable{platform::net::FD_READ, 0};

struct Recorder {
    std::vector<Event> events;
    std::string received;  // bytes read in FD_READ, in order
    int readChunk = 16384;
    std::function<void(const Event&)> after;  // runs last; may delete the socket

    int Count(const Event& e) const { return int(std::count(events.begin(), events.end(), e)); }
    bool Saw(unsigned code) const {
        return std::any_of(events.begin(), events.end(), [&](const Event& e) { return e.code == code; });
    }
};

class RecordingSocket : public platform::net::AsyncSocket {
public:
    explicit RecordingSocket(Recorder& recorder) : rec_(recorder) {}

protected:
    void OnReceive(int error) override {
        std::string chunk(size_t(rec_.readChunk), '\0');
        const int n = Receive(chunk.data(), rec_.readChunk);
        if (n > 0) rec_.received.append(chunk.data(), size_t(n));
        Record({platform::net::FD_READ, error});
    }
    void OnSend(int error) override { Record({platform::net::FD_WRITE, error}); }
    void OnConnect(int error) override { Record({platform::net::FD_CONNECT, error}); }
    void OnClose(int error) override { Record({platform::net::FD_CLOSE, error}); }
    void OnTimer(int id) override { Record({0, id}); }

private:
    void Record(const Event& e) {
        rec_.events.push_back(e);
        if (rec_.after) rec_.after(e);  // nothing of this object is used after
    }
    Recorder& rec_;
};

}  // namespace nettest
