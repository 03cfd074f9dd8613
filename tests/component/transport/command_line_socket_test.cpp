// The line socket against a scripted server: lines split anywhere, the
// owner's stop, deletion inside a handler, the line cap and the trace.
#include "component/transport/command_line_socket.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>

#include "platform/loop/message_loop.h"
#include "tests/component/fake_pop3/fake_pop3_server.h"

using namespace fakepop3;

using namespace component::transport;

namespace {

class RecordingOwner : public CommandLineSocketOwner {
public:
    std::unique_ptr<CCommandLineSocket> socket;
    std::vector<std::string> lines;
    std::vector<std::string> calls;
    std::string trace;
    std::function<bool(const std::string&)> onLine = [](const std::string&) { return true; };

    void OnConnected(std::int32_t error) override { calls.push_back("connected " + std::to_string(error)); }
    bool OnReplyLine(std::string_view line) override {
        lines.emplace_back(line);
        return onLine(lines.back());
    }
    void OnClosed(std::int32_t error) override {
        calls.push_back("closed " + std::to_string(error));
        socket.reset();
    }
    void OnTimerTick(int id) override { calls.push_back("tick " + std::to_string(id)); }
    void OnSendReady() override {}
    bool OnHostCertificate(const std::vector<unsigned char>&, std::int32_t code) override {
        calls.push_back("certificate " + std::to_string(code));
        return true;
    }
    void OnLineTooLong() override {
        calls.push_back("too long");
        socket.reset();
    }
    const std::string& TraceFile() const override { return trace; }

    void Connect(std::uint16_t port) {
        socket = std::make_unique<CCommandLineSocket>(*this);
        ASSERT_TRUE(socket->Create());
        socket->AsyncSelect(platform::net::FD_READ | platform::net::FD_WRITE | platform::net::FD_CONNECT |
                            platform::net::FD_CLOSE);
        socket->Connect("127.0.0.1", port);
    }
    // Pumps until `done` holds or the time is up.
    bool PumpUntil(const std::function<bool()>& done, std::chrono::seconds limit = std::chrono::seconds(20)) {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (!done()) {
            if (std::chrono::steady_clock::now() > end) return false;
            platform::loop::Pump();
        }
        return true;
    }
};

TEST(CommandLineSocket, LinesArriveWholeWhateverTheReadsCutThem) {
    const std::string data = "+OK hello\r\nline two\r\n\r\nab\r\r\n.\r\n";
    for (bool slow : {false, true}) {
        FakePop3Server server({{Send(data), Close()}}, {.byteByByte = slow});
        RecordingOwner owner;
        owner.Connect(server.port());
        ASSERT_TRUE(owner.PumpUntil([&] { return !owner.socket; }));
        EXPECT_EQ(owner.lines, (std::vector<std::string>{"+OK hello", "line two", "", "ab\r", "."})) << slow;
        EXPECT_EQ(owner.calls, (std::vector<std::string>{"connected 0", "closed 0"}));
    }
}

TEST(CommandLineSocket, StopAfterTheFirstLineKeepsTheRestForLater) {
    FakePop3Server server({{Send("one\r\ntwo\r\n")}});
    RecordingOwner owner;
    int calls = 0;
    owner.onLine = [&](const std::string&) { return ++calls > 1; };
    owner.Connect(server.port());
    ASSERT_TRUE(owner.PumpUntil([&] { return owner.lines.size() == 1; }));
    // The second line waits in the buffer until more data comes.
    for (int i = 0; i < 20; ++i) platform::loop::PumpPending();
    EXPECT_EQ(owner.lines.size(), 1u);
}

TEST(CommandLineSocket, OwnerMayDeleteTheSocketInsideALineHandler) {
    FakePop3Server server({{Send("one\r\ntwo\r\nthree\r\n")}});
    RecordingOwner owner;
    owner.onLine = [&](const std::string&) {
        owner.socket.reset();
        return true;  // the socket must notice that it is gone anyway
    };
    owner.Connect(server.port());
    ASSERT_TRUE(owner.PumpUntil([&] { return !owner.lines.empty(); }));
    EXPECT_EQ(owner.lines, (std::vector<std::string>{"one"}));
}

TEST(CommandLineSocket, ALineOverTheCapFailsInsteadOfBeingSpliced) {
    FakePop3Server server({{Send("+OK\r\n"), Fill(20 * 1024 * 1024), Send("\r\n")}});
    RecordingOwner owner;
    owner.Connect(server.port());
    ASSERT_TRUE(owner.PumpUntil([&] { return !owner.socket; }, std::chrono::seconds(60)));
    EXPECT_EQ(owner.lines, (std::vector<std::string>{"+OK"}));
    EXPECT_EQ(owner.calls, (std::vector<std::string>{"connected 0", "too long"}));
}

TEST(CommandLineSocket, TraceHoldsWhatWasSentAndReceivedAndIsPrivate) {
    FakePop3Server server({{Send("+OK hi\r\n"), Receive(), Send("+OK bye\r\n"), Close()}});
    RecordingOwner owner;
    owner.trace = std::string(getenv("TMPDIR") ? getenv("TMPDIR") : "/tmp") + "/trace.txt";
    std::remove(owner.trace.c_str());
    owner.onLine = [&](const std::string& line) {
        if (line == "+OK hi") owner.socket->SendString("QUIT\r\n");
        return true;
    };
    owner.Connect(server.port());
    ASSERT_TRUE(owner.PumpUntil([&] { return !owner.socket; }));
    std::ifstream in(owner.trace, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    EXPECT_EQ(content.str(), "+OK hi\r\nQUIT\r\n+OK bye\r\n");
    struct stat st {};
    ASSERT_EQ(stat(owner.trace.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(server.transcript(0), (std::vector<std::string>{"QUIT"}));
}

TEST(CommandLineSocket, TimerTicksReachTheOwner) {
    FakePop3Server server(std::vector<Script>{Script{}});
    RecordingOwner owner;
    owner.Connect(server.port());
    owner.socket->SetTimer(std::chrono::milliseconds(10), 1);
    ASSERT_TRUE(owner.PumpUntil([&] { return owner.calls.size() >= 3; }));
    EXPECT_EQ(owner.calls[0], "connected 0");
    EXPECT_EQ(owner.calls[1], "tick 1");
}

TEST(CommandLineSocket, RefusedPortIsReportedThroughTheConnectNotification) {
    std::uint16_t port;
    {
        FakePop3Server closed(std::vector<Script>{});
        port = closed.port();
    }
    RecordingOwner owner;
    owner.Connect(port);
    ASSERT_TRUE(owner.PumpUntil([&] { return !owner.calls.empty(); }));
    EXPECT_EQ(owner.calls[0], "connected 10061");
}

}  // namespace
