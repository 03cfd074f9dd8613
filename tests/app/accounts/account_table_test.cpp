#include "app/accounts/account_table.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "app/common/app_settings.h"
#include "app/common/stored_number.h"
#include "platform/store/atomic_file.h"
#include "platform/store/settings_store.h"
#include "tests/app/account_print.h"

using namespace modAccounts;

namespace {

using Saved = AccountSettings;

const Saved& Live(int i) { return gAccounts[i].Saved(); }

void SetLive(int i, const Saved& s) { gAccounts[i].Saved() = s; }

class AccountTable : public testing::Test {
protected:
    void SetUp() override {
        gAccountCount = 0;
        ResizeAccountArrays(-1);
    }
    void TearDown() override { platform::store::SetWriteFaultHook(nullptr); }
};

struct RoundTripCase {
    const char* name;
    Saved saved;
};

void PrintTo(const RoundTripCase& c, std::ostream* os) { *os << c.name; }

class AccountRoundTrip : public AccountTable, public testing::WithParamInterface<RoundTripCase> {};

TEST_P(AccountRoundTrip, EveryStoredFieldComesBackUnchanged) {
    gAccountCount = 2;
    ResizeAccountArrays(2);
    SetLive(2, GetParam().saved);
    ASSERT_TRUE(WriteAccount(2));
    ResizeAccountArrays(-1);
    ResizeAccountArrays(2);
    LoadAccount(2);
    EXPECT_EQ(Live(2), GetParam().saved);
}

const QString kLong = QString(3000, u'w') + u' ';

INSTANTIATE_TEST_SUITE_P(
    Accounts, AccountRoundTrip,
    testing::Values(
        RoundTripCase{"Ordinary",
                      {1, "Home", "pop.example.org", 0, "110", "me", "secret", 255, 5, "", "", 1}},
        RoundTripCase{
            "Blanks",
            {0, " Work ", " host ", 1, " 995", "  ", " pass word ", 0, 0, " /usr/bin/x ", " a.wav ", 0}},
        RoundTripCase{"EmptyTexts", {1, "", "", 0, "", "", "", 255, 5, "", "", 1}},
        RoundTripCase{"NA", {1, "NA", "NA", 0, "NA", "NA", "NA", 255, 5, "NA", "NA", 1}},
        RoundTripCase{"Long", {1, kLong, kLong, 1, kLong, kLong, kLong, 16777215, 15, kLong, kLong, 1}},
        RoundTripCase{"Negative", {-1, "x", "y", -1, "1", "l", "p", -2147483647 - 1, -5, "c", "s", -32768}},
        RoundTripCase{"Unusual",
                      {1, "a=b[c]", "é ü", 0, "%20", "#x", ";y", 1, 2, "line\nbreak", "tab\t", 1}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(AccountTable, MissingValuesReadAsTheDefaultsOfANewAccount) {
    EXPECT_EQ(GetSetting(kAppKey, "Settings", "AcntNum", "0"), "0");
    gAccountCount = 1;
    ResizeAccountArrays(1);
    LoadAccount(1);
    EXPECT_EQ(Live(1), (Saved{1, "New Account", "", 0, "110", "", "", 255, 5, "", "", 1}));
}

TEST_F(AccountTable, NonNumericStoredNumbersTakeTheirDefaults) {
    ASSERT_TRUE(SaveSettings(kAppKey, "Settings",
                             {{"AcntEnabled1", "yes"},
                              {"AcntSecure1", "70000"},
                              {"AcntColour1", ""},
                              {"AcntColourIndex1", "1.5"},
                              {"AcntSoundOn1", "-"}}));
    ResizeAccountArrays(1);
    LoadAccount(1);
    EXPECT_EQ(Live(1), (Saved{1, "New Account", "", 0, "110", "", "", 255, 2, "", "", 1}));
}

TEST_F(AccountTable, WriteAccountWritesExactlyTheTwelveKeysInTableOrder) {
    ResizeAccountArrays(2);
    SetLive(2, {1, "Home", "s", 0, "110", "l", "p", 255, 5, "c", "w", 1});
    ASSERT_TRUE(WriteAccount(2));
    std::ifstream in(platform::store::SettingsFilePath("ZKT\\Veltrane"));
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(),
              "# Settings of ZKT\\Veltrane\n[Settings]\nAcntEnabled2=1\nAcntName2=Home\nAcntServer2=s\n"
              "AcntSecure2=0\nAcntPort2=110\nAcntLoginID2=l\nAcntPassword2=p\nAcntColour2=255\n"
              "AcntColourIndex2=5\nAcntClient2=c\nAcntSound2=w\nAcntSoundOn2=1\n");
}

TEST_F(AccountTable, AFailedWriteIsReportedAndKeepsTheStoredAccount) {
    ResizeAccountArrays(1);
    SetLive(1, {1, "Home", "s", 0, "110", "l", "p", 255, 5, "", "", 1});
    ASSERT_TRUE(WriteAccount(1));
    gAccounts[1].Name = "Renamed";
    platform::store::SetWriteFaultHook(
        [](platform::store::WriteStep) { return std::make_error_code(std::errc::no_space_on_device); });
    EXPECT_FALSE(WriteAccount(1));
    platform::store::SetWriteFaultHook(nullptr);
    LoadAccount(1);
    EXPECT_EQ(gAccounts[1].Name, "Home");
}

TEST_F(AccountTable, ResizeKeepsSlotsExceptIncomplete) {
    ResizeAccountArrays(3);
    for (int i = 0; i <= 3; ++i) {
        SetLive(i, {1, QString::number(i), "s", 1, "995", "l", "p", i, i, "c", "w", 0});
        gAccounts[i].Incomplete = true;
        gAccounts[i].Connected = true;
        gAccounts[i].Status = "Checked";
        gAccounts[i].MsgCount = static_cast<int16_t>(i);
        gAccounts[i].Edit.Name = "edit" + QString::number(i);
    }
    ResizeAccountArrays(5);
    for (int i = 0; i <= 3; ++i) {
        EXPECT_EQ(Live(i), (Saved{1, QString::number(i), "s", 1, "995", "l", "p", i, i, "c", "w", 0}));
        EXPECT_TRUE(gAccounts[i].Connected);
        EXPECT_EQ(gAccounts[i].Status, "Checked");
        EXPECT_EQ(gAccounts[i].MsgCount, i);
        EXPECT_EQ(gAccounts[i].Edit.Name, "edit" + QString::number(i));
    }
    for (int i = 0; i <= 5; ++i) EXPECT_FALSE(gAccounts[i].Incomplete);
    for (int i = 4; i <= 5; ++i) {
        EXPECT_EQ(Live(i), (Saved{0, "", "", 0, "", "", "", 0, 0, "", "", 0}));
        EXPECT_EQ(gAccounts[i].Edit, Saved{});
        EXPECT_FALSE(gAccounts[i].Connected);
        EXPECT_EQ(gAccounts[i].Status, "");
    }
    ResizeAccountArrays(2);
    EXPECT_EQ(gAccounts.UBound(), 2);
    EXPECT_THROW(gAccounts[3], std::out_of_range);
    EXPECT_EQ(gAccounts[2].Name, "2");
}

TEST_F(AccountTable, NoAccountsLeavesOnlyThePlaceholderSlot) {
    struct Page : AccountsView {
        void DisplayAccount(int16_t i) override { shown = i; }
        int shown = -1;
    } page;
    const auto registration = gAccountsView.Register(page);
    gAccountCount = StoredInteger(GetSetting(kAppKey, "Settings", "AcntNum", "0"), 0);
    ResizeAccountArrays(gAccountCount);
    ResetBlankAccount();
    EXPECT_EQ(gAccounts.UBound(), 0);
    EXPECT_EQ(Live(0), (Saved{0, "", "", 0, "", "", "", 255, 5, "", "", 1}));
    EXPECT_EQ(page.shown, 0);
}

TEST_F(AccountTable, CopyToEditBufferCopiesEveryField) {
    ResizeAccountArrays(1);
    // A colour index beyond 16 bits: the edit copy holds what is stored.
    const Saved s{0, " n ", "srv", 1, " 995", "l", "p", 65280, 70000, "c", "w", 0};
    SetLive(1, s);
    gAccounts[1].Connected = true;
    CopyAccountToEditBuffer(1);
    EXPECT_EQ(gAccounts[1].Edit, s);
    EXPECT_TRUE(gAccounts[1].Connected);
}

}  // namespace
