#include "platform/net/socket_error.h"

#include <cerrno>

namespace platform::net {
namespace {

thread_local int lastSocketError = 0;

}  // namespace

int SocketErrorFromErrno(int e) noexcept {
    switch (e) {
        case 0:
            return kSocketOk;
        case EINTR:
            return kErrInterrupted;
        case EBADF:
            return kErrBadHandle;
        case EACCES:
        case EPERM:
            return kErrAccess;
        case EFAULT:
            return kErrFault;
        case EINVAL:
            return kErrInvalid;
        case EMFILE:
        case ENFILE:
            return kErrTooManySockets;
        case EWOULDBLOCK:
            return kErrWouldBlock;  // EAGAIN is the same value on Linux
        case EINPROGRESS:
            return kErrInProgress;
        case EALREADY:
            return kErrAlready;
        case ENOTSOCK:
            return kErrNotSocket;
        case EDESTADDRREQ:
            return kErrDestinationRequired;
        case EMSGSIZE:
            return kErrMessageSize;
        case EPROTOTYPE:
            return kErrProtocolType;
        case ENOPROTOOPT:
            return kErrProtocolOption;
        case EPROTONOSUPPORT:
            return kErrProtocolNotSupported;
        case ESOCKTNOSUPPORT:
            return kErrSocketTypeNotSupported;
        case EOPNOTSUPP:
            return kErrOperationNotSupported;
        case EAFNOSUPPORT:
            return kErrFamilyNotSupported;
        case EADDRINUSE:
            return kErrAddressInUse;
        case EADDRNOTAVAIL:
            return kErrAddressNotAvailable;
        case ENETDOWN:
            return kErrNetworkDown;
        case ENETUNREACH:
            return kErrNetworkUnreachable;
        case ENETRESET:
            return kErrNetworkReset;
        case ECONNABORTED:
            return kErrConnectionAborted;
        // Linux reports a send to a peer that has reset the connection as EPIPE.
        case EPIPE:
        case ECONNRESET:
            return kErrConnectionReset;
        case ENOBUFS:
        case ENOMEM:
            return kErrNoBuffers;
        case EISCONN:
            return kErrIsConnected;
        case ENOTCONN:
            return kErrNotConnected;
        case ESHUTDOWN:
            return kErrShutdown;
        case ETIMEDOUT:
            return kErrTimedOut;
        case ECONNREFUSED:
            return kErrConnectionRefused;
        case ENAMETOOLONG:
            return kErrNameTooLong;
        case EHOSTDOWN:
            return kErrHostDown;
        case EHOSTUNREACH:
            return kErrHostUnreachable;
        default:
            return kErrInvalid;
    }
}

int SocketErrorFromResolver(int resolverCode) noexcept {
    return resolverCode == 0 ? kSocketOk : kErrHostNotFound;
}

int LastSocketError() noexcept { return lastSocketError; }

void SetLastSocketError(int error) noexcept { lastSocketError = error; }

}  // namespace platform::net
