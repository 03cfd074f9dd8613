#include "platform/net/resolver.h"

#include <arpa/inet.h>
#include <gio/gio.h>
#include <netdb.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <utility>

#include "platform/loop/handler_barrier.h"
#include "platform/net/socket_error.h"

namespace platform::net {

bool ReadAddressText(std::string_view host, in_addr& address) {
    if (!IsNameText(host)) return false;
    const std::string text(host);
    return inet_aton(text.c_str(), &address) != 0;
}

// A NUL inside the text would silently cut the name short.
bool IsNameText(std::string_view host) { return !host.empty() && host.find('\0') == std::string_view::npos; }

int ResolveIPv4(std::string_view host, in_addr& address) {
    if (!IsNameText(host)) {
        SetLastSocketError(kErrHostNotFound);
        return kErrHostNotFound;
    }
    if (ReadAddressText(host, address)) {
        SetLastSocketError(kSocketOk);
        return kSocketOk;
    }
    const std::string text(host);
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

struct NameLookup::Pending {
    GCancellable* cancellable = g_cancellable_new();
    Done done;  // empty once answered or cancelled
    ~Pending() { g_object_unref(cancellable); }
};

namespace {

// The first IPv4 address of a lookup's answer.
bool FirstIPv4(GList* addresses, in_addr& address) {
    for (GList* item = addresses; item != nullptr; item = item->next) {
        GInetAddress* found = G_INET_ADDRESS(item->data);
        if (g_inet_address_get_family(found) != G_SOCKET_FAMILY_IPV4) continue;
        std::memcpy(&address, g_inet_address_to_bytes(found), sizeof address);
        return true;
    }
    return false;
}

void LookupFinished(GObject* source, GAsyncResult* result, gpointer data) {
    // GLib hands back what the lookup was started with, also when cancelled.
    const std::unique_ptr<std::shared_ptr<NameLookup::Pending>> held(
        static_cast<std::shared_ptr<NameLookup::Pending>*>(data));
    GError* error = nullptr;
    GList* addresses = g_resolver_lookup_by_name_with_flags_finish(G_RESOLVER(source), result, &error);
    in_addr address{};
    const bool found = addresses != nullptr && FirstIPv4(addresses, address);
    g_resolver_free_addresses(addresses);
    if (error != nullptr) g_error_free(error);
    NameLookup::Done done = std::exchange((*held)->done, nullptr);
    if (!done) return;
    loop::RunHandler("answering a name lookup",
                     [&] { done(found ? kSocketOk : kErrHostNotFound, found ? address : in_addr{}); });
}

}  // namespace

NameLookup::NameLookup(const std::string& host, Done done) : pending_(std::make_shared<Pending>()) {
    pending_->done = std::move(done);
    GResolver* resolver = g_resolver_get_default();
    g_resolver_lookup_by_name_with_flags_async(resolver, host.c_str(), G_RESOLVER_NAME_LOOKUP_FLAGS_IPV4_ONLY,
                                               pending_->cancellable, LookupFinished,
                                               new std::shared_ptr<Pending>(pending_));
    g_object_unref(resolver);
}

NameLookup::~NameLookup() {
    pending_->done = nullptr;
    g_cancellable_cancel(pending_->cancellable);
}

}  // namespace platform::net
