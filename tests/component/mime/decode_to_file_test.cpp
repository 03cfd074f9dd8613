#include "component/mime/decode_to_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "component/mime/mapped_file.h"

namespace component::mime {
namespace {

namespace fs = std::filesystem;

class DecodeToFile : public ::testing::Test {
protected:
    void SetUp() override {
        std::string tmpl = (fs::temp_directory_path() / "mime-XXXXXX").string();
        ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
        dir_ = tmpl;
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string path(const char* name) const { return (dir_ / name).string(); }
    static std::string read(const std::string& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    static void write(const std::string& p, std::string_view s) { std::ofstream(p, std::ios::binary) << s; }
    std::size_t entries() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_), {}));
    }

    fs::path dir_;
};

TEST_F(DecodeToFile, WritesTheDecodedBytes) {
    const struct {
        const char* name;
        AttachmentEncodingsEnum encoding;
        std::string_view in;
        std::string_view out;
    } cases[] = {
        {"base64", encBASE64, "aGVs\r\nbG8=\r\n", "hello"},
        {"quoted-printable", encQUOTEDPRINTABLE, "a=3Db=\r\nc", "a=bc"},
        {"uu", encUUENCODE, "begin 644 x\n#0V%T\nend\n", "Cat"},
        {"copy", enc7BIT, "raw\r\nbytes\xff", "raw\r\nbytes\xff"},
        {"empty range", encBASE64, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string dest = path("out.bin");
        const SaveResult r = decode_to_file(c.in, c.encoding, dest);
        EXPECT_EQ(r.status, SaveStatus::ok);
        EXPECT_EQ(r.decode, DecodeError::none);
        EXPECT_EQ(read(dest), c.out);
        EXPECT_EQ(entries(), 1u);  // no temporary file left behind
    }
}

TEST_F(DecodeToFile, FailuresLeaveTheDestinationAlone) {
    const std::string dest = path("keep.txt");
    write(dest, "precious");
    EXPECT_EQ(decode_to_file("QQ==", encUNKNOWN, dest).status, SaveStatus::unknown_encoding);
    EXPECT_EQ(decode_to_file("QQ==", static_cast<AttachmentEncodingsEnum>(6), dest).status,
              SaveStatus::unknown_encoding);
    EXPECT_EQ(decode_to_file("QQ==", encBASE64, "").status, SaveStatus::no_destination);
    EXPECT_EQ(decode_to_file("QQ==", encBASE64, path("missing/dir.bin")).status, SaveStatus::output_failed);
    EXPECT_EQ(read(dest), "precious");
    EXPECT_EQ(entries(), 1u);
}

TEST_F(DecodeToFile, SavingOntoTheSourceFileKeepsItsContent) {
    const std::string msg = path("message.eml");
    write(msg, "Subject: x\r\n\r\nbody\r\n");
    auto mapped = MappedFile::open(msg);
    ASSERT_TRUE(mapped.has_value());
    EXPECT_EQ(decode_to_file(mapped->bytes(), enc7BIT, msg).status, SaveStatus::ok);
    EXPECT_EQ(read(msg), "Subject: x\r\n\r\nbody\r\n");
    EXPECT_EQ(mapped->bytes(), "Subject: x\r\n\r\nbody\r\n");
}

TEST_F(DecodeToFile, ReportsTheDecodersVerdict) {
    const SaveResult r = decode_to_file("no uu data here\n", encUUENCODE, path("x"));
    EXPECT_EQ(r.status, SaveStatus::ok);
    EXPECT_EQ(r.decode, DecodeError::no_data);
}

TEST_F(DecodeToFile, CreatesFilesWithTheUsualMode) {
    const mode_t old = ::umask(022);
    const std::string dest = path("mode.bin");
    EXPECT_EQ(decode_to_file("QQ==", encBASE64, dest).status, SaveStatus::ok);
    ::umask(old);
    struct stat st {};
    ASSERT_EQ(::stat(dest.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u);
}

// What the destination is stays what it was: a link stays a link (its
// target gets the bytes), a device or FIFO is written into, not replaced.
TEST_F(DecodeToFile, LinksDevicesAndFifosAreWrittenThroughNotReplaced) {
    write(path("target.txt"), "old");
    fs::create_symlink("target.txt", path("link"));
    fs::create_symlink("sub/new.txt", path("dangling"));
    fs::create_directory(path("sub"));
    fs::create_symlink("link", path("chain"));
    ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo(path("deaf").c_str(), 0600), 0);
    fs::create_symlink("/dev/null", path("null-link"));
    // Opens the FIFO for reading before the save writes into it.
    const int reader = ::open(path("fifo").c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);

    const struct {
        const char* dest;
        SaveStatus status;
        const char* readBack;  // where the bytes must be found, or nullptr
        fs::file_type type;    // what the destination must still be
    } rows[] = {
        {"link", SaveStatus::ok, "target.txt", fs::file_type::symlink},
        {"chain", SaveStatus::ok, "target.txt", fs::file_type::symlink},
        {"dangling", SaveStatus::ok, "sub/new.txt", fs::file_type::symlink},
        {"fifo", SaveStatus::ok, nullptr, fs::file_type::fifo},
        {"deaf", SaveStatus::output_failed, nullptr, fs::file_type::fifo},
        {"null-link", SaveStatus::ok, nullptr, fs::file_type::symlink},
        {"sub", SaveStatus::output_failed, nullptr, fs::file_type::directory},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.dest);
        EXPECT_EQ(decode_to_file("aGVsbG8=", encBASE64, path(row.dest)).status, row.status);
        EXPECT_EQ(fs::symlink_status(path(row.dest)).type(), row.type);
        if (row.readBack != nullptr) {
            EXPECT_EQ(read(path(row.readBack)), "hello");
        }
    }
    char got[16] = {};
    EXPECT_EQ(::read(reader, got, sizeof got), 5);
    EXPECT_EQ(std::string(got), "hello");
    ::close(reader);
    EXPECT_EQ(fs::status("/dev/null").type(), fs::file_type::character);
    // No temporary file stays behind anywhere.
    EXPECT_EQ(entries(), 8u);
    EXPECT_EQ(static_cast<std::size_t>(std::distance(fs::directory_iterator(path("sub")), {})), 1u);
}

TEST_F(DecodeToFile, MappedFileOpensRegularFilesOnly) {
    EXPECT_FALSE(MappedFile::open(path("absent")).has_value());
    EXPECT_FALSE(MappedFile::open(dir_.string()).has_value());
    write(path("empty"), "");
    const auto empty = MappedFile::open(path("empty"));
    ASSERT_TRUE(empty.has_value());
    EXPECT_TRUE(empty->bytes().empty());
    write(path("data"), std::string(100000, 'z'));
    auto data = MappedFile::open(path("data"));
    ASSERT_TRUE(data.has_value());
    MappedFile moved = std::move(*data);
    EXPECT_EQ(moved.bytes().size(), 100000u);
    EXPECT_TRUE(data->bytes().empty());
}

}  // namespace
}  // namespace component::mime
