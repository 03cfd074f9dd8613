#pragma once
// One server operation at a time. A check, a deletion on the server or a
// connection test pumps the event loop while it waits, so a timer tick, a
// tray click or a second command can arrive in the middle of it; each of
// them asks first and is skipped while an operation runs. Quitting and page
// jumps ask Running() too.

namespace modGeneral {

class ServerOperation {
public:
    // Claims the program's one operation slot when it is free.
    ServerOperation() : owns_(!running_) { running_ = true; }
    ~ServerOperation() {
        if (owns_) running_ = false;
    }
    ServerOperation(const ServerOperation&) = delete;
    ServerOperation& operator=(const ServerOperation&) = delete;

    // False when another operation was running: the caller does nothing.
    bool Started() const { return owns_; }
    static bool Running() { return running_; }

private:
    const bool owns_;
    static inline bool running_ = false;
};

}  // namespace modGeneral
