// The tray tip and icon while the main window is minimised: the counts of
// the checked accounts in the tip, one account's count in the icon at a
// time, and automatic checking off winning over both.
#include <gtest/gtest.h>

#include <QImage>
#include <vector>

#include "app/accounts/account_table.h"
#include "app/forms/common/child_windows.h"
#include "app/forms/common/pictures.h"
#include "app/forms/tray/tray_icon_record.h"
#include "app/general/check_status.h"
#include "app/options/option_values.h"
#include "tests/app/forms/laid_out_main_window.h"

using namespace modAccounts;

namespace {

struct Acnt {
    int16_t enabled = 1;
    bool checked = true, connected = true;
    int16_t msgs = 0, news = 0;
    int32_t colour = 1;
};

class TrayTip : public testing::Test {
protected:
    void SetUp() override {
        modGeneral::gAppName = QStringLiteral("Veltrane");
        forms::gTrayAvailable = [] { return false; };  // the window stays where tests reach it
    }
    void TearDown() override {
        form().mQuitting = true;
        vb::Forms::Unload<frmMain>();
        forms::gTrayAvailable = [] { return platform::desktop::TrayIcon::available(); };
        gAccountCount = 0;
        modOptions::gOpt.ShowNewOnly = 0;
    }
    static frmMain& form() { return vb::Forms::Get<frmMain>(); }
    // A fresh window (the rotation starts afresh), minimised, with these
    // accounts and automatic checking on.
    static void Load(const std::vector<Acnt>& accounts, int16_t newOnly = 0) {
        LaidOutMainWindow().SetWindowState(vb::vbMinimized);
        modOptions::gOpt.UseInterval = 1;
        modOptions::gOpt.ShowNewOnly = newOnly;
        gAccountCount = static_cast<int16_t>(accounts.size());
        ResizeAccountArrays(gAccountCount);
        gAccounts[0].Status = QStringLiteral("Checked at: 3:45 PM");
        for (int16_t i = 1; i <= gAccountCount; ++i) {
            const Acnt& a = accounts[static_cast<size_t>(i - 1)];
            gAccounts[i].Enabled = a.enabled;
            gAccounts[i].Checked = a.checked;
            gAccounts[i].Connected = a.connected;
            gAccounts[i].MsgCount = a.msgs;
            gAccounts[i].NewCount = a.news;
            gAccounts[i].ColourIndex = a.colour;
        }
    }
    static QImage Image(const QPixmap& p) { return p.toImage().convertToFormat(QImage::Format_ARGB32); }
    static QImage Shown() {
        return Image(forms::gTrayIcon.Icon().pixmap(
            form().controls().imlTrayIcons.Picture(forms::kTrayNormal).size()));
    }
    // A count picture in a colour, or with count -1 the plain picture `colour`.
    static QImage Expected(int count, int colour) {
        frmMain& f = form();
        return Image(count < 0 ? f.controls().imlTrayIcons.Picture(colour)
                               : forms::ComposeCountPicture(f.controls().imlTrayIcons, count, colour));
    }
};

TEST_F(TrayTip, TipSumsTheCheckedAndConnectedAccounts) {
    const QString status = QStringLiteral("\nChecked at: 3:45 PM");
    struct Case {
        const char* name;
        std::vector<Acnt> accounts;
        int16_t newOnly;
        QString tip;
        int picture;  // a plain picture expected, or 0
    } const cases[] = {
        {"3 and 0 messages", {{.msgs = 3}, {.msgs = 0}}, 0, "3 Message(s) in 2 Account(s)." + status, 0},
        {"new only",
         {{.msgs = 7, .news = 1}, {.msgs = 4, .news = 2}},
         1,
         "3 New Message(s) in 2 Account(s)." + status,
         0},
        {"failed accounts do not count",
         {{.msgs = 5}, {.connected = false, .msgs = 9}, {.checked = false}},
         0,
         "5 Message(s) in 1 Account(s)." + status,
         0},
        {"none connected",
         {{.connected = false, .msgs = 9}},
         0,
         "No Connection has been established.",
         forms::kTrayNoConnection},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Load(c.accounts, c.newOnly);
        form().tray().Status().ShowCounts();
        EXPECT_EQ(forms::gTrayIcon.Tip(), c.tip);
        if (c.picture) {
            EXPECT_EQ(Shown(), Expected(-1, c.picture));
        }
    }
    Load({{.msgs = 5}});
    gAccounts[0].Status = QString(80, QChar('x'));
    form().tray().Status().ShowCounts();
    EXPECT_EQ(forms::gTrayIcon.Tip(), "5 Message(s) in 1 Account(s).\n" + gAccounts[0].Status)
        << "kept whole";

    // Automatic checking off: its picture and tip stay, second after second.
    Load({{.msgs = 3}});
    modOptions::gOpt.UseInterval = 0;
    for (int second = 0; second < 2; ++second) {
        form().tray().Status().ShowCounts();
        EXPECT_EQ(forms::gTrayIcon.Tip(), "Auto Check is Off");
        EXPECT_EQ(Shown(), Expected(-1, forms::kTrayAutoCheckOff));
    }
    // Shown normally or maximised, nothing changes.
    modOptions::gOpt.UseInterval = 1;
    for (int state : {vb::vbNormal, vb::vbMaximized}) {
        form().SetWindowState(state);
        form().tray().Status().ShowCounts();
        EXPECT_EQ(forms::gTrayIcon.Tip(), "Auto Check is Off");
    }
}

TEST_F(TrayTip, IconShowsEachEnabledCheckedAccountInTurn) {
    struct Case {
        const char* name;
        std::vector<Acnt> accounts;
        int16_t newOnly;
        std::vector<std::pair<int, int>> shown;  // count and colour of successive calls
    } const cases[] = {
        {"two of three in turn",
         {{.msgs = 5}, {.enabled = 0, .msgs = 7, .colour = 2}, {.msgs = 12, .colour = 3}},
         0,
         {{5, 1}, {12, 3}, {5, 1}}},
        {"one account every second", {{.msgs = 4, .colour = 2}}, 0, {{4, 2}, {4, 2}}},
        {"an unconnected one too", {{.msgs = 2}, {.connected = false, .colour = 4}}, 0, {{2, 1}, {0, 4}}},
        {"the count shown decides", {{.msgs = 150, .news = 3, .colour = 5}}, 1, {{3, 5}}},
        {"over 99", {{.msgs = 150, .colour = 6}}, 0, {{150, 6}}},
        {"none enabled", {{.enabled = 0, .msgs = 3}}, 0, {{-1, forms::kTrayNormal}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Load(c.accounts, c.newOnly);
        for (const auto& [count, colour] : c.shown) {
            form().tray().Status().ShowCounts();
            EXPECT_EQ(Shown(), Expected(count, colour)) << count;
        }
    }
    EXPECT_NE(Expected(5, 1), Expected(12, 3)) << "the pictures tell the accounts apart";
    EXPECT_NE(Expected(3, 5), Expected(150, 5));
}

}  // namespace
