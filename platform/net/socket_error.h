#pragma once
// Socket errors in Winsock numbering, which the component reports to its
// clients, mapped from errno and resolver codes, and the thread's last one.

namespace platform::net {

inline constexpr int kSocketOk = 0;
inline constexpr int kErrInterrupted = 10004;
inline constexpr int kErrBadHandle = 10009;
inline constexpr int kErrAccess = 10013;
inline constexpr int kErrFault = 10014;
inline constexpr int kErrInvalid = 10022;
inline constexpr int kErrTooManySockets = 10024;
inline constexpr int kErrWouldBlock = 10035;
inline constexpr int kErrInProgress = 10036;
inline constexpr int kErrAlready = 10037;
inline constexpr int kErrNotSocket = 10038;
inline constexpr int kErrDestinationRequired = 10039;
inline constexpr int kErrMessageSize = 10040;
inline constexpr int kErrProtocolType = 10041;
inline constexpr int kErrProtocolOption = 10042;
inline constexpr int kErrProtocolNotSupported = 10043;
inline constexpr int kErrSocketTypeNotSupported = 10044;
inline constexpr int kErrOperationNotSupported = 10045;
inline constexpr int kErrFamilyNotSupported = 10047;
inline constexpr int kErrAddressInUse = 10048;
inline constexpr int kErrAddressNotAvailable = 10049;
inline constexpr int kErrNetworkDown = 10050;
inline constexpr int kErrNetworkUnreachable = 10051;
inline constexpr int kErrNetworkReset = 10052;
inline constexpr int kErrConnectionAborted = 10053;
inline constexpr int kErrConnectionReset = 10054;
inline constexpr int kErrNoBuffers = 10055;
inline constexpr int kErrIsConnected = 10056;
inline constexpr int kErrNotConnected = 10057;
inline constexpr int kErrShutdown = 10058;
inline constexpr int kErrTimedOut = 10060;
inline constexpr int kErrConnectionRefused = 10061;
inline constexpr int kErrNameTooLong = 10063;
inline constexpr int kErrHostDown = 10064;
inline constexpr int kErrHostUnreachable = 10065;
inline constexpr int kErrHostNotFound = 11001;

// 0 for 0; errno values without a Winsock counterpart become kErrInvalid.
int SocketErrorFromErrno(int errnoValue) noexcept;
// Any failure of name resolution (a getaddrinfo code) is "host not found".
int SocketErrorFromResolver(int resolverCode) noexcept;

// The thread's last socket error, in Winsock numbering.
int LastSocketError() noexcept;
void SetLastSocketError(int error) noexcept;

}  // namespace platform::net
