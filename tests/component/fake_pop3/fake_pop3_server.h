#pragma once
// A POP3 server that plays scripts: one script per accepted connection, each
// a list of steps (send bytes, read one client line, close). What the client
// sent is kept per connection. When a script runs out without closing, the
// server keeps reading until the client closes, so a short script is also a
// stall. It runs on its own thread on 127.0.0.1 and stops by itself.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace fakepop3 {

struct Step {
    enum class Kind { Send, Receive, Close, Fill, Pause, Drip };
    Kind kind;
    std::string text;       // Send: the bytes
    std::size_t count = 0;  // Fill: how many bytes
    int milliseconds = 0;   // Pause; Drip: the interval
};

inline Step Send(std::string text) { return {Step::Kind::Send, std::move(text)}; }
inline Step Receive() { return {Step::Kind::Receive, {}}; }
inline Step Close() { return {Step::Kind::Close, {}}; }
// `count` bytes of 'x' with no line end: an oversized line.
inline Step Fill(std::size_t count) { return {Step::Kind::Fill, {}, count}; }
inline Step Pause(int milliseconds) { return {Step::Kind::Pause, {}, 0, milliseconds}; }
// `text` again and again, every `milliseconds` (0: as fast as the client
// reads), until the client closes: a reply that never ends. What the client
// sends meanwhile is recorded.
inline Step Drip(std::string text, int milliseconds) {
    return {Step::Kind::Drip, std::move(text), 0, milliseconds};
}

using Script = std::vector<Step>;

// Helpers for the usual conversation.
// "+OK" greeting, USER/PASS accepted, STAT, LIST and UIDL of the given messages.
Script LoginAndList(const std::vector<std::string>& messages, const std::string& greeting = "+OK ready");
// The same with the STAT, LIST and UIDL replies given whole (without the
// "+OK" line of a listing and its "." end).
Script LoginAndReplies(const std::string& stat, const std::string& list, const std::string& uidl,
                       const std::string& greeting = "+OK ready");
// A message as a RETR reply: "+OK", the lines dot-stuffed, ".".
std::string RetrReply(const std::string& message);
void AppendRetr(Script& script, const std::string& message);

class FakePop3Server {
public:
    struct Options {
        bool byteByByte = false;  // every send goes out one byte at a time
    };
    explicit FakePop3Server(std::vector<Script> sessions, Options options);
    explicit FakePop3Server(std::vector<Script> sessions) : FakePop3Server(std::move(sessions), Options{}) {}
    ~FakePop3Server();
    FakePop3Server(const FakePop3Server&) = delete;
    FakePop3Server& operator=(const FakePop3Server&) = delete;

    std::uint16_t port() const { return port_; }
    // Lines the client sent on connection `session`, without CR LF. Waits
    // until that connection ended (or the wait times out).
    std::vector<std::string> transcript(std::size_t session,
                                        std::chrono::milliseconds wait = std::chrono::seconds(10));
    // Connections accepted so far.
    std::size_t accepted();
    // Whether connection `session` has ended; no wait.
    bool ended(std::size_t session);

private:
    void Run();
    void Serve(int client, const Script& script, std::size_t session);
    bool ReadLine(int client, std::string& pending, std::string& line);
    bool SendAll(int client, const char* data, std::size_t size);
    void DripUntilClosed(int client, const Step& step, std::string& pending, std::size_t session);

    std::vector<Script> sessions_;
    Options options_;
    int listener_ = -1;
    int stopPipe_[2] = {-1, -1};
    std::uint16_t port_ = 0;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::vector<std::string>> transcripts_;
    std::vector<bool> ended_;
    std::size_t accepted_ = 0;
    std::thread thread_;
};

}  // namespace fakepop3
