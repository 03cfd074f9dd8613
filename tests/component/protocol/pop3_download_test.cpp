// Downloads, deletion and the end of a session against scripted servers:
// what reaches the message files, which events come in which order, and
// that every interrupted download is reported as a failure.
#include <dirent.h>
#include <gtest/gtest.h>
#include <malloc.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "tests/component/fake_pop3/fake_pop3_server.h"
#include "tests/component/protocol/client_harness.h"

using namespace fakepop3;
using namespace harness;

using namespace component::protocol;

namespace {

const std::string kDotted =
    "Subject: dots\r\n"
    "\r\n"
    ".hidden line\r\n"
    "..two dots\r\n"
    ".\r\n"
    "last\r\n";
const std::string kPlain = "Subject: plain\r\n\r\nbody\r\n";

std::string FileOf(IPop3Msg* message) {
    com::Bstr name;
    message->get_Filename(name.ReleaseAndGetAddressOf());
    std::ifstream in(Narrow(name.View()), std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

Script Mailbox(const std::vector<std::string>& messages) {
    Script s = LoginAndList(messages);
    for (const auto& m : messages) AppendRetr(s, m);
    return s;
}

TEST(Download, GetAllStoresEveryMessageUnstuffedInItsOwnFile) {
    for (bool slow : {false, true}) {
        SCOPED_TRACE(slow ? "one byte at a time" : "whole");
        FakePop3Server server({Mailbox({kDotted, kPlain})}, {.byteByByte = slow});
        Client c;
        c.Settings(server.port(), true);
        ASSERT_EQ(c.pop3->Connect(), com::S_OK);
        c.notify->events.clear();
        ASSERT_EQ(c.Messages()->GetAll(), com::S_OK);
        EXPECT_EQ(c.notify->events, (std::vector<std::string>{"StateChange 4", "Received 0 0", "Received 1 0",
                                                              "StateChange 5", "Done 0  0"}));
        EXPECT_EQ(FileOf(c.Message(0).Get()), kDotted);
        EXPECT_EQ(Body(c.Message(1).Get()), kPlain);
        com::Bstr name;
        c.Message(0)->get_Filename(name.ReleaseAndGetAddressOf());
        EXPECT_NE(Narrow(name.View()).find("/POP3"), std::string::npos);
        EXPECT_EQ(c.pop3->Disconnect(), com::S_OK);
        EXPECT_EQ(server.transcript(0), (std::vector<std::string>{"USER user", "PASS secret", "STAT", "LIST",
                                                                  "UIDL", "RETR 1", "RETR 2", "QUIT"}));
        // Messages stay readable after the session ended.
        EXPECT_EQ(Body(c.Message(0).Get()), kDotted);
    }
}

TEST(Download, ProgressCountsStoredBytesAndEndsAtTheListedSize) {
    // Listed as 100 bytes; 90 arrive once the stuffing dot is removed.
    Script s = {Send("+OK\r\n"),
                Receive(),
                Send("+OK\r\n"),
                Receive(),
                Send("+OK\r\n"),
                Receive(),
                Send("+OK 1 100\r\n"),
                Receive(),
                Send("+OK\r\n1 100\r\n.\r\n"),
                Receive(),
                Send("+OK\r\n1 u\r\n.\r\n"),
                Receive(),
                Send("+OK\r\n" + std::string(40, 'a') + "\r\n." + std::string(44, 'b') + "\r\n.\r\n")};
    FakePop3Server server({s});
    Client c;
    c.Settings(server.port(), true);
    ASSERT_EQ(c.pop3->Connect(), com::S_OK);
    c.notify->events.clear();
    c.notify->recordProgress = true;
    ASSERT_EQ(c.Message(0)->Get(), com::S_OK);
    EXPECT_EQ(c.notify->events, (std::vector<std::string>{
                                    "StateChange 4", "Progress 0 100", "Progress 42 100", "Progress 88 100",
                                    "Progress 100 100", "Received 0 0", "StateChange 5", "Done 0  0"}));
}

TEST(Download, HeadersAndLinesUseTopWithTheCount) {
    const std::string header = "Subject: h\r\nFrom: a@b\r\n";
    Script s = LoginAndList({kPlain, kPlain});
    for (int i = 0; i < 4; ++i) {
        s.push_back(Receive());
        s.push_back(Send("+OK\r\n" + header + "\r\n.\r\n"));
    }
    s.push_back(Receive());
    s.push_back(Send("+OK\r\n" + header + ".\r\n"));
    FakePop3Server server({s});
    Client c;
    c.Settings(server.port(), true);
    ASSERT_EQ(c.pop3->Connect(), com::S_OK);
    ASSERT_EQ(c.Messages()->GetAllHeaders(), com::S_OK);
    EXPECT_EQ(c.notify->Count("Received"), 2);
    EXPECT_EQ(c.notify->events.back(), "Done 0  -1");
    ASSERT_EQ(c.Messages()->GetAllLines(5), com::S_OK);
    // The reply's lines, then one more empty line that closes the block.
    EXPECT_EQ(Body(c.Message(0).Get()), header + "\r\n\r\n");
    ASSERT_EQ(c.Message(0)->GetLines(-1), com::S_OK);
    EXPECT_EQ(Body(c.Message(0).Get()), header + "\r\n");
    EXPECT_EQ(c.pop3->Disconnect(), com::S_OK);
    EXPECT_EQ(server.transcript(0),
              (std::vector<std::string>{"USER user", "PASS secret", "STAT", "LIST", "UIDL", "TOP 1 0",
                                        "TOP 2 0", "TOP 1 5", "TOP 2 5", "TOP 1 4294967295", "QUIT"}));
}

TEST(Download, RefusedRetrEndsTheChainWithDone30006) {
    Script s = LoginAndList({kPlain, kPlain, kPlain});
    AppendRetr(s, kPlain);
    s.push_back(Receive());
    s.push_back(Send("-ERR no such message\r\n"));
    for (bool blocking : {true, false}) {
        FakePop3Server server({s});
        Client c;
        c.Settings(server.port(), true);
        ASSERT_EQ(c.pop3->Connect(), com::S_OK);
        c.pop3->put_Blocking(com::ToVariantBool(blocking));
        const com::HRESULT hr = c.Messages()->GetAll();
        if (blocking) {
            EXPECT_EQ(hr, com::CtlError(30006));
        } else {
            EXPECT_EQ(hr, com::S_OK);
            ASSERT_TRUE(PumpUntil([&] { return c.notify->Count("Done") > 0; }));
        }
        EXPECT_EQ(c.notify->events.back(), "Done 30006 Failed to execute command. 0");
        EXPECT_EQ(c.notify->Count("Received"), 1);
        EXPECT_EQ(c.State(), Connected);
        EXPECT_EQ(c.LastError(), 30006);
        c.pop3->put_Blocking(com::VARIANT_TRUE);
        EXPECT_EQ(c.pop3->Disconnect(), com::S_OK);
        EXPECT_EQ(server.transcript(0).at(6), "RETR 2");
        EXPECT_EQ(server.transcript(0).back(), "QUIT");
    }
}

struct BrokenDownloadCase {
    const char* name;
    Script tail;  // what the server does after the RETR command
    std::int16_t timeout;
    std::int32_t code;
    std::string text;
};
void PrintTo(const BrokenDownloadCase& c, std::ostream* os) { *os << c.name; }

// Temporary message files in TMPDIR.
int TempMessageFiles() {
    const char* dir = std::getenv("TMPDIR");
    DIR* folder = opendir(dir != nullptr && *dir != '\0' ? dir : "/tmp");
    if (folder == nullptr) return -1;
    int n = 0;
    while (const dirent* entry = readdir(folder))
        n += std::string_view(entry->d_name).starts_with("POP3") ? 1 : 0;
    closedir(folder);
    return n;
}

std::string NameOf(IPop3Msg* message) {
    com::Bstr name;
    EXPECT_EQ(message->get_Filename(name.ReleaseAndGetAddressOf()), com::S_OK);
    return Narrow(name.View());
}

std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

bool Exists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0;
}

std::string Scratch(const std::string& name) {
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir != nullptr && *dir != '\0' ? dir : "/tmp") + "/" + name;
}

// Lines of 'x' that add up to about `bytes`.
std::string Lines(std::size_t bytes) {
    std::string text;
    while (text.size() < bytes) text += std::string(78, 'x') + "\r\n";
    return text;
}

class BrokenDownload : public testing::TestWithParam<BrokenDownloadCase> {};

// Whatever the message's size, a cut download leaves a message whose bytes
// are missing: nothing to read or save, and no partial file behind.
TEST_P(BrokenDownload, IsNeverReportedAsSuccess) {
    const auto& p = GetParam();
    Script s = LoginAndList({kPlain, kPlain});
    s.push_back(Receive());
    s.insert(s.end(), p.tail.begin(), p.tail.end());
    enum class Way { GetAll, Get, GetIntoNamedFile, GetHeaders };
    for (const Way way : {Way::GetAll, Way::Get, Way::GetIntoNamedFile, Way::GetHeaders}) {
        SCOPED_TRACE(static_cast<int>(way));
        FakePop3Server server({s, LoginAndList({kPlain})});
        Client c;
        c.Settings(server.port(), true);
        c.pop3->put_Timeout(p.timeout);
        ASSERT_EQ(c.pop3->Connect(), com::S_OK);
        const int before = TempMessageFiles();
        const std::string named = Scratch("named.eml");
        if (way == Way::GetIntoNamedFile) c.Message(0)->put_Filename(Wide(named).Get());
        const com::HRESULT hr = way == Way::GetAll       ? c.Messages()->GetAll()
                                : way == Way::GetHeaders ? c.Message(0)->GetHeaders()
                                                         : c.Message(0)->Get();
        // The session's own error, so a client can tell the user the cause.
        EXPECT_EQ(hr, com::CtlError(static_cast<std::uint16_t>(p.code)));
        EXPECT_EQ(ErrorDescription(), p.text);
        EXPECT_EQ(c.LastError(), p.code);
        EXPECT_EQ(c.LastErrorText(), p.text);
        EXPECT_EQ(c.notify->Count("Received"), 0);
        EXPECT_EQ(c.notify->Count("Done"), 0);
        EXPECT_EQ(c.notify->Count("Disconnected"), 1);
        EXPECT_EQ(c.State(), Disconnected);

        const auto cut = c.Message(0);
        EXPECT_EQ(Body(cut.Get()), "");
        std::int16_t headers = -1;
        com::ComPtr<IPop3Hdrs> list;
        ASSERT_EQ(cut->get_Headers(list.ReleaseAndGetAddressOf()), com::S_OK);
        list->get_Count(&headers);
        EXPECT_EQ(headers, 0);
        const std::string saved = Scratch("saved.eml");
        std::remove(saved.c_str());
        EXPECT_TRUE(com::FAILED(cut->Save(Wide(saved).Get())));
        EXPECT_FALSE(Exists(saved));
        EXPECT_EQ(TempMessageFiles(), before);
        if (way == Way::GetIntoNamedFile) {
            // The client's file is kept, emptied of the partial message.
            EXPECT_EQ(NameOf(cut.Get()), named);
            EXPECT_EQ(ReadWhole(named), "");
            std::remove(named.c_str());
        } else {
            EXPECT_EQ(NameOf(cut.Get()), "");
        }
        // No QUIT was owed to a server that left, and the object goes on.
        ASSERT_EQ(c.pop3->Connect(), com::S_OK);
        EXPECT_EQ(c.Count(), 1);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BrokenDownload,
    testing::Values(
        BrokenDownloadCase{"CloseInTheMiddle",
                           {Send("+OK\r\nSubject: x\r\n\r\nhalf"), Close()},
                           120,
                           10054,
                           "The current socket connection has been reset."},
        // Past what a message may hold in memory: it was going to a file.
        BrokenDownloadCase{"CloseInsideALargeMessage",
                           {Send("+OK\r\nSubject: x\r\n\r\n" + Lines(40 * 1024)), Close()},
                           120,
                           10054,
                           "The current socket connection has been reset."},
        BrokenDownloadCase{
            "CloseBeforeTheReply", {Close()}, 120, 10054, "The current socket connection has been reset."},
        BrokenDownloadCase{"StallInTheMiddle",
                           {Send("+OK\r\nSubject: x\r\n")},
                           1,
                           10060,
                           "The current connection has timeout."},
        BrokenDownloadCase{"LineOfTwentyMegabytes",
                           {Send("+OK\r\n"), Fill(20 * 1024 * 1024)},
                           120,
                           30006,
                           "Failed to execute command."}),
    [](const auto& info) { return info.param.name; });

TEST(Download, EmptyMailboxAndNothingMarked) {
    FakePop3Server server({LoginAndList({}), LoginAndList({kPlain})});
    Client c;
    c.Settings(server.port(), true);
    ASSERT_EQ(c.pop3->Connect(), com::S_OK);
    c.notify->events.clear();
    EXPECT_EQ(c.Messages()->GetAll(), com::S_OK);
    EXPECT_TRUE(c.notify->events.empty());
    EXPECT_EQ(c.pop3->Disconnect(), com::S_OK);

    ASSERT_EQ(c.pop3->Connect(), com::S_OK);
    ASSERT_EQ(c.Message(0)->put_MarkGet(com::VARIANT_FALSE), com::S_OK);
    c.notify->events.clear();
    EXPECT_EQ(c.Messages()->GetAll(), com::S_OK);
    EXPECT_EQ(c.notify->events, (std::vector<std::string>{"Done 0  0"}));
    EXPECT_EQ(c.pop3->Disconnect(), com::S_OK);
    EXPECT_EQ(server.transcript(1),
              (std::vector<std::string>{"USER user", "PASS secret", "STAT", "LIST", "UIDL", "QUIT"}));
}

TEST(Download, AThousandMessages) {
    std::vector<std::string> messages;
    for (int i = 0; i < 1000; ++i)
        messages.push_back("Subject: " + std::to_string(i) + "\r\n\r\n.line " + std::to_string(i) + "\r\n");
    FakePop3Server server({Mailbox(messages)});
    Client c;
    c.Settings(server.port(), true);
    ASSERT_EQ(c.pop3->Connect(), com::S_OK);
    ASSERT_EQ(c.Count(), 1000);
    ASSERT_EQ(c.Messages()->GetAll(), com::S_OK);
    EXPECT_EQ(c.notify->Count("Received"), 1000);
    EXPECT_EQ(Body(c.Message(999).Get()), messages[999]);
    EXPECT_EQ(c.pop3->Disconnect(), com::S_OK);
}

// Count is 16-bit: a larger mailbox shows its first 32 767 messages, each
// reachable by its Item and numbered on the server as listed.
TEST(Download, MailboxPastTheCountCapShowsItsFirst32767Messages) {
    for (const std::size_t size : {40000u, 100000u}) {
        SCOPED_TRACE(size);
        const std::vector<std::string> messages(size, kPlain);
        Script s = LoginAndList(messages);
        s.push_back(Receive());
        s.push_back(Send("+OK deleted\r\n"));
        s.push_back(Receive());
        s.push_back(Send("+OK bye\r\n"));
        FakePop3Server server({s});
        Client c;
        c.Settings(server.port(), true);
        ASSERT_EQ(c.pop3->Connect(), com::S_OK);
        ASSERT_EQ(c.Count(), 32767);
        const auto last = c.Message(32766);
        ASSERT_TRUE(last);
        com::Bstr uid;
        last->get_Uid(uid.ReleaseAndGetAddressOf());
        EXPECT_EQ(Narrow(uid.View()), "uid-32767");
        std::int16_t index = 0;
        last->get_Index(&index);
        EXPECT_EQ(index, 32766);
        ASSERT_EQ(last->put_MarkDelete(com::VARIANT_TRUE), com::S_OK);
        EXPECT_EQ(c.pop3->Disconnect(), com::S_OK);
        EXPECT_EQ(server.transcript(0).end()[-2], "DELE 32767");
    }
}

TEST(Download, UnwritableMessageFileFailsWith30007AndSkipsTheReply) {
    Script s = LoginAndList({kPlain, kPlain});
    AppendRetr(s, kPlain);
    AppendRetr(s, kPlain);
    FakePop3Server server({s});
    Client c;
    c.Settings(server.port(), true);
    ASSERT_EQ(c.pop3->Connect(), com::S_OK);
    c.Message(0)->put_Filename(Wide("/nonexistent-folder/x.eml").Get());
    EXPECT_EQ(c.Message(0)->Get(), com::CtlError(30007));
    EXPECT_EQ(c.notify->events.back(), "Done 30007 Could not create local file. 0");
    // The skipped reply's lines were not taken as the next one.
    EXPECT_EQ(c.Message(1)->Get(), com::S_OK);
    EXPECT_EQ(Body(c.Message(1).Get()), kPlain);
}

// Files may grow to `bytes` while it lives: past that a write fails as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
    void (*oldHandler_)(int) = SIG_DFL;
};

// A message file the client named that cannot hold the message: a device
// or a FIFO is refused when it is opened (at once: a FIFO nobody reads would
// block the open), a regular file on a full disk when a write fails.
TEST(Download, MessageFileThatCannotBeWrittenIsNeverReportedAsReceived) {
    const std::string large = "Subject: large\r\n\r\n" + std::string(300 * 1024, 'x') + "\r\n";
    const std::string fifo = Scratch("nobody-reads.fifo");
    unlink(fifo.c_str());
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    struct Target {
        const char* name;
        std::string file;
        const std::string& message;
        rlim_t sizeLimit;
    };
    for (const Target& t : {Target{"device", "/dev/full", kPlain, RLIM_INFINITY},
                            Target{"device, large", "/dev/full", large, RLIM_INFINITY},
                            Target{"fifo", fifo, kPlain, RLIM_INFINITY},
                            Target{"full disk", Scratch("full.eml"), large, 20000}}) {
        for (const bool blocking : {true, false}) {
            SCOPED_TRACE(std::string(t.name) + (blocking ? " blocking" : " non-blocking"));
            Script s = LoginAndList({t.message, kPlain});
            AppendRetr(s, t.message);
            AppendRetr(s, kPlain);
            FakePop3Server server({s});
            Client c;
            c.Settings(server.port(), blocking);
            ASSERT_EQ(c.pop3->Connect(), com::S_OK);
            ASSERT_TRUE(PumpUntil([&] { return c.State() == Connected; }));
            c.Message(0)->put_Filename(Wide(t.file).Get());
            c.notify->events.clear();
            {
                const FileSizeLimit limit(t.sizeLimit);
                const com::HRESULT hr = c.Message(0)->Get();
                if (blocking) {
                    EXPECT_EQ(hr, com::CtlError(30007));
                } else {
                    EXPECT_EQ(hr, com::S_OK);
                    EXPECT_TRUE(PumpUntil([&] { return c.notify->Count("Done") > 0; }));
                }
            }
            EXPECT_EQ(c.notify->Count("Received"), 0);
            EXPECT_EQ(c.notify->events.back(), "Done 30007 Could not create local file. 0");
            EXPECT_EQ(c.LastError(), 30007);
            // The session goes on.
            c.notify->events.clear();
            EXPECT_EQ(c.Message(1)->Get(), com::S_OK);
            if (!blocking) {
                EXPECT_TRUE(PumpUntil([&] { return c.notify->Count("Received") > 0; }));
            }
            EXPECT_EQ(Body(c.Message(1).Get()), kPlain);
        }
    }
    unlink(fifo.c_str());
}

TEST(Download, FullDiskRemovesThePartialFileAtOnce) {
    // Failing on close (inside the write buffer) and while writing.
    for (const std::size_t size : {std::size_t{60} * 1024, std::size_t{300} * 1024}) {
        SCOPED_TRACE(size);
        const std::string big = "Subject: big\r\n\r\n" + std::string(size, 'x') + "\r\n";
        const std::string small = "Subject: small\r\n\r\n" + std::string(1800, 'y') + "\r\n";
        FakePop3Server server({Mailbox({big, small})});
        Client c;
        c.Settings(server.port(), true);
        ASSERT_EQ(c.pop3->Connect(), com::S_OK);
        const int before = TempMessageFiles();
        {
            const FileSizeLimit full(20000);
            EXPECT_EQ(c.Message(0)->Get(), com::CtlError(30007));
            EXPECT_EQ(TempMessageFiles(), before);
            com::Bstr name;
            c.Message(0)->get_Filename(name.ReleaseAndGetAddressOf());
            EXPECT_EQ(Narrow(name.View()), "");
            EXPECT_EQ(c.Message(1)->Get(), com::S_OK);
        }
        EXPECT_EQ(Body(c.Message(1).Get()), small);
        EXPECT_EQ(Body(c.Message(0).Get()), "");
    }
}

const std::string kTwoParts =
    "Subject: parts\r\n"
    "Content-Type: multipart/mixed; boundary=\"b\"\r\n"
    "\r\n"
    "--b\r\n"
    "Content-Type: text/plain\r\n"
    "\r\n"
    "one\r\n"
    "--b\r\n"
    "Content-Type: text/plain\r\n"
    "\r\n"
    "two\r\n"
    "--b--\r\n";

// A client that asks for the file while the message arrives gets the file
// being written, never an empty name; the message ends up whole in it.
TEST(Download, FilenameAskedDuringTheDownloadNamesTheFileBeingWritten) {
    FakePop3Server server({Mailbox({kDotted, kPlain})});
    Client c;
    c.Settings(server.port(), true);
    ASSERT_EQ(c.pop3->Connect(), com::S_OK);
    std::string during;
    int progress = 0;
    c.notify->onEvent = [&](const std::string& e) {
        if (e.starts_with("Progress") && ++progress == 2) during = NameOf(c.Message(0).Get());
    };
    ASSERT_EQ(c.Message(0)->Get(), com::S_OK);
    ASSERT_NE(during, "");
    EXPECT_EQ(NameOf(c.Message(0).Get()), during);
    EXPECT_EQ(ReadWhole(during), kDotted);
    EXPECT_EQ(Body(c.Message(0).Get()), kDotted);
    EXPECT_EQ(c.pop3->Disconnect(), com::S_OK);
}

TEST(Download, SmallMessageGetsItsFileOnlyWhenTheClientAsksForOne) {
    FakePop3Server server({Mailbox({kDotted, kPlain, kTwoParts})});
    const int before = TempMessageFiles();
    {
        Client c;
        c.Settings(server.port(), true);
        ASSERT_EQ(c.pop3->Connect(), com::S_OK);
        ASSERT_EQ(c.Messages()->GetAll(), com::S_OK);
        EXPECT_EQ(TempMessageFiles(), before);

        // The content and Save need no message file.
        EXPECT_EQ(Body(c.Message(0).Get()), kDotted);
        const std::string saved = ::testing::TempDir() + "saved-held-message.eml";
        EXPECT_EQ(c.Message(1)->Save(Wide(saved).Get()), com::S_OK);
        EXPECT_EQ(ReadWhole(saved), kPlain);
        std::remove(saved.c_str());
        EXPECT_EQ(TempMessageFiles(), before);

        // Reading the name makes the file, once, with the same bytes.
        const std::string name = NameOf(c.Message(0).Get());
        EXPECT_NE(name.find("/POP3"), std::string::npos);
        EXPECT_EQ(ReadWhole(name), kDotted);
        EXPECT_EQ(NameOf(c.Message(0).Get()), name);
        EXPECT_EQ(TempMessageFiles(), before + 1);
        EXPECT_EQ(Body(c.Message(0).Get()), kDotted);

        // A part names its message's file.
        com::ComPtr<IPop3Msgs> parts;
        ASSERT_EQ(c.Message(2)->get_Parts(parts.ReleaseAndGetAddressOf()), com::S_OK);
        com::ComPtr<IPop3Msg> second;
        ASSERT_EQ(parts->get_Item(1, second.ReleaseAndGetAddressOf()), com::S_OK);
        EXPECT_EQ(NameOf(second.Get()), NameOf(c.Message(2).Get()));
        EXPECT_EQ(ReadWhole(NameOf(c.Message(2).Get())), kTwoParts);
        EXPECT_EQ(TempMessageFiles(), before + 2);

        // A name the client gives replaces the held message, as it replaces a temporary file.
        EXPECT_EQ(c.Message(1)->put_Filename(Wide(saved).Get()), com::S_OK);
        EXPECT_EQ(Body(c.Message(1).Get()), "");
        EXPECT_EQ(c.pop3->Disconnect(), com::S_OK);
    }
    // The files made on demand go with their messages.
    EXPECT_EQ(TempMessageFiles(), before);
}

TEST(Download, MessagePastTheMemoryLimitIsWrittenToItsFile) {
    const std::string big = "Subject: big\r\n\r\n" + std::string(200, 'z') + "\r\n.dot\r\n" + [] {
        std::string lines;
        while (lines.size() < 100 * 1024) lines += std::string(76, 'q') + "\r\n";
        return lines;
    }();
    struct Case {
        const char* name;
        std::string listed;  // the message whose size LIST gives
    };
    // Listed at its size, the file is made at once; listed small (a server
    // may err), the message moves from memory to a file as it grows.
    for (const Case& k : {Case{"listed", big}, Case{"listed small", kPlain}}) {
        SCOPED_TRACE(k.name);
        Script s = LoginAndList({k.listed});
        AppendRetr(s, big);
        FakePop3Server server({s}, {.byteByByte = false});
        Client c;
        c.Settings(server.port(), true);
        ASSERT_EQ(c.pop3->Connect(), com::S_OK);
        const int before = TempMessageFiles();
        ASSERT_EQ(c.Message(0)->Get(), com::S_OK);
        EXPECT_EQ(TempMessageFiles(), before + 1);
        EXPECT_EQ(ReadWhole(NameOf(c.Message(0).Get())), big);
        EXPECT_EQ(Body(c.Message(0).Get()), big);
    }
}

// Bytes the heap holds now, mapped blocks included.
std::size_t HeapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

TEST(Download, MemoryStaysFlatInTheMessageSize) {
    const std::size_t size = std::size_t{40} << 20;
    std::string big = "Subject: huge\r\n\r\n";
    while (big.size() < size) big += std::string(998, 'h') + "\r\n";
    Script s = LoginAndList({big});
    AppendRetr(s, big);
    FakePop3Server server({s});
    Client c;
    c.Settings(server.port(), true);
    ASSERT_EQ(c.pop3->Connect(), com::S_OK);
    // Sampled inside every event of the download, after its last line too.
    const std::size_t base = HeapInUse();
    std::size_t peak = base;
    c.notify->onEvent = [&](const std::string&) { peak = std::max(peak, HeapInUse()); };
    ASSERT_EQ(c.Message(0)->Get(), com::S_OK);
    EXPECT_GT(c.notify->events.size(), 0u);
    EXPECT_LT(peak - base, size / 8);
    struct stat info {};
    ASSERT_EQ(stat(NameOf(c.Message(0).Get()).c_str(), &info), 0);
    EXPECT_EQ(static_cast<std::size_t>(info.st_size), big.size());
}

TEST(Session, AnExceptionFromAClientHandlerStaysInTheComponent) {
    FakePop3Server server({Mailbox({kPlain})});
    Client c;
    c.Settings(server.port(), true);
    int thrown = 0;
    c.notify->onEvent = [&](const std::string& e) {
        if (e.starts_with("Connected") || e.starts_with("Received")) {
            ++thrown;
            throw std::runtime_error("client handler failed");
        }
    };
    ASSERT_EQ(c.pop3->Connect(), com::S_OK);
    EXPECT_EQ(c.Message(0)->Get(), com::S_OK);
    EXPECT_EQ(thrown, 2);
    EXPECT_EQ(Body(c.Message(0).Get()), kPlain);
    EXPECT_EQ(c.pop3->Disconnect(), com::S_OK);
}

TEST(Delete, MarkedMessagesAreDeletedOneByOneThenQuit) {
    Script s = LoginAndList({kPlain, kPlain, kPlain});
    for (int i = 0; i < 2; ++i) {
        s.push_back(Receive());
        s.push_back(Send("+OK deleted\r\n"));
    }
    FakePop3Server server({s});
    Client c;
    c.Settings(server.port(), true);
    ASSERT_EQ(c.pop3->Connect(), com::S_OK);
    ASSERT_EQ(c.Message(0)->put_MarkDelete(com::VARIANT_TRUE), com::S_OK);
    ASSERT_EQ(c.Message(2)->put_MarkDelete(com::VARIANT_TRUE), com::S_OK);
    c.notify->events.clear();
    EXPECT_EQ(c.pop3->Disconnect(), com::S_OK);
    EXPECT_EQ(server.transcript(0), (std::vector<std::string>{"USER user", "PASS secret", "STAT", "LIST",
                                                              "UIDL", "DELE 1", "DELE 3", "QUIT"}));
    EXPECT_EQ(c.notify->events,
              (std::vector<std::string>{"StateChange 4", "StateChange 6", "StateChange 4", "StateChange 6",
                                        "StateChange 4", "Disconnected 0 "}));
    com::VARIANT_BOOL mark = com::VARIANT_TRUE;
    c.Message(0)->get_MarkDelete(&mark);
    EXPECT_EQ(mark, com::VARIANT_FALSE);
    EXPECT_EQ(c.Message(0)->put_MarkDelete(com::VARIANT_TRUE), com::CtlError(30019));
}

// A server that does not answer QUIT while deletions wait on it: the wait,
// as long as the Timeout, keeps the loop running (the program's windows and
// timers go on), and nothing counts as deleted.
TEST(Delete, WaitForASilentQuitKeepsTheLoopRunning) {
    for (const bool blocking : {true, false}) {
        SCOPED_TRACE(blocking ? "blocking" : "non-blocking");
        Script s = LoginAndList({kPlain});
        s.push_back(Receive());
        s.push_back(Send("+OK deleted\r\n"));
        s.push_back(Receive());  // QUIT, not answered while the client waits
        s.push_back(Pause(6000));
        FakePop3Server server({s});
        Client c;
        c.Settings(server.port(), blocking);
        ASSERT_EQ(c.pop3->Connect(), com::S_OK);
        ASSERT_TRUE(PumpUntil([&] { return c.State() == Connected; }));
        c.pop3->put_Timeout(2);
        ASSERT_EQ(c.Message(0)->put_MarkDelete(com::VARIANT_TRUE), com::S_OK);
        int ticks = 0;
        const auto timer = platform::loop::StartTimer(std::chrono::milliseconds(20), [&ticks] { ++ticks; });
        const auto start = std::chrono::steady_clock::now();
        ASSERT_EQ(c.pop3->Disconnect(), com::S_OK);
        EXPECT_TRUE(PumpUntil([&] { return c.State() == Disconnected; }));
        const auto took = std::chrono::steady_clock::now() - start;
        EXPECT_GE(took, std::chrono::milliseconds(1900));
        EXPECT_LT(took, std::chrono::milliseconds(5500));
        // Ticks of a 20 ms timer came all along the wait, not in one burst after it.
        EXPECT_GT(ticks, 20);
        EXPECT_EQ(c.notify->Count("Disconnected"), 1);
        EXPECT_EQ(c.notify->events.back(), "Disconnected 30011 Failed: the server did not answer QUIT.");
        EXPECT_EQ(c.Marks(), "+");
        EXPECT_EQ(server.transcript(0).back(), "QUIT");
        EXPECT_EQ(server.transcript(0).end()[-2], "DELE 1");
    }
}

// The server removes what it accepted only when it answers QUIT with +OK.
// Any other end leaves every marked message marked and reports 30011 with
// what became of QUIT; Disconnect itself succeeds, QUIT having gone out.
TEST(Delete, OnlyAPositiveAnswerToQuitCommits) {
    struct Case {
        const char* name;
        bool blocking;
        Script quitReply;
        std::string marks;
        std::string disconnected;  // the event's code and text
    };
    const std::string closed = "30011 Failed: the connection closed before the server answered QUIT.";
    for (const Case& k : {
             Case{"committed", true, {Send("+OK bye\r\n")}, "---", "0 "},
             Case{"committed, non-blocking", false, {Send("+OK bye\r\n")}, "---", "0 "},
             Case{"refused", true, {Send("-ERR mailbox locked\r\n")}, "+-+", "30011 Failed: mailbox locked"},
             Case{"refused, non-blocking",
                  false,
                  {Send("-ERR mailbox locked\r\n")},
                  "+-+",
                  "30011 Failed: mailbox locked"},
             Case{"garbled", true, {Send("* bye\r\n")}, "+-+", "30011 Invalid reply: * bye"},
             Case{"cut off", true, {Send("+OK by"), Close()}, "+-+", closed},
             Case{"dropped", true, {Close()}, "+-+", closed},
         }) {
        SCOPED_TRACE(k.name);
        Script s = LoginAndList({kPlain, kPlain, kPlain});
        s.insert(s.end(),
                 {Receive(), Send("+OK deleted\r\n"), Receive(), Send("+OK deleted\r\n"), Receive()});
        s.insert(s.end(), k.quitReply.begin(), k.quitReply.end());
        FakePop3Server server({s});
        Client c;
        c.Settings(server.port(), k.blocking);
        ASSERT_EQ(c.pop3->Connect(), com::S_OK);
        ASSERT_TRUE(PumpUntil([&] { return c.State() == Connected; }));
        c.Message(0)->put_MarkDelete(com::VARIANT_TRUE);
        c.Message(2)->put_MarkDelete(com::VARIANT_TRUE);
        EXPECT_EQ(c.pop3->Disconnect(), com::S_OK);
        ASSERT_TRUE(PumpUntil([&] { return c.State() == Disconnected; }));
        EXPECT_EQ(server.transcript(0).back(), "QUIT");
        EXPECT_EQ(c.Marks(), k.marks);
        EXPECT_EQ(c.notify->Count("Disconnected"), 1);
        EXPECT_EQ(c.notify->events.back(), "Disconnected " + k.disconnected);
        EXPECT_EQ(std::to_string(c.LastError()) + " " + c.LastErrorText(), k.disconnected);
    }
}

// A refused DELE still ends with QUIT, which commits the deletions the
// server accepted: Disconnect succeeds, the event tells the refusal, and the
// refused message and the marked one after it (never sent) keep their marks.
// A connection dropped before QUIT committed nothing: Disconnect fails with
// it, and every message stays marked.
TEST(Delete, EndOfTheChainOnARefusalOrADrop) {
    struct Case {
        const char* name;
        Step secondReply;
        com::HRESULT result;
        std::int32_t code;
        std::string text;
        bool quit;
        std::string marksAfter;  // per message, + marked
    };
    for (const Case& k :
         {Case{"refused", Send("-ERR locked\r\n"), com::S_OK, 30011, "Failed: locked", true, "-++"},
          Case{"dropped", Close(), com::CtlError(10054), 10054,
               "The current socket connection has been reset.", false, "+++"}}) {
        SCOPED_TRACE(k.name);
        Script s = LoginAndList({kPlain, kPlain, kPlain});
        s.insert(s.end(), {Receive(), Send("+OK deleted\r\n"), Receive(), k.secondReply});
        FakePop3Server server({s});
        Client c;
        c.Settings(server.port(), true);
        ASSERT_EQ(c.pop3->Connect(), com::S_OK);
        for (std::int16_t i = 0; i < 3; ++i) c.Message(i)->put_MarkDelete(com::VARIANT_TRUE);
        EXPECT_EQ(c.pop3->Disconnect(), k.result);
        EXPECT_EQ(c.Marks(), k.marksAfter);
        EXPECT_EQ(c.LastError(), k.code);
        EXPECT_EQ(c.LastErrorText(), k.text);
        EXPECT_EQ(c.notify->events.back(), "Disconnected " + std::to_string(k.code) + " " + k.text);
        EXPECT_EQ(c.notify->Count("Disconnected"), 1);
        EXPECT_EQ(server.transcript(0).back() == "QUIT", k.quit);
    }
}

TEST(Session, ResetClearsMarksAndSendCommandWorksOnlyWhenIdle) {
    Script s = LoginAndList({kPlain});
    s.push_back(Receive());
    s.push_back(Send("+OK\r\n"));
    s.push_back(Receive());
    FakePop3Server server({s});
    Client c;
    c.Settings(server.port(), false);
    ASSERT_EQ(c.pop3->Connect(), com::S_OK);
    ASSERT_TRUE(PumpUntil([&] { return c.State() == Connected; }));
    c.Message(0)->put_MarkDelete(com::VARIANT_TRUE);
    EXPECT_EQ(c.pop3->Reset(), com::S_OK);
    com::VARIANT_BOOL mark = com::VARIANT_TRUE;
    c.Message(0)->get_MarkDelete(&mark);
    EXPECT_EQ(mark, com::VARIANT_FALSE);
    EXPECT_EQ(c.pop3->SendCommand(Wide("NOOP").Get()), com::S_OK);
    EXPECT_EQ(c.Messages()->GetAll(), com::S_OK);
    EXPECT_EQ(c.State(), ReceivingMessage);
    EXPECT_EQ(c.pop3->SendCommand(Wide("NOOP").Get()), com::CtlError(30009));
    // Refused while a download runs, and the download is left alone.
    EXPECT_EQ(c.Messages()->GetAllHeaders(), com::CtlError(30009));
    // Disconnect in the middle of a download closes without QUIT.
    EXPECT_EQ(c.pop3->Disconnect(), com::S_OK);
    EXPECT_EQ(server.transcript(0), (std::vector<std::string>{"USER user", "PASS secret", "STAT", "LIST",
                                                              "UIDL", "NOOP", "RETR 1"}));
    EXPECT_EQ(c.notify->Count("Disconnected"), 1);
}

TEST(Session, IdleSessionIsClosedAfterTheTimeout) {
    FakePop3Server server({LoginAndList({kPlain})});
    Client c;
    c.Settings(server.port(), false);
    c.pop3->put_Timeout(1);
    ASSERT_EQ(c.pop3->Connect(), com::S_OK);
    ASSERT_TRUE(PumpUntil([&] { return c.notify->Count("Disconnected") > 0; }));
    EXPECT_EQ(c.notify->events.back(), "Disconnected 10060 The current connection has timeout.");
    EXPECT_EQ(c.notify->Count("Connected"), 1);
}

TEST(Session, AnOldCollectionCannotDownloadIntoTheNewOne) {
    FakePop3Server server({LoginAndList({kPlain}), LoginAndList({kPlain})});
    Client c;
    c.Settings(server.port(), true);
    ASSERT_EQ(c.pop3->Connect(), com::S_OK);
    auto old = c.Messages();
    auto oldMessage = c.Message(0);
    EXPECT_EQ(c.pop3->Disconnect(), com::S_OK);
    ASSERT_EQ(c.pop3->Connect(), com::S_OK);
    EXPECT_EQ(old->GetAll(), com::E_FAIL);
    EXPECT_EQ(oldMessage->Get(), com::E_FAIL);
}

TEST(Reentrancy, UserStopInsideProgressOfABlockingGetAll) {
    const std::string big =
        "Subject: big\r\n\r\n" + std::string(2000, 'x') + "\r\n" + std::string(2000, 'y') + "\r\n";
    FakePop3Server server({Mailbox({big, big})});
    Client c;
    c.Settings(server.port(), true);
    ASSERT_EQ(c.pop3->Connect(), com::S_OK);
    auto messages = c.Messages();
    RecordingNotify* notify = c.notify.Get();
    bool stopped = false;
    notify->onEvent = [&](const std::string& e) {
        if (stopped || !e.starts_with("Progress")) return;
        stopped = true;
        c.pop3->Disconnect();
        c.pop3 = nullptr;  // the last reference goes inside the event
    };
    notify->events.clear();
    EXPECT_EQ(messages->GetAll(), com::E_FAIL);
    EXPECT_TRUE(stopped);
    EXPECT_EQ(notify->events,
              (std::vector<std::string>{"StateChange 4", "StateChange 5", "Disconnected 0 "}));
    // The collection outlives the component and refuses to download.
    EXPECT_EQ(messages->GetAll(), com::E_FAIL);
    EXPECT_EQ(server.transcript(0).back(), "RETR 1");
}

TEST(Reentrancy, ReleaseInsideEachEventOfANonBlockingSession) {
    for (const char* when : {"StateChange 2", "Connected", "Received 0 0", "Done 0  0"}) {
        SCOPED_TRACE(when);
        FakePop3Server server({Mailbox({kPlain})});
        Client c;
        c.Settings(server.port(), false);
        bool released = false;
        std::size_t eventsAtRelease = 0;
        c.notify->onEvent = [&](const std::string& e) {
            if (e == "Connected" && c.pop3) c.Messages()->GetAll();
            if (e != when || released) return;
            released = true;
            eventsAtRelease = c.notify->events.size();
            c.pop3 = nullptr;
        };
        ASSERT_EQ(c.pop3->Connect(), com::S_OK);
        ASSERT_TRUE(PumpUntil([&] { return released; }));
        for (int i = 0; i < 20; ++i) platform::loop::PumpPending();
        EXPECT_EQ(c.notify->events.size(), eventsAtRelease);
    }
}

}  // namespace

namespace {

TEST(Reentrancy, DisconnectInsideEachEventEndsTheSessionOnceAndTheObjectGoesOn) {
    for (const char* when : {"StateChange 2", "Connected", "Received 0 0", "StateChange 4"}) {
        SCOPED_TRACE(when);
        FakePop3Server server({Mailbox({kPlain, kPlain}), LoginAndList({kPlain})});
        Client c;
        c.Settings(server.port(), false);
        bool done = false;
        c.notify->onEvent = [&](const std::string& e) {
            if (e == "Connected" && std::string(when) != "Connected") c.Messages()->GetAll();
            if (e != when || done) return;
            done = true;
            c.pop3->Disconnect();
        };
        ASSERT_EQ(c.pop3->Connect(), com::S_OK);
        ASSERT_TRUE(PumpUntil([&] { return done && c.State() == Disconnected; }));
        for (int i = 0; i < 20; ++i) platform::loop::PumpPending();
        EXPECT_EQ(c.notify->Count("Disconnected"), 1);
        EXPECT_LE(c.notify->Count("Received"), 1);
        EXPECT_EQ(c.notify->events.back().rfind("Disconnected", 0), 0u);
        c.notify->onEvent = [](const std::string&) {};
        c.pop3->put_Blocking(com::VARIANT_TRUE);
        ASSERT_EQ(c.pop3->Connect(), com::S_OK);
        EXPECT_EQ(c.Count(), 1);
    }
}

}  // namespace

namespace {

TEST(Session, TimeoutZeroOrBelowNeverClosesTheSession) {
    for (std::int16_t timeout : {std::int16_t{0}, std::int16_t{-1}}) {
        SCOPED_TRACE(timeout);
        FakePop3Server server(std::vector<Script>{Script{}});  // accepts and never greets
        Client c;
        c.Settings(server.port(), false);
        c.pop3->put_Timeout(timeout);
        ASSERT_EQ(c.pop3->Connect(), com::S_OK);
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(2500);
        PumpUntil([&] { return std::chrono::steady_clock::now() >= until; });
        EXPECT_EQ(c.notify->Count("Disconnected"), 0);
        EXPECT_EQ(c.State(), LogonInProgress);
        EXPECT_EQ(c.pop3->Disconnect(), com::S_OK);
        EXPECT_EQ(c.notify->events.back(), "Disconnected 0 ");
    }
}

}  // namespace
