#include "tests/support/line_client.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <openssl/evp.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cstdio>
#include <stdexcept>

namespace testsupport {

LineClient::LineClient(const std::string& host, std::uint16_t port, int timeoutSeconds) {
    fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd_ < 0) throw std::runtime_error("socket failed");
    timeval tv{timeoutSeconds, 0};
    setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    setsockopt(fd_, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    if (inet_pton(AF_INET, host.c_str(), &addr.sin_addr) != 1)
        throw std::runtime_error("bad address " + host);
    if (connect(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        close(fd_);
        throw std::runtime_error("cannot connect to " + host + ":" + std::to_string(port));
    }
}

LineClient::~LineClient() {
    if (fd_ >= 0) close(fd_);
}

std::string LineClient::readLine() {
    for (;;) {
        const auto lf = buffer_.find('\n');
        if (lf != std::string::npos) {
            std::string line = buffer_.substr(0, lf);
            buffer_.erase(0, lf + 1);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            return line;
        }
        char chunk[4096];
        const ssize_t n = recv(fd_, chunk, sizeof chunk, 0);
        if (n <= 0) throw std::runtime_error(n == 0 ? "connection closed" : "receive failed or timed out");
        buffer_.append(chunk, static_cast<size_t>(n));
    }
}

void LineClient::writeLine(std::string_view line) {
    std::string out(line);
    out += "\r\n";
    size_t done = 0;
    while (done < out.size()) {
        const ssize_t n = send(fd_, out.data() + done, out.size() - done, MSG_NOSIGNAL);
        if (n <= 0) throw std::runtime_error("send failed");
        done += static_cast<size_t>(n);
    }
}

std::string LineClient::command(std::string_view line) {
    writeLine(line);
    return readLine();
}

std::string md5Hex(std::string_view data) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int len = 0;
    EVP_Digest(data.data(), data.size(), digest, &len, EVP_md5(), nullptr);
    std::string hex;
    char two[3];
    for (unsigned int i = 0; i < len; ++i) {
        std::snprintf(two, sizeof two, "%02x", digest[i]);
        hex += two;
    }
    return hex;
}

}  // namespace testsupport
