#pragma once
// A blocking line client for tests that talk to a server directly, without
// the component: the fixture's own test and checks of what a server holds.
#include <cstdint>
#include <string>
#include <string_view>

namespace testsupport {

class LineClient {
public:
    LineClient(const std::string& host, std::uint16_t port, int timeoutSeconds = 10);
    ~LineClient();
    LineClient(const LineClient&) = delete;
    LineClient& operator=(const LineClient&) = delete;

    // One line without its CR LF; throws on time-out or close.
    std::string readLine();
    void writeLine(std::string_view line);
    // Sends the command and returns the status line.
    std::string command(std::string_view line);

private:
    int fd_ = -1;
    std::string buffer_;
};

std::string md5Hex(std::string_view data);

}  // namespace testsupport
