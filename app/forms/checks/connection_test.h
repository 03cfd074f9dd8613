#pragma once
// What the checks do for the Accounts page: the connection test of an account.
#include <cstdint>
#include <functional>

namespace forms {

class ConnectionTest {
public:
    // The connection test of account as a server operation of its own, in
    // retrieval mode with the check timers held; then, still in retrieval
    // mode, afterTest. False, with nothing done, while another server
    // operation runs.
    virtual bool RunConnectionTest(int16_t account, const std::function<void()>& afterTest) = 0;

protected:
    ~ConnectionTest() = default;
};

}  // namespace forms
