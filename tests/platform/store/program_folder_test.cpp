#include "platform/store/program_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <stdexcept>

#include "platform/store/settings_store.h"

namespace fs = std::filesystem;
using namespace platform::store;

namespace {

AppIdentity Identity(std::string key, std::string dataFolder = "program", std::string title = "Program") {
    return {std::move(key), std::move(dataFolder), std::move(title),
            "Maker Ltd",    "help@maker.example",  "https://maker.example/"};
}

TEST(AppIdentityDeathTest, ReadingItBeforeTheProgramSetItStopsWithAMessage) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(CurrentAppIdentity(), "read before the program set it");
    EXPECT_DEATH(UserDataFolder(), "read before the program set it");
    EXPECT_DEATH(InstallDataFolder(), "read before the program set it");
}

TEST(AppIdentity, AKeyOrFolderThatNamesNoFolderOfItsOwnIsRefused) {
    SetAppIdentity(Identity("Maker\\Program"));
    const AppIdentity refused[] = {
        Identity(""),
        Identity("Maker\\"),
        Identity("\\Program"),
        Identity("Maker\\.."),
        Identity("..\\..\\etc"),
        Identity("Maker/Program"),
        Identity("."),
        Identity("Maker\\\\Program"),
        Identity("Maker\\Program", ""),
        Identity("Maker\\Program", ".."),
        Identity("Maker\\Program", "share/x"),
        Identity("Maker\\Program", "program", ""),
    };
    for (const AppIdentity& id : refused) {
        EXPECT_THROW(SetAppIdentity(id), std::invalid_argument)
            << id.key << " | " << id.dataFolder << " | " << id.title;
    }
    const AppIdentity kept = CurrentAppIdentity();  // a refused identity changes nothing
    EXPECT_EQ(kept.key, "Maker\\Program");
    EXPECT_EQ(kept.title, "Program");
    EXPECT_EQ(kept.makerName, "Maker Ltd");
    EXPECT_EQ(kept.supportAddress, "help@maker.example");
    EXPECT_EQ(kept.webPage, "https://maker.example/");
}

TEST(ProgramFolder, TheUserDataFolderFollowsTheKeyAndIsCreatedPrivate) {
    const fs::path config = std::getenv("XDG_CONFIG_HOME");
    for (const char* key : {"Maker\\Program", "Other Maker\\Other Program\\Sub"}) {
        SetAppIdentity(Identity(key));
        std::error_code ec;
        const fs::path folder = UserDataFolder(ec);
        ASSERT_FALSE(ec) << key;
        EXPECT_EQ(folder / "settings.ini", SettingsFilePath(key)) << "the settings file sits in it";
        EXPECT_EQ(folder.string().rfind(config.string(), 0), 0u) << folder;
        struct stat st {};
        ASSERT_EQ(::stat(folder.c_str(), &st), 0) << key;
        EXPECT_EQ(st.st_mode & 0777, 0700u) << key;
    }
    EXPECT_EQ(UserDataFolder(), config / "Other Maker" / "Other Program" / "Sub");
    // Run from the build tree: the source tree's data folder.
    EXPECT_EQ(InstallDataFolder(), fs::path(std::getenv("VELTRANE_SOURCE_DIR")) / "data");
    EXPECT_TRUE(InstallLibraryFolder().empty()) << "a build tree is no install";
}

}  // namespace
