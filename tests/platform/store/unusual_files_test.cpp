// What sits at a stored file's path is not always a regular file the program
// wrote: a FIFO, a link to a device, a folder, a huge file, a symbolic link
// to the real file, or the temporaries of a writer that was killed. Each
// group runs on the settings store, on the INI API's read-modify-write and on
// its whole-file replacement.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>

#include "platform/store/atomic_file.h"
#include "platform/store/profile.h"
#include "platform/store/settings_store.h"
#include "tests/platform/store/raw_file.h"

namespace fs = std::filesystem;
using namespace platform::store;

namespace {

constexpr std::string_view kApp = "ZKT\\Veltrane";
constexpr const char* kDefault = "default";

fs::path IniPath() { return fs::path(std::getenv("TMPDIR")) / "data" / "frmMain.ini"; }

// One way of keeping a value: where its file lives, how section "S" key "k"
// is read and written, and the mode rule of a replaced file.
struct Place {
    const char* name;
    fs::path (*path)();
    std::string (*read)();
    std::error_code (*write)(std::string_view value);
    bool keepsMode;  // an existing file keeps its mode, rather than becoming 0600
};

void PrintTo(const Place& p, std::ostream* os) { *os << p.name; }

const Place kPlaces[] = {
    {"Settings", [] { return SettingsFilePath(kApp); }, [] { return GetSetting(kApp, "S", "k", kDefault); },
     [](std::string_view v) { return SaveSetting(kApp, "S", "k", v); }, false},
    {"IniKey", IniPath, [] { return GetPrivateProfileString("S", "k", kDefault, IniPath()); },
     [](std::string_view v) { return WritePrivateProfileString("S", "k", v, IniPath()); }, true},
    {"IniWhole", IniPath, [] { return GetPrivateProfileString("S", "k", kDefault, IniPath()); },
     [](std::string_view v) {
         IniDocument doc;
         if (auto ec = doc.Set("S", "k", v)) return ec;
         return WriteProfileFile(IniPath(), doc);
     },
     true},
};

std::vector<std::string> FilesIn(const fs::path& folder) {
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(folder)) out.push_back(e.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
}

unsigned ModeOf(const fs::path& p) {
    struct stat st {};
    return ::stat(p.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

const std::string kStored = "[S]\nk=stored\n";

class OnEachPlace : public testing::TestWithParam<Place> {
protected:
    void SetUp() override {
        path = GetParam().path();
        fs::create_directories(path.parent_path());
    }
    void TearDown() override { SetWriteFaultHook(nullptr); }

    // Nothing at the path is read, the write is refused, and the folder holds
    // nothing new. The settings store tells of the file once, as unreadable
    // and left in place.
    void ExpectNeitherReadNorReplaced() {
        const auto before = FilesIn(path.parent_path());
        EXPECT_EQ(GetParam().read(), kDefault);
        EXPECT_EQ(GetParam().write("new"), FileError::NotARegularFile);
        EXPECT_EQ(GetParam().read(), kDefault);
        EXPECT_EQ(FilesIn(path.parent_path()), before);
        const std::vector<SetAsideFile> listed = TakeSetAsideFiles();
        if (std::string_view(GetParam().name) != "Settings") return;
        ASSERT_EQ(listed.size(), 1u);
        EXPECT_EQ(listed[0].file, path);
        EXPECT_TRUE(listed[0].unreadable);
        EXPECT_TRUE(listed[0].copy.empty());
        EXPECT_EQ(listed[0].error, FileError::NotARegularFile);
    }

    fs::path path;
};

// --- FIFO: opening one to read would wait for a writer for ever ------------

class FifoAtThePath : public OnEachPlace {};

TEST_P(FifoAtThePath, IsNeitherReadNorReplacedAndNothingWaits) {
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    ExpectNeitherReadNorReplaced();
    EXPECT_TRUE(fs::is_fifo(path));
}

INSTANTIATE_TEST_SUITE_P(Places, FifoAtThePath, testing::ValuesIn(kPlaces),
                         [](const auto& info) { return std::string(info.param.name); });

// --- a link to an endless device: reading it would never end ---------------

class DeviceLinkAtThePath : public OnEachPlace {};

TEST_P(DeviceLinkAtThePath, IsNeitherReadNorReplacedAndTheLinkStays) {
    fs::create_symlink("/dev/zero", path);
    ExpectNeitherReadNorReplaced();
    ASSERT_TRUE(fs::is_symlink(path));
    EXPECT_EQ(fs::read_symlink(path), "/dev/zero");
}

INSTANTIATE_TEST_SUITE_P(Places, DeviceLinkAtThePath, testing::ValuesIn(kPlaces),
                         [](const auto& info) { return std::string(info.param.name); });

// --- a folder --------------------------------------------------------------

class FolderAtThePath : public OnEachPlace {};

TEST_P(FolderAtThePath, IsNeitherReadNorReplaced) {
    fs::create_directory(path);
    WriteRaw(path / "inside", kStored);
    ExpectNeitherReadNorReplaced();
    EXPECT_TRUE(fs::is_directory(path));
    EXPECT_EQ(Slurp(path / "inside"), kStored);
}

INSTANTIATE_TEST_SUITE_P(Places, FolderAtThePath, testing::ValuesIn(kPlaces),
                         [](const auto& info) { return std::string(info.param.name); });

// --- a file over the size limit ---------------------------------------------

struct OversizedCase {
    Place place;
    bool keptAside;  // the settings store's rule for a file it cannot use
    std::error_code writeError;
};

void PrintTo(const OversizedCase& c, std::ostream* os) { *os << c.place.name; }

class OversizedFile : public testing::TestWithParam<OversizedCase> {};

TEST_P(OversizedFile, IsNotReadAndNeverLost) {
    const auto& c = GetParam();
    const fs::path path = c.place.path();
    fs::create_directories(path.parent_path());
    // The value, then a comment line of blanks up to the size.
    WriteRaw(path, kStored + "#" + std::string(kMaxFileSize - kStored.size() - 1, ' '));
    EXPECT_EQ(c.place.read(), "stored") << "a file of exactly the limit is read";

    fs::resize_file(path, kMaxFileSize + 1);
    EXPECT_EQ(c.place.read(), kDefault);
    EXPECT_EQ(c.place.write("new"), c.writeError);
    fs::path kept = path;
    if (c.keptAside) {
        const auto files = FilesIn(path.parent_path());
        ASSERT_EQ(files.size(), 2u);
        kept = path.parent_path() / files.at(1);
        EXPECT_TRUE(kept.filename().string().starts_with("settings.ini.damaged-")) << kept;
    }
    EXPECT_EQ(c.place.read(), c.writeError ? kDefault : "new");
    // The big file stays whole: nothing replaces a file that was not read.
    EXPECT_EQ(fs::file_size(kept), static_cast<uintmax_t>(kMaxFileSize + 1));
}

INSTANTIATE_TEST_SUITE_P(Places, OversizedFile,
                         testing::Values(OversizedCase{kPlaces[0], true, {}},
                                         OversizedCase{kPlaces[1], false, FileError::TooLarge},
                                         OversizedCase{kPlaces[2], false, FileError::TooLarge}),
                         [](const auto& info) { return std::string(info.param.place.name); });

// --- a symbolic link to the real file ---------------------------------------

struct LinkCase {
    const char* name;
    bool relative;  // "../elsewhere/real.ini" rather than an absolute path
    bool targetExists;
};

void PrintTo(const LinkCase& c, std::ostream* os) { *os << c.name; }

class SymlinkedFile : public testing::TestWithParam<std::tuple<Place, LinkCase>> {};

TEST_P(SymlinkedFile, IsWrittenThroughToItsTargetAndStaysALink) {
    const auto& [place, c] = GetParam();
    const fs::path path = place.path();
    fs::create_directories(path.parent_path());
    const fs::path elsewhere = path.parent_path().parent_path() / "elsewhere";
    fs::create_directories(elsewhere);
    const fs::path target = elsewhere / "real.ini";
    if (c.targetExists) {
        WriteRaw(target, kStored);
        fs::permissions(target, fs::perms(0640));
    }
    const fs::path linkText = c.relative ? fs::path("..") / "elsewhere" / "real.ini" : target;
    fs::create_symlink(linkText, path);

    EXPECT_EQ(place.read(), c.targetExists ? "stored" : kDefault);
    ASSERT_FALSE(place.write("new"));
    EXPECT_EQ(place.read(), "new");
    ASSERT_TRUE(fs::is_symlink(path));
    EXPECT_EQ(fs::read_symlink(path), linkText);
    EXPECT_NE(Slurp(target).find("k=new"), std::string::npos) << Slurp(target);
    EXPECT_EQ(ModeOf(target), c.targetExists && place.keepsMode ? 0640u : 0600u);
    EXPECT_EQ(FilesIn(elsewhere), std::vector<std::string>{"real.ini"});  // no temporary left
    EXPECT_EQ(FilesIn(path.parent_path()), std::vector<std::string>{path.filename().string()});
}

INSTANTIATE_TEST_SUITE_P(Links, SymlinkedFile,
                         testing::Combine(testing::ValuesIn(kPlaces),
                                          testing::Values(LinkCase{"Absolute", false, true},
                                                          LinkCase{"Relative", true, true},
                                                          LinkCase{"ToAMissingFile", false, false})),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) + "_" +
                                    std::get<1>(info.param).name;
                         });

TEST(SymlinkedFile, ADamagedSettingsTargetIsKeptAsideBesideItAndTheLinkStays) {
    const fs::path path = SettingsFilePath(kApp);
    const fs::path elsewhere = path.parent_path().parent_path() / "elsewhere";
    fs::create_directories(path.parent_path());
    fs::create_directories(elsewhere);
    WriteRaw(elsewhere / "real.ini", "damaged");
    fs::create_symlink(elsewhere / "real.ini", path);
    EXPECT_EQ(GetSetting(kApp, "S", "k", kDefault), kDefault);
    ASSERT_FALSE(SaveSetting(kApp, "S", "k", "new"));
    EXPECT_EQ(GetSetting(kApp, "S", "k", kDefault), "new");
    EXPECT_TRUE(fs::is_symlink(path));
    const auto files = FilesIn(elsewhere);
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0], "real.ini");
    EXPECT_TRUE(files[1].starts_with("real.ini.damaged-")) << files[1];
    EXPECT_EQ(Slurp(elsewhere / files[1]), "damaged");
}

TEST(SymlinkedFile, ALoopIsRefusedAndLeftAsItIs) {
    const fs::path path = IniPath();
    fs::create_directories(path.parent_path());
    fs::create_symlink(path.filename().string() + ".other", path);
    fs::create_symlink(path.filename(), path.string() + ".other");
    EXPECT_EQ(GetPrivateProfileString("S", "k", kDefault, path), kDefault);
    EXPECT_EQ(WritePrivateProfileString("S", "k", "v", path), std::errc::too_many_symbolic_link_levels);
    EXPECT_TRUE(fs::is_symlink(path));
}

// --- temporaries left by a writer killed before its rename ----------------

class LeftoverTemporaries : public OnEachPlace {
protected:
    // A writer process that dies between writing its temporary and the rename.
    void KillAWriterBeforeItsRename() {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            SetWriteFaultHook([](WriteStep step) {
                if (step == WriteStep::Rename) ::_exit(0);
                return std::error_code{};
            });
            (void)GetParam().write("lost");
            ::_exit(1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the writer did not reach its rename";
    }
};

TEST_P(LeftoverTemporaries, OfThisFileAreRemovedByTheNextWriteUnlessAWriterHoldsThem) {
    ASSERT_FALSE(GetParam().write("first"));
    const std::string name = path.filename().string();
    const std::string ours = "." + name + ".tmp-";
    const auto leftovers = [&] {
        std::vector<std::string> found;
        for (const auto& f : FilesIn(path.parent_path()))
            if (f.starts_with(ours)) found.push_back(f);
        return found;
    };
    KillAWriterBeforeItsRename();
    const auto first = leftovers();
    ASSERT_EQ(first.size(), 1u);
    // The next writer removes it, even one that is killed in its turn.
    KillAWriterBeforeItsRename();
    const auto second = leftovers();
    ASSERT_EQ(second.size(), 1u);
    EXPECT_NE(second, first);
    EXPECT_EQ(GetParam().read(), "first");

    // Names that only look like ours, and another file's leftover, are not ours to remove.
    const std::vector<std::string> kept = {ours + "abc",         ours + "abcdefg",
                                           ours + "ab-def",      "." + name + ".bak123",
                                           name + ".tmp-abcdef", ".other.ini.tmp-abcdef"};
    for (const auto& f : kept) WriteRaw(path.parent_path() / f, "x");
    // A live writer's temporary: locked by its writer until the rename.
    const fs::path held = path.parent_path() / (ours + "Held01");
    WriteRaw(held, "x");
    const int fd = ::open(held.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);

    ASSERT_FALSE(GetParam().write("second"));
    EXPECT_EQ(GetParam().read(), "second");
    std::vector<std::string> expected = kept;
    expected.push_back(name);
    expected.push_back(held.filename().string());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(FilesIn(path.parent_path()), expected);

    ::close(fd);  // its writer has gone
    ASSERT_FALSE(GetParam().write("third"));
    EXPECT_FALSE(fs::exists(held));
}

INSTANTIATE_TEST_SUITE_P(Places, LeftoverTemporaries, testing::ValuesIn(kPlaces),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
