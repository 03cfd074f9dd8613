#include "platform/net/resolver.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <sys/socket.h>
#include <unistd.h>

#include <memory>

#include "platform/net/socket_error.h"

namespace platform::net {

int ResolveIPv4(std::string_view host, in_addr& address) {
    // A NUL inside the text would silently cut the name short.
    if (host.empty() || host.find('\0') != std::string_view::npos) {
        SetLastSocketError(kErrHostNotFound);
        return kErrHostNotFound;
    }
    const std::string text(host);
    if (inet_aton(text.c_str(), &address) != 0) {
        SetLastSocketError(kSocketOk);
        return kSocketOk;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int rc = getaddrinfo(text.c_str(), nullptr, &hints, &found);
    const std::unique_ptr<addrinfo, decltype(&freeaddrinfo)> owned(found, &freeaddrinfo);
    if (rc != 0 || found == nullptr || found->ai_addr == nullptr || found->ai_family != AF_INET) {
        const int error = rc != 0 ? SocketErrorFromResolver(rc) : kErrHostNotFound;
        SetLastSocketError(error);
        return error;
    }
    address = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
    SetLastSocketError(kSocketOk);
    return kSocketOk;
}

std::string AddressText(in_addr address) {
    char text[INET_ADDRSTRLEN] = {};
    if (inet_ntop(AF_INET, &address, text, sizeof text) == nullptr) return {};
    return text;
}

std::string LocalHostName() {
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0) return {};
    return name;
}

}  // namespace platform::net
