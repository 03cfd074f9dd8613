// The option table against the stored keys: order, defaults, bad values and
// round trips.
#include "app/options/option_values.h"

#include <cstdio>
#include <cstdlib>

#include "app/rules/rule_set.h"
#include "tests/app/options/options_fixture.h"

using namespace modOptions;

namespace {

// The keys in the order the main window's load reads them ("AcntNum" aside).
const QStringList kMainLoadOrder{"RunStartUp",
                                 "EmailCheckStartUp",
                                 "StartUpDelay",
                                 "MinimizeStartUp",
                                 "UseInterval",
                                 "NoCheck",
                                 "NoCheckTimeBegin",
                                 "NoCheckTimeEnd",
                                 "ShowEmailMsgBox",
                                 "MsgBoxTime",
                                 "ShowEmail",
                                 "Hours",
                                 "Minutes",
                                 "DefaultClient",
                                 "DefaultSound",
                                 "RunSize",
                                 "PlaySound",
                                 "ShowNewOnly",
                                 "ButtonStyle",
                                 "ApplyStyle",
                                 "FromToolTips",
                                 "ToToolTips",
                                 "SubjectToolTips",
                                 "MessageSort",
                                 "SortColumn",
                                 "SortColumnLastUsed",
                                 "SortOrder",
                                 "CloseButton",
                                 "QuickCheck",
                                 "DeleteConfirmation",
                                 "SuppressConnectErrors",
                                 "SuppressRetrieveErrors",
                                 "ConnectTimeOut",
                                 "RulesIniFileName"};

// The 37 saved keys in write order, with the values a fresh store gives.
const std::vector<std::pair<QString, QString>> kSavedDefaults{{"RunStartUp", "1"},
                                                              {"EmailCheckStartUp", "0"},
                                                              {"StartUpDelay", "0"},
                                                              {"MinimizeStartUp", "0"},
                                                              {"UseInterval", "0"},
                                                              {"NoCheck", "0"},
                                                              {"NoCheckTimeBegin", "00:00"},
                                                              {"NoCheckTimeEnd", "00:00"},
                                                              {"ShowEmailMsgBox", "0"},
                                                              {"MsgBoxTime", "0"},
                                                              {"ShowEmail", "0"},
                                                              {"Hours", "0"},
                                                              {"Minutes", "30"},
                                                              {"DefaultClient", ""},
                                                              {"DefaultSound", ""},
                                                              {"RunSize", "3"},
                                                              {"PlaySound", "1"},
                                                              {"DTheme", "5"},
                                                              {"TopColour", "10072511"},
                                                              {"MiddleColour", "15724527"},
                                                              {"BottomColour", "5733521"},
                                                              {"ShowNewOnly", "0"},
                                                              {"RestoreColWidth", "1"},
                                                              {"ButtonStyle", "0"},
                                                              {"ApplyStyle", "0"},
                                                              {"FromToolTips", "1"},
                                                              {"ToToolTips", "1"},
                                                              {"SubjectToolTips", "1"},
                                                              {"MessageSort", "1"},
                                                              {"SortColumn", "4"},
                                                              {"SortOrder", "1"},
                                                              {"CloseButton", "1"},
                                                              {"QuickCheck", "1"},
                                                              {"DeleteConfirmation", "1"},
                                                              {"SuppressConnectErrors", "0"},
                                                              {"SuppressRetrieveErrors", "0"},
                                                              {"ConnectTimeOut", "10"}};

QStringList Keys(bool (*keep)(const OptionField&)) {
    QStringList keys;
    for (const OptionField& field : OptionFields())
        if (keep(field)) keys << QString::fromLatin1(field.key);
    return keys;
}

}  // namespace

TEST_F(OptionsTest, TheTableReadsAndWritesInTheOrdersOfTheStore) {
    EXPECT_EQ(Keys([](const OptionField& f) { return f.readBy == ReadBy::MainLoad; }), kMainLoadOrder);
    EXPECT_EQ(Keys([](const OptionField& f) { return f.readBy == ReadBy::MenuTheme; }),
              QStringList({"DTheme", "TopColour", "MiddleColour", "BottomColour"}));
    EXPECT_EQ(Keys([](const OptionField& f) { return f.readBy == ReadBy::Layout; }),
              QStringList({"RestoreColWidth"}));

    ASSERT_TRUE(WriteOptions());
    QStringList order;
    for (const auto& [key, value] : kSavedDefaults) order << key;
    EXPECT_EQ(StoredKeyOrder(), order) << "exactly the saved keys, in table order";
}

TEST_F(OptionsTest, AFreshStoreGivesTheDefaults) {
    for (const auto& [key, value] : kSavedDefaults) {
        const OptionField* field = FindOption(key);
        ASSERT_NE(field, nullptr) << key.toStdString();
        EXPECT_EQ(StoredText(*field), value) << key.toStdString();
    }
    EXPECT_EQ(gOpt.SortColumnLastUsed, "4");
    EXPECT_EQ(modRules::gRulesFileName, "Rules.ini");
    EXPECT_EQ(modOptions::CheckIntervalMinutes(), 30);
}

TEST_F(OptionsTest, StoredValuesThatAreNoNumbersOrOutOfRangeTakeTheDefault) {
    struct Case {
        const char* key;
        const char* stored;
        const char* read;
    };
    const Case cases[] = {
        {"StartUpDelay", "75", "0"},
        {"StartUpDelay", "abc", "0"},
        {"StartUpDelay", "59", "59"},
        {"Minutes", "-1", "30"},
        {"Minutes", "", "30"},
        {"Hours", "13", "0"},
        {"Hours", " 11 ", "11"},
        {"Hours", "1.5", "2"},
        {"ConnectTimeOut", "0", "10"},
        {"ConnectTimeOut", "121", "10"},
        {"ConnectTimeOut", "120", "120"},
        {"ConnectTimeOut", "99999", "10"},
        {"RunSize", "2", "3"},
        {"RunSize", "1", "1"},
        {"ShowEmail", "3", "0"},
        {"UseInterval", "-1", "0"},
        {"PlaySound", "2", "1"},
        {"SortColumn", "6", "4"},
        {"ApplyStyle", "4", "0"},
        {"SortOrder", "0", "0"},
        {"NoCheckTimeBegin", "25:00", "00:00"},
        {"NoCheckTimeEnd", "7:30", "00:00"},
        {"NoCheckTimeEnd", "23:59", "23:59"},
        {"DefaultClient", "  /bin/x ", "  /bin/x "},
        {"SortColumnLastUsed", "Subject", "Subject"},
        {"RulesIniFileName", "../outside.ini", "Rules.ini"},
        {"RulesIniFileName", "", "Rules.ini"},
        {"RulesIniFileName", "Mine.ini", "Mine.ini"},
    };
    for (const Case& c : cases) {
        Store(c.key, c.stored);
        LoadOptions(ReadBy::MainLoad);
        EXPECT_EQ(StoredText(*FindOption(c.key)), c.read) << c.key << " stored as \"" << c.stored << "\"";
    }
}

TEST_F(OptionsTest, MenuColoursAndThemeOutOfRangeTakeTheirDefaults) {
    Store("DTheme", "7");
    Store("TopColour", "16777216");
    Store("MiddleColour", "-5");
    Store("BottomColour", "255");
    LoadOptions(ReadBy::MainLoad);
    EXPECT_EQ(gOpt.BottomColour, 5733521) << "the main load does not read the menu theme";
    LoadOptions(ReadBy::MenuTheme);
    EXPECT_EQ(gOpt.DTheme, 5);
    EXPECT_EQ(gOpt.TopColour, 10072511);
    EXPECT_EQ(gOpt.MiddleColour, 15724527);
    EXPECT_EQ(gOpt.BottomColour, 255);
}

TEST_F(OptionsTest, IntervalFollowsHoursAndMinutesAndAnIntervalThePageForbidsTakesTheDefault) {
    struct Case {
        const char *hours, *minutes;
        int16_t h, m, interval;
    };
    const Case cases[] = {
        {"1", "30", 1, 30, 90}, {"0", "1", 0, 1, 1},    {"12", "0", 12, 0, 720},
        {"0", "0", 0, 30, 30},  {"12", "1", 0, 30, 30}, {"0", "x", 0, 30, 30},
    };
    for (const Case& c : cases) {
        Store("Hours", c.hours);
        Store("Minutes", c.minutes);
        LoadOptions(ReadBy::MainLoad);
        EXPECT_EQ(gOpt.Hours, c.h) << c.hours << ":" << c.minutes;
        EXPECT_EQ(gOpt.Minutes, c.m) << c.hours << ":" << c.minutes;
        EXPECT_EQ(modOptions::CheckIntervalMinutes(), c.interval) << c.hours << ":" << c.minutes;
    }
}

TEST_F(OptionsTest, EveryValueSurvivesAWriteAndARead) {
    // A value for every saved key that differs from its default.
    const std::vector<std::pair<QString, QString>> values{{"RunStartUp", "0"},
                                                          {"EmailCheckStartUp", "1"},
                                                          {"StartUpDelay", "12"},
                                                          {"MinimizeStartUp", "1"},
                                                          {"UseInterval", "1"},
                                                          {"NoCheck", "1"},
                                                          {"NoCheckTimeBegin", "22:15"},
                                                          {"NoCheckTimeEnd", "06:45"},
                                                          {"ShowEmailMsgBox", "1"},
                                                          {"MsgBoxTime", "7"},
                                                          {"ShowEmail", "2"},
                                                          {"Hours", "2"},
                                                          {"Minutes", "5"},
                                                          {"DefaultClient", " /usr/bin/mail client "},
                                                          {"DefaultSound", "/snd/Ding.WAV"},
                                                          {"RunSize", "1"},
                                                          {"PlaySound", "0"},
                                                          {"DTheme", "6"},
                                                          {"TopColour", "1"},
                                                          {"MiddleColour", "16777215"},
                                                          {"BottomColour", "0"},
                                                          {"ShowNewOnly", "1"},
                                                          {"RestoreColWidth", "0"},
                                                          {"ButtonStyle", "1"},
                                                          {"ApplyStyle", "3"},
                                                          {"FromToolTips", "0"},
                                                          {"ToToolTips", "0"},
                                                          {"SubjectToolTips", "0"},
                                                          {"MessageSort", "0"},
                                                          {"SortColumn", "0"},
                                                          {"SortOrder", "0"},
                                                          {"CloseButton", "0"},
                                                          {"QuickCheck", "0"},
                                                          {"DeleteConfirmation", "0"},
                                                          {"SuppressConnectErrors", "1"},
                                                          {"SuppressRetrieveErrors", "1"},
                                                          {"ConnectTimeOut", "120"}};
    ASSERT_EQ(values.size(), kSavedDefaults.size());
    for (const auto& [key, value] : values) Store(key, value);
    for (auto reader : {ReadBy::MainLoad, ReadBy::MenuTheme, ReadBy::Layout}) LoadOptions(reader);
    for (const auto& [key, value] : values)
        EXPECT_EQ(StoredText(*FindOption(key)), value) << key.toStdString();

    platform::store::DeleteSetting("ZKT\\Veltrane", "Settings\\Options");
    ASSERT_TRUE(WriteOptions());
    for (const auto& [key, value] : values) EXPECT_EQ(Stored(key), value) << key.toStdString();
}

TEST_F(OptionsTest, EditCopyFollowsLiveAndEveryDifferenceCounts) {
    EXPECT_FALSE(EditOptionsDiffer());
    struct Edit {
        const char* what;
        std::function<void()> change;
    };
    const Edit edits[] = {
        {"a flag", [] { gEditOpt.QuickCheck = 0; }},
        {"a number", [] { gEditOpt.ConnectTimeOut = 11; }},
        {"a no-check time", [] { gEditOpt.NoCheckTime[1] = "00:01"; }},
        {"a path in letter case only",
         [] {
             gOpt.DefaultClient = "/usr/bin/Mail";
             gEditOpt.DefaultClient = "/usr/bin/mail";
         }},
        {"a colour", [] { gEditOpt.BottomColour = 1; }},
        {"the theme", [] { gEditOpt.DTheme = 0; }},
    };
    for (const Edit& e : edits) {
        e.change();
        EXPECT_TRUE(EditOptionsDiffer()) << e.what;
        CopyOptionsToEdit();
        EXPECT_FALSE(EditOptionsDiffer()) << e.what;
    }
    gEditOpt.NoCheckTime[2] = "unused";
    EXPECT_FALSE(EditOptionsDiffer()) << "element 2 of the no-check times is no option";
}

TEST(OptionDefaults, ValuesStartAtTheirDefaultsBeforeAnythingIsRead) {
    // Only a process that has read nothing shows it: the check runs in a new
    // one, started afresh from this program's beginning.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            const bool atDefaults = gOpt.Minutes == 30 && gOpt.RunSize == 3 && gOpt.TopColour == 10072511 &&
                                    gOpt.NoCheckTime[1] == "00:00" && gOpt.SortColumnLastUsed == "4" &&
                                    gEditOpt.ConnectTimeOut == 10 && modRules::gRulesFileName == "Rules.ini";
            std::fputs(atDefaults ? "at the defaults" : "changed before anything was read", stderr);
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "^at the defaults$");
}
