// The download spool: the same bytes whether a message stays in memory,
// moves to a file as it grows or is written to one from the start, and a
// memory budget shared by every message held.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

#include "component/protocol/message_spool.h"

using component::protocol::MessageSpool;

namespace {

// A temporary file removed at the end of the test.
struct TempFile {
    std::string path = ::testing::TempDir() + "spool-XXXXXX";
    int fd = mkstemp(path.data());
    ~TempFile() { unlink(path.c_str()); }
    std::string Content() const {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
};

std::string Lines(std::size_t count, std::size_t width) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i)
        text += std::string(width, static_cast<char>('a' + i % 26)) + "\r\n";
    return text;
}

void Feed(MessageSpool& spool, const std::string& text) {
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find("\r\n", at);
        ASSERT_TRUE(spool.AppendLine(std::string_view(text).substr(at, end - at)));
        at = end + 2;
    }
}

TEST(MessageSpool, KeepsTheSameBytesInMemoryInAFileOrMovedBetween) {
    const std::string small = Lines(3, 10);
    const std::string big = Lines(2000, 76);  // past the write block
    {
        MessageSpool spool;
        spool.StartInMemory(small.size());
        Feed(spool, small);
        EXPECT_FALSE(spool.WantsFile());
        EXPECT_EQ(spool.Finish(), static_cast<std::int64_t>(small.size()));
        EXPECT_EQ(spool.Held(), small);
    }
    {
        TempFile file;
        MessageSpool spool;
        spool.StartInFile(file.fd);
        Feed(spool, big);
        EXPECT_EQ(spool.Finish(), static_cast<std::int64_t>(big.size()));
        EXPECT_EQ(file.Content(), big);
    }
    {
        TempFile file;
        MessageSpool spool;
        spool.StartInMemory(0);
        std::size_t at = 0;
        while (!spool.WantsFile()) {
            const std::size_t end = big.find("\r\n", at);
            ASSERT_TRUE(spool.AppendLine(std::string_view(big).substr(at, end - at)));
            at = end + 2;
        }
        EXPECT_GT(at, MessageSpool::kMemoryLimit);
        ASSERT_TRUE(spool.MoveToFile(file.fd));
        EXPECT_TRUE(spool.Held().empty());
        Feed(spool, big.substr(at));
        EXPECT_EQ(spool.Finish(), static_cast<std::int64_t>(big.size()));
        EXPECT_EQ(file.Content(), big);
    }
}

TEST(MessageSpool, AFileThatLosesBytesFailsTheDownload) {
    MessageSpool spool;
    spool.StartInFile(open("/dev/full", O_WRONLY));
    spool.AppendLine("one line");
    EXPECT_EQ(spool.Finish(), -1);
}

TEST(MessageSpool, MessagesHeldTogetherStayWithinTheBudget) {
    const std::string line(1000, 'm');
    MessageSpool first;
    first.StartInMemory(0);
    EXPECT_TRUE(MessageSpool::BudgetAllows(MessageSpool::kMemoryLimit));
    while (MessageSpool::BudgetAllows(line.size() + 2)) first.AppendLine(line);
    first.AppendLine(line);
    // The budget is spent: a new message goes to a file from its first line.
    EXPECT_FALSE(MessageSpool::BudgetAllows(1));
    MessageSpool second;
    second.StartInMemory(0);
    second.AppendLine("x");
    EXPECT_TRUE(second.WantsFile());
    // Released bytes are free again.
    first.Release();
    EXPECT_FALSE(second.WantsFile());
    EXPECT_TRUE(MessageSpool::BudgetAllows(MessageSpool::kMemoryLimit));
}

}  // namespace
