#pragma once

namespace platform::net {

// Ignores SIGPIPE for the whole process, once. Our own sends never raise it;
// this is for code that writes to a socket through write() (a TLS library's
// socket I/O), where a peer that has gone away would otherwise kill us.
void IgnoreSigpipe();

}  // namespace platform::net
