#pragma once
// A mailbox of the test Dovecot server (tests/fixtures/pop3d), claimed by
// one test for its lifetime so that tests running in parallel never see
// each other's messages.
#include <cstdint>
#include <string>
#include <string_view>

namespace testsupport {

struct Pop3dServer {
    std::string host = "127.0.0.1";
    std::uint16_t port = 0;     // plain, offers STLS
    std::uint16_t tlsPort = 0;  // implicit TLS
    std::string base;

    // From the environment the test launcher sets; fails the test when the
    // fixture is not configured.
    static Pop3dServer fromEnvironment();
    std::string certificateFile() const { return base + "/ssl/cert.pem"; }
};

class Pop3dMailbox {
public:
    explicit Pop3dMailbox(const Pop3dServer& server);
    ~Pop3dMailbox();
    Pop3dMailbox(const Pop3dMailbox&) = delete;
    Pop3dMailbox& operator=(const Pop3dMailbox&) = delete;

    const std::string& user() const { return user_; }
    const std::string& password() const { return password_; }

    // Drops a message in; `uidl` is the message's file name and so the UIDL
    // the server reports. Messages are listed in the order of their UIDLs.
    void add(std::string_view uidl, std::string_view message) const;
    // Messages still on the server (new/ and cur/).
    int messageCount() const;
    void clear() const;

private:
    std::string maildir() const;
    std::string user_;
    std::string password_;
    std::string claim_;
    std::string base_;
    std::string host_;
    std::uint16_t port_ = 0;
};

}  // namespace testsupport
