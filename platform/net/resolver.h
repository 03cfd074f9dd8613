#pragma once
// IPv4 name resolution as the component needs it: address text first (with
// the short forms such as "127.1"), then the host name. Synchronous.
#include <netinet/in.h>

#include <string>
#include <string_view>

namespace platform::net {

// 0, or kErrHostNotFound when the text is neither an address nor a name that
// resolves to an IPv4 address. Also sets the thread's last socket error.
int ResolveIPv4(std::string_view host, in_addr& address);
// Dotted form, "192.0.2.1".
std::string AddressText(in_addr address);
// This computer's host name; empty when it cannot be read.
std::string LocalHostName();

}  // namespace platform::net
