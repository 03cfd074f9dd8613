// The tray tip and icon while the main window is minimised: the counts of
// the checked accounts in the tip, one account's count in the icon at a
// time, and automatic checking off winning over both.
#include <gtest/gtest.h>

#include <QImage>
#include <vector>

#include "app/accounts/account_table.h"
#include "app/forms/child_windows.h"
#include "app/forms/pictures.h"
#include "app/forms/tray_icon_record.h"
#include "app/general/check_status.h"
#include "app/options/option_values.h"
#include "tests/app/forms/laid_out_main_window.h"

using namespace modAccounts;

namespace {

struct Acnt {
    int16_t enabled = 1;
    bool checked = true;
    bool connected = true;
    int16_t msgs = 0;
    int16_t news = 0;
    int32_t colour = 1;
};

class FrmMainTrayTip : public testing::Test {
protected:
    void SetUp() override {
        modGeneral::gAppName = QStringLiteral("Veltrane");
        trayAvailable_ = forms::gTrayAvailable;
        forms::gTrayAvailable = [] { return false; };  // the window stays where tests reach it
        Reload();
    }
    // A fresh window, minimised, with automatic checking on.
    static void Reload() {
        frmMain& form = LaidOutMainWindow();
        modOptions::gOptUseInterval = 1;
        modOptions::gOptShowNewOnly = 0;
        form.SetWindowState(vb::vbMinimized);
    }
    void TearDown() override {
        frmMain& form = vb::Forms::Get<frmMain>();
        form.mQuitting = true;
        vb::Forms::Unload<frmMain>();
        forms::gTrayAvailable = trayAvailable_;
        gAccountCount = 0;
        ResizeAccountArrays(0);
        modOptions::gOptShowNewOnly = 0;
    }
    static frmMain& form() { return vb::Forms::Get<frmMain>(); }
    static void SetAccounts(const std::vector<Acnt>& accounts, const QString& status = "Checked at: 3:45 PM") {
        gAccountCount = static_cast<int16_t>(accounts.size());
        ResizeAccountArrays(gAccountCount);
        gAcntStatus[0] = status;
        int16_t i = 0;
        for (const Acnt& a : accounts) {
            ++i;
            gAcntEnabled[i] = a.enabled;
            gAcntChecked[i] = a.checked;
            gAcntConnected[i] = a.connected;
            gAcntMsgCount[i] = a.msgs;
            gAcntNewCount[i] = a.news;
            gAcntColourIndex[i] = a.colour;
        }
    }
    static QImage Shown() {
        const QSize size = form().imlTrayIcons.Picture(forms::kTrayNormal).size();
        return forms::gTrayIcon.Icon().pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32);
    }
    static QImage Count(int count, int colour) {
        return forms::ComposeCountPicture(form().imlTrayIcons, count, colour).toImage().convertToFormat(QImage::Format_ARGB32);
    }
    static QImage Picture(int index) {
        return form().imlTrayIcons.Picture(index).toImage().convertToFormat(QImage::Format_ARGB32);
    }

    std::function<bool()> trayAvailable_;
};

TEST_F(FrmMainTrayTip, TipSumsTheCheckedAndConnectedAccounts) {
    struct Case {
        const char* name;
        std::vector<Acnt> accounts;
        int16_t newOnly;
        QString tip;
    };
    const Case cases[] = {
        {"3 and 0 messages", {{.msgs = 3}, {.msgs = 0}}, 0, "3 Message(s) in 2 Account(s).\nChecked at: 3:45 PM"},
        {"new only", {{.msgs = 7, .news = 1}, {.msgs = 4, .news = 2}}, 1,
         "3 New Message(s) in 2 Account(s).\nChecked at: 3:45 PM"},
        {"a failed account does not count",
         {{.msgs = 5}, {.connected = false, .msgs = 9}, {.checked = false, .msgs = 9}}, 0,
         "5 Message(s) in 1 Account(s).\nChecked at: 3:45 PM"},
        {"none connected", {{.connected = false, .msgs = 9}, {.checked = false}}, 0,
         "No Connection has been established."},
        {"no account", {}, 0, "No Connection has been established."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetAccounts(c.accounts);
        modOptions::gOptShowNewOnly = c.newOnly;
        form().UpdateTrayIcon();
        EXPECT_EQ(forms::gTrayIcon.Tip(), c.tip);
    }
    EXPECT_EQ(Shown(), Picture(forms::kTrayNoConnection));
}

TEST_F(FrmMainTrayTip, ALongTipIsKeptWhole) {
    const QString status = QStringLiteral("Checked at: 3:45 PM, and a status far longer than sixty-three characters");
    SetAccounts({{.msgs = 12}}, status);
    form().UpdateTrayIcon();
    EXPECT_EQ(forms::gTrayIcon.Tip(), "12 Message(s) in 1 Account(s).\n" + status);
}

TEST_F(FrmMainTrayTip, NothingChangesWhileTheWindowIsShown) {
    SetAccounts({{.msgs = 3}});
    for (int state : {vb::vbNormal, vb::vbMaximized}) {
        form().SetWindowState(state);
        forms::gTrayIcon.Modify(form().imlTrayIcons.Picture(forms::kTrayNormal), QStringLiteral("Veltrane"));
        form().UpdateTrayIcon();
        EXPECT_EQ(forms::gTrayIcon.Tip(), "Veltrane");
        EXPECT_EQ(Shown(), Picture(forms::kTrayNormal));
    }
}

TEST_F(FrmMainTrayTip, AutoCheckOffWinsOverTheCounts) {
    SetAccounts({{.msgs = 3}});
    modOptions::gOptUseInterval = 0;
    form().UpdateTrayIcon();
    EXPECT_EQ(forms::gTrayIcon.Tip(), "Auto Check is Off");
    EXPECT_EQ(Shown(), Picture(forms::kTrayAutoCheckOff));
    form().UpdateTrayIcon();  // the next second changes nothing
    EXPECT_EQ(forms::gTrayIcon.Tip(), "Auto Check is Off");
    EXPECT_EQ(Shown(), Picture(forms::kTrayAutoCheckOff));

    modOptions::gOptUseInterval = 1;  // on again: the counts are back
    form().UpdateTrayIcon();
    EXPECT_EQ(forms::gTrayIcon.Tip(), "3 Message(s) in 1 Account(s).\nChecked at: 3:45 PM");
}

TEST_F(FrmMainTrayTip, IconShowsEachEnabledCheckedAccountInTurn) {
    struct Case {
        const char* name;
        std::vector<Acnt> accounts;
        int16_t newOnly;
        // The pictures of successive calls: count and colour, or -1 and a
        // plain picture index.
        std::vector<std::pair<int, int>> shown;
    };
    const Case cases[] = {
        {"two of three in turn",
         {{.msgs = 5, .colour = 1}, {.enabled = 0, .msgs = 7, .colour = 2}, {.msgs = 12, .colour = 3}}, 0,
         {{5, 1}, {12, 3}, {5, 1}, {12, 3}}},
        {"one account every second", {{.msgs = 4, .colour = 2}}, 0, {{4, 2}, {4, 2}, {4, 2}}},
        {"unconnected still rotates", {{.msgs = 2, .colour = 1}, {.connected = false, .colour = 4}}, 0,
         {{2, 1}, {0, 4}, {2, 1}}},
        {"new counts", {{.msgs = 150, .news = 3, .colour = 5}}, 1, {{3, 5}}},
        {"over 99", {{.msgs = 150, .colour = 6}}, 0, {{150, 6}}},
        {"none enabled", {{.enabled = 0, .msgs = 3}}, 0, {{-1, forms::kTrayNormal}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Reload();  // the rotation starts afresh
        SetAccounts(c.accounts);
        modOptions::gOptShowNewOnly = c.newOnly;
        int call = 0;
        for (const auto& [count, colour] : c.shown) {
            SCOPED_TRACE(++call);
            form().UpdateTrayIcon();
            EXPECT_EQ(Shown(), count < 0 ? Picture(colour) : Count(count, colour));
        }
    }
    // The pictures differ, so the comparisons above tell them apart.
    EXPECT_NE(Count(5, 1), Count(12, 3));
    EXPECT_NE(Count(3, 5), Count(150, 5));
}

}  // namespace
