#include "tests/component/fake_pop3/fake_pop3_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <stdexcept>

namespace fakepop3 {

namespace {

// A connection that stays silent this long is given up: the server stops by
// itself even when a test forgets its client.
constexpr int kIdleLimitMs = 60000;

}  // namespace

Script LoginAndList(const std::vector<std::string>& messages, const std::string& greeting) {
    std::string list;
    std::string uidl;
    std::size_t total = 0;
    for (std::size_t i = 0; i < messages.size(); ++i) {
        list += std::to_string(i + 1) + " " + std::to_string(messages[i].size()) + "\r\n";
        uidl += std::to_string(i + 1) + " uid-" + std::to_string(i + 1) + "\r\n";
        total += messages[i].size();
    }
    return LoginAndReplies(std::to_string(messages.size()) + " " + std::to_string(total), list, uidl,
                           greeting);
}

Script LoginAndReplies(const std::string& stat, const std::string& list, const std::string& uidl,
                       const std::string& greeting) {
    return {Send(greeting + "\r\n"),
            Receive(),
            Send("+OK user\r\n"),
            Receive(),
            Send("+OK logged in\r\n"),
            Receive(),
            Send("+OK " + stat + "\r\n"),
            Receive(),
            Send("+OK scan listing follows\r\n" + list + ".\r\n"),
            Receive(),
            Send("+OK unique-id listing follows\r\n" + uidl + ".\r\n")};
}

std::string RetrReply(const std::string& message) {
    std::string reply = "+OK message follows\r\n";
    std::size_t start = 0;
    while (start < message.size()) {
        auto end = message.find("\r\n", start);
        if (end == std::string::npos) end = message.size();
        if (message[start] == '.') reply += '.';
        reply.append(message, start, end - start);
        reply += "\r\n";
        start = end + 2;
    }
    reply += ".\r\n";
    return reply;
}

void AppendRetr(Script& script, const std::string& message) {
    script.push_back(Receive());
    script.push_back(Send(RetrReply(message)));
}

FakePop3Server::FakePop3Server(std::vector<Script> sessions, Options options)
    : sessions_(std::move(sessions)), options_(options) {
    transcripts_.resize(sessions_.size());
    ended_.assign(sessions_.size(), false);
    listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listener_ < 0 || pipe(stopPipe_) != 0) throw std::runtime_error("fake server: no socket");
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof addr;
    if (bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || listen(listener_, 8) != 0 ||
        getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &length) != 0) {
        throw std::runtime_error("fake server: cannot listen");
    }
    port_ = ntohs(addr.sin_port);
    thread_ = std::thread([this] { Run(); });
}

FakePop3Server::~FakePop3Server() {
    const char stop = 1;
    [[maybe_unused]] auto written = write(stopPipe_[1], &stop, 1);
    thread_.join();
    close(listener_);
    close(stopPipe_[0]);
    close(stopPipe_[1]);
}

std::vector<std::string> FakePop3Server::transcript(std::size_t session, std::chrono::milliseconds wait) {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, wait, [&] { return session < ended_.size() && ended_[session]; });
    return session < transcripts_.size() ? transcripts_[session] : std::vector<std::string>{};
}

std::size_t FakePop3Server::accepted() {
    std::lock_guard lock(mutex_);
    return accepted_;
}

bool FakePop3Server::ended(std::size_t session) {
    std::lock_guard lock(mutex_);
    return session < ended_.size() && ended_[session];
}

void FakePop3Server::Run() {
    for (std::size_t session = 0; session < sessions_.size(); ++session) {
        pollfd fds[2] = {{listener_, POLLIN, 0}, {stopPipe_[0], POLLIN, 0}};
        if (poll(fds, 2, kIdleLimitMs) <= 0 || (fds[1].revents & POLLIN) != 0) break;
        const int client = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) break;
        const int one = 1;
        setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        timeval sendLimit{30, 0};  // a client that neither reads nor closes
        setsockopt(client, SOL_SOCKET, SO_SNDTIMEO, &sendLimit, sizeof sendLimit);
        {
            std::lock_guard lock(mutex_);
            ++accepted_;
        }
        Serve(client, sessions_[session], session);
        close(client);
        {
            std::lock_guard lock(mutex_);
            ended_[session] = true;
        }
        changed_.notify_all();
    }
    std::lock_guard lock(mutex_);
    for (std::size_t i = 0; i < ended_.size(); ++i) ended_[i] = true;
    changed_.notify_all();
}

bool FakePop3Server::SendAll(int client, const char* data, std::size_t size) {
    const std::size_t chunk = options_.byteByByte ? 1 : 65536;
    for (std::size_t done = 0; done < size;) {
        const ssize_t n = send(client, data + done, std::min(chunk, size - done), MSG_NOSIGNAL);
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
        if (options_.byteByByte) usleep(200);
    }
    return true;
}

bool FakePop3Server::ReadLine(int client, std::string& pending, std::string& line) {
    for (;;) {
        const auto lf = pending.find('\n');
        if (lf != std::string::npos) {
            line = pending.substr(0, lf);
            pending.erase(0, lf + 1);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            return true;
        }
        pollfd fds[2] = {{client, POLLIN, 0}, {stopPipe_[0], POLLIN, 0}};
        if (poll(fds, 2, kIdleLimitMs) <= 0 || (fds[1].revents & POLLIN) != 0) return false;
        char chunk[4096];
        const ssize_t n = recv(client, chunk, sizeof chunk, 0);
        if (n <= 0) return false;
        pending.append(chunk, static_cast<std::size_t>(n));
    }
}

void FakePop3Server::DripUntilClosed(int client, const Step& step, std::string& pending,
                                     std::size_t session) {
    for (;;) {
        pollfd fds[2] = {{client, POLLIN, 0}, {stopPipe_[0], POLLIN, 0}};
        if (poll(fds, 2, step.milliseconds) < 0 || (fds[1].revents & POLLIN) != 0) return;
        if ((fds[0].revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
            char chunk[4096];
            const ssize_t n = recv(client, chunk, sizeof chunk, MSG_DONTWAIT);
            if (n <= 0) return;
            pending.append(chunk, static_cast<std::size_t>(n));
            for (auto lf = pending.find('\n'); lf != std::string::npos; lf = pending.find('\n')) {
                std::string line = pending.substr(0, lf);
                pending.erase(0, lf + 1);
                if (!line.empty() && line.back() == '\r') line.pop_back();
                std::lock_guard lock(mutex_);
                transcripts_[session].push_back(std::move(line));
            }
        }
        if (!SendAll(client, step.text.data(), step.text.size())) return;
    }
}

void FakePop3Server::Serve(int client, const Script& script, std::size_t session) {
    std::string pending;
    std::string line;
    auto record = [&] {
        std::lock_guard lock(mutex_);
        transcripts_[session].push_back(line);
    };
    for (const Step& step : script) {
        switch (step.kind) {
            case Step::Kind::Send:
                if (!SendAll(client, step.text.data(), step.text.size())) return;
                break;
            case Step::Kind::Receive:
                if (!ReadLine(client, pending, line)) return;
                record();
                break;
            case Step::Kind::Close:
                return;
            case Step::Kind::Fill: {
                const std::string block(65536, 'x');
                for (std::size_t done = 0; done < step.count; done += block.size()) {
                    if (!SendAll(client, block.data(), std::min(block.size(), step.count - done))) return;
                }
                break;
            }
            case Step::Kind::Pause:
                usleep(static_cast<useconds_t>(step.milliseconds) * 1000);
                break;
            case Step::Kind::Drip:
                return DripUntilClosed(client, step, pending, session);
        }
    }
    // Past the script: everything is read, and QUIT answered and closed as
    // a server does.
    while (ReadLine(client, pending, line)) {
        record();
        if (line == "QUIT") {
            const std::string bye = "+OK bye\r\n";
            SendAll(client, bye.data(), bye.size());
            return;
        }
    }
}

}  // namespace fakepop3
