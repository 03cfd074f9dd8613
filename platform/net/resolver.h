#pragma once
// IPv4 name resolution as the component needs it: address text first (with
// the short forms such as "127.1"), then the host name, either at once
// (ResolveIPv4) or without holding the thread's loop (NameLookup).
#include <netinet/in.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace platform::net {

// 0, or kErrHostNotFound when the text is neither an address nor a name that
// resolves to an IPv4 address. Also sets the thread's last socket error.
// Blocks for as long as the lookup takes.
int ResolveIPv4(std::string_view host, in_addr& address);
// True, with the address, when the text is an address (dotted or short form).
bool ReadAddressText(std::string_view host, in_addr& address);
// Whether the text can be looked up as a name at all (not empty, no NUL).
bool IsNameText(std::string_view host);
// Dotted form, "192.0.2.1".
std::string AddressText(in_addr address);
// This computer's host name; empty when it cannot be read.
std::string LocalHostName();

// A host name looked up through GLib's resolver, whose lookups run on GLib's
// own worker thread, so a slow name server never holds the loop. The answer
// comes from the loop, never inside the constructor: 0 and the first IPv4
// address, or kErrHostNotFound. Destroying the object cancels the lookup:
// its callback never runs then.
class NameLookup {
public:
    using Done = std::function<void(int error, in_addr address)>;
    NameLookup(const std::string& host, Done done);
    ~NameLookup();
    NameLookup(const NameLookup&) = delete;
    NameLookup& operator=(const NameLookup&) = delete;

    struct Pending;

private:
    std::shared_ptr<Pending> pending_;
};

}  // namespace platform::net
