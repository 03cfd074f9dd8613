// Showing, checking, saving and applying the options through a fake window.
#include "app/options/options_edit.h"

#include <QDir>
#include <QFile>

#include "app/accounts/account_table.h"
#include "app/options/menu_theme.h"
#include "app/options/run_at_startup.h"
#include "tests/app/options/fake_options_view.h"
#include "tests/app/options/options_fixture.h"

using namespace modOptions;

namespace {

class FakeStartupEntry : public StartupEntry {
public:
    int writes = 0, removes = 0;
    bool works = true;
    FakeStartupEntry() : registration_(gStartupEntry.Register(*this)) {}
    bool Write() override { return ++writes, works; }
    bool Remove() override { return ++removes, works; }
    [[nodiscard]] bool Exists() const override { return writes > removes; }

private:
    ViewSlot<StartupEntry>::Registration registration_;
};

class OptionsEditTest : public OptionsTest {
protected:
    void SetUp() override {
        OptionsTest::SetUp();
        view.boxes = LiveMenuColours();
        view.calls.clear();
        modAccounts::gCurrentAccount = 0;
        modAccounts::ResizeAccountArrays(0);
    }
    FakeOptionsView view;
    FakeStartupEntry entry;
};

QString MakeFile(const QString& name) {
    const QString path = QDir::temp().filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    return path;
}

}  // namespace

TEST_F(OptionsEditTest, DisplayShowsLiveValuesAndCancelDropsEdits) {
    gEditOpt.Minutes = 45;
    gEditOpt.DefaultSound = "x.wav";
    CheckOptionsChanged();
    EXPECT_TRUE(gOptionsChanged);
    EXPECT_EQ(view.calls.last(), "EnableOptionsSave 1");

    view.calls.clear();
    DisplayOptions();  // the page's Cancel
    EXPECT_EQ(gEditOpt.Minutes, 30);
    EXPECT_EQ(gEditOpt.DefaultSound, "");
    EXPECT_FALSE(gOptionsChanged);
    EXPECT_EQ(view.calls, QStringList({"ShowOptionValues", "TraySounds Soun&ds - On|#SoundOn",
                                       "ShowOptionDescriptions", "EnableOptionsSave 0"}));
}

TEST_F(OptionsEditTest, ChangeCheckWaitsWhileLoadingAndThenDerivesTheSwitches) {
    const QString client = "/opt/mailer", sound = MakeFile("Ding.WAV");
    view.usablePrograms = {client};
    gOpt.DefaultClient = client;
    gOpt.DefaultSound = sound;
    gOpt.PlaySound = 0;
    modGeneral::gSoundsOn = true;
    modGeneral::gLoading = true;
    DisplayOptions();
    EXPECT_EQ(view.calls, QStringList({"ShowOptionValues"})) << "no change check while loading";
    EXPECT_TRUE(modGeneral::gSoundsOn);

    modGeneral::gLoading = false;
    DisplayOptions();
    EXPECT_FALSE(modGeneral::gSoundsOn);
    EXPECT_TRUE(view.calls.contains("TraySounds Soun&ds - Off|#SoundOff"));

    // The program's switches follow the saved paths, the page's the pending
    // ones, whether sound is on or off.
    struct Case {
        const char* what;
        QString pendingClient, pendingSound;
        int16_t playSound;
        bool editClient, editSound;
    };
    const Case cases[] = {
        {"as saved, sound off", client, sound, 0, true, true},
        {"unusable pending paths", "/opt/other", sound + ".txt", 0, false, false},
        {"unusable pending paths, sound on", "/opt/other", sound + ".txt", 1, false, false},
        {"as saved, sound on", client, sound, 1, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        gEditOpt.DefaultClient = c.pendingClient;
        gEditOpt.DefaultSound = c.pendingSound;
        gEditOpt.PlaySound = c.playSound;
        CheckOptionsChanged();
        EXPECT_TRUE(gDefaultClientValid);
        EXPECT_TRUE(gDefaultSoundValid);
        EXPECT_EQ(gEditDefaultClientValid, c.editClient);
        EXPECT_EQ(gEditDefaultSoundValid, c.editSound);
    }

    // A default sound that goes away while sound is off is not kept as usable.
    gEditOpt.PlaySound = 0;
    ASSERT_TRUE(QFile::remove(sound));
    CheckOptionsChanged();
    EXPECT_FALSE(gDefaultSoundValid);
    EXPECT_FALSE(gEditDefaultSoundValid);

    // Saving a pending client the program cannot start: the button shows no
    // client at once, without waiting for the next change check.
    gEditOpt.DefaultClient = "/opt/other";
    view.calls.clear();
    SaveOptions();
    EXPECT_FALSE(gDefaultClientValid);
    EXPECT_TRUE(view.calls.contains("SetMailClientButton -1"));
    EXPECT_TRUE(view.Calls("LoadMailClientIcon").isEmpty());
}

TEST_F(OptionsEditTest, SaveWritesEveryKeyAndComesBackClean) {
    gEditOpt.Hours = 1;
    gEditOpt.Minutes = 15;
    gEditOpt.SuppressConnectErrors = 1;
    gEditOpt.NoCheckTime[0] = "21:00";
    SaveOptions();
    EXPECT_EQ(Stored("Hours"), "1");
    EXPECT_EQ(Stored("Minutes"), "15");
    EXPECT_EQ(Stored("SuppressConnectErrors"), "1");
    EXPECT_EQ(Stored("NoCheckTimeBegin"), "21:00");
    EXPECT_EQ(Stored("TopColour"), "10072511") << "the colours are written on every save";
    EXPECT_EQ(StoredKeyOrder().size(), 37);
    EXPECT_EQ(modOptions::CheckIntervalMinutes(), 75);
    EXPECT_FALSE(gOptionsChanged);
    EXPECT_EQ(view.calls.last(), "FocusOptionsTree");
    EXPECT_TRUE(view.Calls("Report").isEmpty());
}

TEST_F(OptionsEditTest, StartWithTheSessionChangesOnlyWhenTheBoxChanged) {
    SaveOptions();
    EXPECT_EQ(entry.writes + entry.removes, 0) << "unchanged: an entry removed outside stays removed";

    gEditOpt.RunStartUp = 0;
    SaveOptions();
    EXPECT_EQ(entry.removes, 1);
    EXPECT_EQ(Stored("RunStartUp"), "0");

    gEditOpt.RunStartUp = 1;
    SaveOptions();
    EXPECT_EQ(entry.writes, 1);
    EXPECT_EQ(gOpt.RunStartUp, 1);
}

TEST_F(OptionsEditTest, AnEntryThatCannotBeWrittenKeepsTheOldChoiceAndSaysSo) {
    entry.works = false;
    gEditOpt.RunStartUp = 0;
    gEditOpt.QuickCheck = 0;
    SaveOptions();
    EXPECT_EQ(gOpt.RunStartUp, 1);
    EXPECT_EQ(Stored("RunStartUp"), "1");
    EXPECT_EQ(gEditOpt.RunStartUp, 1) << "the page shows what will happen";
    EXPECT_EQ(gOpt.QuickCheck, 0) << "the other options are still saved";
    ASSERT_EQ(view.Calls("Report").size(), 1);
    EXPECT_TRUE(view.Calls("Report").first().startsWith("Report Run at StartUp: "));
}

TEST_F(OptionsEditTest, MenusAreRestyledOnlyWhenTheThemeOrAColourBoxChanged) {
    struct Case {
        const char* what;
        std::function<void()> change;
        bool restyled;
        MenuColours live;
    };
    const MenuColours blue{0xFFD7AE, 0xFFFFFF, 0xFF8000};
    const Case cases[] = {
        {"nothing", [] {}, false, LiveMenuColours()},
        {"an edit colour alone", [] { gEditOpt.TopColour = 1; }, false, LiveMenuColours()},
        {"a box colour", [this] { view.boxes.middle = 77; }, true, {10072511, 77, 5733521}},
        {"the theme",
         [this, blue] {
             gEditOpt.DTheme = 0;
             view.boxes = blue;
         },
         true, blue},
    };
    for (const Case& c : cases) {
        SetUp();
        QFile::remove(MenuIniPath());
        c.change();
        SaveOptions();
        EXPECT_EQ(view.Calls("RefreshMenus").size(), c.restyled ? 1 : 0) << c.what;
        EXPECT_EQ(LiveMenuColours(), c.live) << c.what;
        EXPECT_EQ(Stored("MiddleColour"), QString::number(c.live.middle)) << c.what;
        EXPECT_EQ(FileColours(), (c.restyled ? c.live : MenuColours{-1, -1, -1}))
            << c.what << ": file written";
    }
}

TEST_F(OptionsEditTest, AutoCheckOffAndOnAgainKeepsTheNextCheckUnlessTheTimingChanged) {
    gOpt.UseInterval = 1;
    CopyOptionsToEdit();
    modGeneral::CheckRunState& run = view.run;
    run.AutoCheckTextSaved = "Next 10:30 PM";
    const QDateTime next(QDate(2026, 12, 8), QTime(22, 30));
    run.NextCheckStampSaved = next;

    gEditOpt.UseInterval = 0;
    SaveOptions();
    EXPECT_EQ(run.AutoCheckText, "Auto Check Off");
    EXPECT_TRUE(view.calls.contains("Timers 0"));
    EXPECT_TRUE(view.calls.contains("TrayAutoCheck &Auto Check - Off|#AutoCheckOff"));
    EXPECT_TRUE(view.calls.contains("Panel4 Auto Check Off"));

    view.calls.clear();
    gEditOpt.UseInterval = 1;
    SaveOptions();
    EXPECT_EQ(run.AutoCheckText, "Next 10:30 PM");
    EXPECT_EQ(run.NextCheckStamp, next);
    EXPECT_TRUE(view.calls.contains("Timers 1"));
    EXPECT_TRUE(view.calls.contains("TrayAutoCheck &Auto Check - On|#AutoCheckOn"));
    EXPECT_TRUE(view.Calls("SetNextAutoCheckTime").isEmpty());

    const std::function<void()> timingChanges[] = {
        [] { gEditOpt.Hours = 3; },
        [] { gEditOpt.Minutes = 1; },
        [] { gEditOpt.NoCheck = 1; },
        [] { gEditOpt.NoCheckTime[0] = "01:00"; },
        [] { gEditOpt.NoCheckTime[1] = "02:00"; },
    };
    for (const auto& change : timingChanges) {
        view.calls.clear();
        run.NoCheckDeferred = true;
        change();
        SaveOptions();
        EXPECT_EQ(view.Calls("SetNextAutoCheckTime").size(), 1);
        EXPECT_FALSE(run.NoCheckDeferred);
    }
}

TEST_F(OptionsEditTest, SavingSortsByTheChosenColumnOnlyWithMessageSortOn) {
    struct Case {
        int16_t sort, column, order;
        const char* lastUsed;
        QStringList calls;
    };
    const Case cases[] = {
        {1, 3, 0, "4", {"SortIcon Subject Ascending", "SortAndFill"}},
        {1, 4, 1, "4", {"SortIcon Date Descending", "SortAndFill"}},
        {1, 0, 1, "Size", {"SortIcon Size Descending", "SortAndFill"}},
        {1, 0, 0, "4", {"SortIcon Date Ascending", "SortAndFill"}},
        {0, 2, 1, "4", {"SortIcon  "}},
    };
    for (const Case& c : cases) {
        view.calls.clear();
        gOpt.SortColumnLastUsed = c.lastUsed;
        gEditOpt.MessageSort = c.sort;
        gEditOpt.SortColumn = c.column;
        gEditOpt.SortOrder = c.order;
        SaveOptions();
        EXPECT_EQ(view.Calls("Sort"), c.calls) << c.column << " " << c.lastUsed;
    }
}

TEST_F(OptionsEditTest, MailClientButtonPrefersAUsableDefaultThenTheAccountsClient) {
    modAccounts::ResizeAccountArrays(2);
    modAccounts::gCurrentAccount = 2;
    modAccounts::gAccounts[2].Client = "/opt/acnt";
    struct Case {
        QSet<QString> usable;
        QStringList calls;
    };
    const Case cases[] = {
        {{"/opt/default", "/opt/acnt"}, {"LoadMailClientIcon /opt/default 0", "SetMailClientButton 0"}},
        {{"/opt/acnt"}, {"LoadMailClientIcon /opt/acnt 2", "SetMailClientButton 2"}},
        {{}, {"SetMailClientButton -1"}},
    };
    for (const Case& c : cases) {
        view.calls.clear();
        view.usablePrograms = c.usable;
        gEditOpt.DefaultClient = "/opt/default";
        CheckOptionsChanged();
        SaveOptions();
        QStringList client = view.Calls("LoadMailClientIcon") + view.Calls("SetMailClientButton");
        client = client.mid(0, c.calls.size());
        EXPECT_EQ(client, c.calls);
    }
}

TEST_F(OptionsTest, SaveWithNoAccountAndNoWindowCommitsAndWrites) {
    modAccounts::gCurrentAccount = 0;
    gEditOpt.Minutes = 10;
    SaveOptions();
    EXPECT_EQ(gOpt.Minutes, 10);
    EXPECT_EQ(Stored("Minutes"), "10");
}

TEST(ToolbarStyles, FollowTheButtonStyleAndTheGroupsItAppliesTo) {
    struct Case {
        int16_t buttonStyle, applyStyle;
        std::optional<ToolbarStyles> styles;
    };
    const Case cases[] = {
        {0, 3, ToolbarStyles{1, 1, 1}}, {0, 9, ToolbarStyles{1, 1, 1}}, {1, 0, ToolbarStyles{0, 1, 1}},
        {1, 1, ToolbarStyles{1, 0, 1}}, {1, 2, ToolbarStyles{1, 1, 0}}, {1, 3, ToolbarStyles{0, 0, 0}},
        {1, 7, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ToolbarStylesFor(c.buttonStyle, c.applyStyle), c.styles)
            << c.buttonStyle << "/" << c.applyStyle;
}

TEST_F(OptionsEditTest, ButtonStyleReachesTheGroupsInOrderBCA) {
    gOpt.ButtonStyle = 1;
    gOpt.ApplyStyle = 2;
    ApplyButtonStyle();
    EXPECT_EQ(view.calls, QStringList({"Toolbar B 1", "Toolbar C 0", "Toolbar A 1"}));
    view.calls.clear();
    gOpt.ApplyStyle = 7;
    ApplyButtonStyle();
    EXPECT_TRUE(view.calls.isEmpty());
}
