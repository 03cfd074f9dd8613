#include "platform/desktop/autostart_entry.h"

#include "tests/platform/desktop/desktop_fixture.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

namespace platform::desktop {
namespace {

QString ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

TEST(AutostartEntry, ExecValueQuotesAndEscapesThePath) {
    struct Case {
        const char* path;
        const char* exec;
    };
    const Case cases[] = {
        {"/usr/bin/veltrane", R"("/usr/bin/veltrane")"},
        {"/opt/My Apps/Veltrane", R"("/opt/My Apps/Veltrane")"},
        {R"(/a"b/c)", R"("/a\\"b/c")"},
        {"/a$b/`c`", R"("/a\\$b/\\`c\\`")"},
        {R"(/a\b)", R"("/a\\\\b")"},
        {"/100%/v", R"("/100%%/v")"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AutostartEntry::ExecValue(c.path).toStdString(), c.exec) << c.path;
        EXPECT_EQ(AutostartEntry::ProgramOfExec(c.exec), QString(c.path)) << c.exec;
    }
}

TEST(AutostartEntry, ProgramOfExecReadsEntriesWrittenByHand) {
    EXPECT_EQ(AutostartEntry::ProgramOfExec("/usr/bin/veltrane --hidden %U"), QString("/usr/bin/veltrane"));
    EXPECT_EQ(AutostartEntry::ProgramOfExec(R"(/opt/My\sApps/v)"), QString("/opt/My"));
    EXPECT_EQ(AutostartEntry::ProgramOfExec(R"("/opt/My\sApps/v" -x)"), QString("/opt/My Apps/v"));
    EXPECT_EQ(AutostartEntry::ProgramOfExec(R"("/unterminated)"), std::nullopt);
    EXPECT_EQ(AutostartEntry::ProgramOfExec("   "), std::nullopt);
}

TEST(AutostartEntry, WriteReadReplaceAndRemove) {
    const AutostartEntry entry("Veltrane");
    EXPECT_EQ(entry.program(), std::nullopt);
    EXPECT_TRUE(entry.remove()) << "nothing to remove is no failure";

    ASSERT_TRUE(entry.write("/opt/Velt rane/Veltrane"));
    EXPECT_EQ(entry.program(), QString("/opt/Velt rane/Veltrane"));
    const QString text = ReadAll(entry.path());
    EXPECT_TRUE(text.startsWith("[Desktop Entry]\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("\nType=Application\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("\nName=Veltrane\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("\nExec=\"/opt/Velt rane/Veltrane\"\n")) << text.toStdString();

    ASSERT_TRUE(entry.write("/usr/bin/veltrane"));
    EXPECT_EQ(entry.program(), QString("/usr/bin/veltrane"));

    EXPECT_TRUE(entry.remove());
    EXPECT_FALSE(QFile::exists(entry.path()));
    EXPECT_EQ(entry.program(), std::nullopt);
}

// The entry names a command the session runs: whatever the umask, neither
// the folders made for it nor the entry can be changed by another user, and
// an entry left writable by others is put right when it is written.
TEST(AutostartEntry, NoOtherUserCanChangeTheEntryWhateverTheUmask) {
    const AutostartEntry entry("Veltrane");
    const std::filesystem::path file = entry.path().toStdString();
    const std::filesystem::path config = file.parent_path().parent_path();
    const auto mode = [](const std::filesystem::path& p) {
        struct stat st {};
        return ::stat(p.c_str(), &st) == 0 ? st.st_mode & 07777 : 0u;
    };
    for (const mode_t umask : {0000, 0002, 0022, 0077}) {
        SCOPED_TRACE(umask);
        std::filesystem::remove_all(config);
        const mode_t before = ::umask(umask);
        ASSERT_TRUE(entry.write("/usr/bin/veltrane"));
        ::chmod(file.c_str(), 0666);
        const bool rewritten = entry.write("/usr/bin/veltrane");
        ::umask(before);
        ASSERT_TRUE(rewritten);
        EXPECT_EQ(mode(config), 0700u);
        EXPECT_EQ(mode(file.parent_path()), 0700u);
        EXPECT_EQ(mode(file), 0644u);
        EXPECT_EQ(entry.program(), QString("/usr/bin/veltrane"));
    }
}

TEST(AutostartEntry, RelativeProgramIsRefusedAndTheOldEntryKept) {
    const AutostartEntry entry("Veltrane");
    ASSERT_TRUE(entry.write("/usr/bin/veltrane"));
    EXPECT_FALSE(entry.write("veltrane"));
    EXPECT_FALSE(entry.write(""));
    EXPECT_EQ(entry.program(), QString("/usr/bin/veltrane"));
    entry.remove();
}

TEST(AutostartEntry, OnlyTheExecOfTheDesktopEntryGroupCounts) {
    const AutostartEntry entry("Veltrane");
    QDir().mkpath(QFileInfo(entry.path()).path());
    QFile file(entry.path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        "# comment\n[Desktop Action x]\nExec=/wrong\n[Desktop Entry]\nExec[de]=/localized\n"
        "Exec = /usr/bin/veltrane\n");
    file.close();
    EXPECT_EQ(entry.program(), QString("/usr/bin/veltrane"));
    entry.remove();
}

}  // namespace
}  // namespace platform::desktop
