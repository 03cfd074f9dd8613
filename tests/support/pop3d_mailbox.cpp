#include "tests/support/pop3d_mailbox.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <utility>
#include <vector>

#include "tests/support/line_client.h"

namespace fs = std::filesystem;

namespace testsupport {
namespace {

constexpr int kBoxes = 64;  // as many as tests/fixtures/pop3d/pop3d.sh makes

std::uint16_t portFromEnv(const char* name) {
    const char* v = std::getenv(name);
    if (v == nullptr || *v == '\0')
        throw std::runtime_error(std::string(name) + " is not set: run the test through ctest");
    return static_cast<std::uint16_t>(std::stoi(v));
}

bool ownerAlive(const fs::path& claim) {
    std::ifstream in(claim / "pid");
    pid_t pid = 0;
    if (!(in >> pid) || pid <= 0) return false;
    return kill(pid, 0) == 0 || errno == EPERM;
}

}  // namespace

Pop3dServer Pop3dServer::fromEnvironment() {
    Pop3dServer s;
    s.port = portFromEnv("POP3D_PORT");
    s.tlsPort = portFromEnv("POP3D_TLS_PORT");
    const char* base = std::getenv("POP3D_BASE");
    if (base == nullptr) throw std::runtime_error("POP3D_BASE is not set: run the test through ctest");
    s.base = base;
    return s;
}

Pop3dMailbox::Pop3dMailbox(const Pop3dServer& server)
    : base_(server.base), host_(server.host), port_(server.port) {
    // A claim is a directory made atomically; one left by a dead process is
    // taken over. Boxes are taken least recently released first, so a box is
    // not reused while the server may still be closing its last session.
    const fs::path claims = fs::path(base_) / "claims";
    std::vector<std::pair<fs::file_time_type, int>> order;
    for (int i = 1; i <= kBoxes; ++i) {
        std::error_code ec;
        const auto released = fs::last_write_time(claims / ("box" + std::to_string(i) + ".released"), ec);
        order.emplace_back(ec ? fs::file_time_type::min() : released, i);
    }
    std::sort(order.begin(), order.end());
    for (const auto& [released, i] : order) {
        const fs::path claim = claims / ("box" + std::to_string(i));
        // The claim appears with its pid file already inside (a staged
        // folder renamed into place), so no other process can see it
        // without an owner and take it too.
        const fs::path staged = claims / (".staged-" + std::to_string(getpid()));
        std::error_code ec;
        fs::remove_all(staged, ec);
        if (mkdir(staged.c_str(), 0700) != 0) continue;
        std::ofstream(staged / "pid") << getpid();
        if (rename(staged.c_str(), claim.c_str()) != 0) {
            const bool taken = ownerAlive(claim);
            if (!taken) fs::remove_all(claim, ec);
            if (taken || rename(staged.c_str(), claim.c_str()) != 0) {
                fs::remove_all(staged, ec);
                continue;
            }
        }
        user_ = "box" + std::to_string(i);
        password_ = "pw-" + user_;
        claim_ = claim;
        break;
    }
    if (user_.empty()) throw std::runtime_error("no free mailbox on the test POP3 server");
    clear();
}

Pop3dMailbox::~Pop3dMailbox() {
    std::ofstream(claim_ + ".released", std::ios::trunc) << getpid();
    std::error_code ec;
    fs::remove_all(claim_, ec);
}

std::string Pop3dMailbox::maildir() const { return base_ + "/home/" + user_ + "/Maildir"; }

void Pop3dMailbox::clear() const {
    std::error_code ec;
    for (const char* sub : {"new", "cur", "tmp"})
        for (const auto& e : fs::directory_iterator(maildir() + "/" + sub, ec)) fs::remove(e.path(), ec);
    // The server's own index files stay: a session of the previous user of
    // this box may still be closing, and deleting them under it makes the
    // server drop the mailbox. They still number the removed files, so a
    // file added again under an old name would keep its old place in the
    // listing: a session now lets the server see them gone, and messages
    // added next are listed in the order they are added.
    LineClient client(host_, port_);
    client.readLine();
    for (const std::string& line : {"USER " + user_, "PASS " + password_, std::string("QUIT")})
        if (client.command(line).rfind("+OK", 0) != 0)
            throw std::runtime_error("the test POP3 server refused " + line.substr(0, 4) + " for " + user_);
}

void Pop3dMailbox::add(std::string_view uidl, std::string_view message) const {
    const std::string name(uidl);
    const std::string tmp = maildir() + "/tmp/" + name;
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        out.write(message.data(), static_cast<std::streamsize>(message.size()));
        if (!out) throw std::runtime_error("cannot write " + tmp);
    }
    // The server's mail processes run as another user when tests run as root.
    chmod(tmp.c_str(), 0666);
    fs::rename(tmp, maildir() + "/new/" + name);
}

int Pop3dMailbox::messageCount() const {
    int n = 0;
    std::error_code ec;
    for (const char* sub : {"new", "cur"})
        for ([[maybe_unused]] const auto& e : fs::directory_iterator(maildir() + "/" + sub, ec)) ++n;
    return n;
}

}  // namespace testsupport
