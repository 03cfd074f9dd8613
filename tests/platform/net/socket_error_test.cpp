#include "platform/net/socket_error.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <thread>

#include "platform/net/resolver.h"
#include "platform/net/sigpipe.h"

namespace {

using namespace platform::net;

struct ErrnoRow {
    const char* name;
    int errnoValue;
    int expected;
};

void PrintTo(const ErrnoRow& row, std::ostream* os) { *os << row.name << " -> " << row.expected; }

class ErrnoMapping : public ::testing::TestWithParam<ErrnoRow> {};

TEST_P(ErrnoMapping, GivesTheWinsockNumber) {
    EXPECT_EQ(SocketErrorFromErrno(GetParam().errnoValue), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ErrnoMapping,
    ::testing::Values(ErrnoRow{"none", 0, 0}, ErrnoRow{"EINTR", EINTR, 10004},
                      ErrnoRow{"EBADF", EBADF, 10009}, ErrnoRow{"EACCES", EACCES, 10013},
                      ErrnoRow{"EFAULT", EFAULT, 10014}, ErrnoRow{"EINVAL", EINVAL, 10022},
                      ErrnoRow{"EMFILE", EMFILE, 10024}, ErrnoRow{"EAGAIN", EAGAIN, 10035},
                      ErrnoRow{"EINPROGRESS", EINPROGRESS, 10036}, ErrnoRow{"ENOTSOCK", ENOTSOCK, 10038},
                      ErrnoRow{"EADDRINUSE", EADDRINUSE, 10048},
                      ErrnoRow{"EADDRNOTAVAIL", EADDRNOTAVAIL, 10049}, ErrnoRow{"ENETDOWN", ENETDOWN, 10050},
                      ErrnoRow{"ENETUNREACH", ENETUNREACH, 10051}, ErrnoRow{"ENETRESET", ENETRESET, 10052},
                      ErrnoRow{"ECONNABORTED", ECONNABORTED, 10053},
                      ErrnoRow{"ECONNRESET", ECONNRESET, 10054}, ErrnoRow{"EPIPE", EPIPE, 10054},
                      ErrnoRow{"ENOTCONN", ENOTCONN, 10057}, ErrnoRow{"ESHUTDOWN", ESHUTDOWN, 10058},
                      ErrnoRow{"ETIMEDOUT", ETIMEDOUT, 10060}, ErrnoRow{"ECONNREFUSED", ECONNREFUSED, 10061},
                      ErrnoRow{"ENAMETOOLONG", ENAMETOOLONG, 10063}, ErrnoRow{"EHOSTDOWN", EHOSTDOWN, 10064},
                      ErrnoRow{"EHOSTUNREACH", EHOSTUNREACH, 10065}, ErrnoRow{"EIO_unmapped", EIO, 10022}),
    [](const auto& info) { return std::string(info.param.name); });

struct ResolveRow {
    const char* name;
    std::string host;
    int error;
    const char* address;  // dotted form when resolved
};

void PrintTo(const ResolveRow& row, std::ostream* os) { *os << row.name << " -> " << row.error; }

class Resolution : public ::testing::TestWithParam<ResolveRow> {};

TEST_P(Resolution, ReadsAddressTextFirstThenNames) {
    SetLastSocketError(-1);
    in_addr address{};
    EXPECT_EQ(ResolveIPv4(GetParam().host, address), GetParam().error);
    EXPECT_EQ(LastSocketError(), GetParam().error);
    if (GetParam().error == 0) {
        EXPECT_EQ(AddressText(address), GetParam().address);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, Resolution,
                         ::testing::Values(ResolveRow{"dotted", "127.0.0.1", 0, "127.0.0.1"},
                                           ResolveRow{"short_form", "127.1", 0, "127.0.0.1"},
                                           ResolveRow{"single_number", "2130706433", 0, "127.0.0.1"},
                                           ResolveRow{"host_name", "localhost", 0, "127.0.0.1"},
                                           ResolveRow{"unknown_name", "no-such-host.invalid", 11001, ""},
                                           ResolveRow{"empty", "", 11001, ""},
                                           ResolveRow{"embedded_nul", std::string("127.0.0.1\0evil", 14),
                                                      11001, ""}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LastSocketError, IsPerThread) {
    SetLastSocketError(10054);
    int other = -1;
    std::thread([&] { other = LastSocketError(); }).join();
    EXPECT_EQ(other, 0);
    EXPECT_EQ(LastSocketError(), 10054);
}

TEST(Sigpipe, WriteToAClosedPeerFailsInsteadOfKilling) {
    IgnoreSigpipe();
    IgnoreSigpipe();  // a second call is harmless
    int fds[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0);
    close(fds[1]);
    errno = 0;
    EXPECT_EQ(write(fds[0], "x", 1), -1);
    EXPECT_EQ(errno, EPIPE);
    close(fds[0]);
}

}  // namespace
