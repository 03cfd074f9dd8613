#include "platform/net/sigpipe.h"

#include <csignal>
#include <mutex>

namespace platform::net {

void IgnoreSigpipe() {
    static std::once_flag once;
    std::call_once(once, [] {
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        sigemptyset(&ignore.sa_mask);
        sigaction(SIGPIPE, &ignore, nullptr);
    });
}

}  // namespace platform::net
