// The main window's controls, its layout at load, its resize rules and
// minimising into the tray.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>
#include <QMenu>
#include <QRect>
#include <QToolButton>
#include <map>
#include <numeric>
#include <vector>

#include "app/common/app_settings.h"
#include "app/forms/common/child_windows.h"
#include "app/forms/main_window/frm_main.h"
#include "app/forms/main_window/layout_offset.h"
#include "app/forms/tray/tray_icon_record.h"
#include "app/general/check_status.h"
#include "app/options/option_values.h"
#include "platform/ui/forms.h"
#include "platform/ui/tool_bar.h"
#include "platform/ui/twips.h"
#include "tests/app/forms/laid_out_main_window.h"
#include "tests/app/forms/layout_faults.h"

using namespace frmMainElements;  // tbrClient(tbrClient::kAccount)

namespace {

// A designed twips value as the screen can show it (whole pixels).
int Px(int twips) { return vb::PixelsToTwipsX(vb::TwipsToPixelsX(twips)); }
int PxY(int twips) { return vb::PixelsToTwipsY(vb::TwipsToPixelsY(twips)); }
int Right(const vb::ControlBase& c) { return c.Left() + c.Width(); }
int Bottom(const vb::ControlBase& c) { return c.Top() + c.Height(); }

frmMain& LaidOut() { return LaidOutMainWindow(); }

// The application font for one test, put back afterwards.
class FontSize {
public:
    explicit FontSize(double points) : saved_(QApplication::font()) {
        QFont f = saved_;
        f.setPointSizeF(points);
        QApplication::setFont(f);
    }
    ~FontSize() { QApplication::setFont(saved_); }

private:
    QFont saved_;
};

class MainLayout : public testing::Test {
protected:
    void SetUp() override { modGeneral::gLoading = false; }
    void TearDown() override {
        if (vb::Forms::IsLoaded<frmMain>()) vb::Forms::Get<frmMain>().mQuitting = true;
        vb::Forms::Unload<frmMain>();
        forms::gTrayAvailable = [] { return false; };
    }
};

TEST_F(MainLayout, EveryPageShowsItsControlsWholeApartAndWithTheirTextsAtEverySize) {
    frmMain& f = LaidOut();
    f.Show();
    QApplication::processEvents();
    const int openingWidth = f.width();
    for (const bool maximised : {false, true}) {
        // Maximised on a full-HD screen.
        if (maximised) {
            f.layout().SetOuterSize(vb::PixelsToTwipsX(1920), vb::PixelsToTwipsY(1050));
            QApplication::processEvents();
            ASSERT_GT(f.width(), openingWidth + 100);
        }
        for (const char* page : {"Email", "Accounts", "Rules", "Options"}) {
            f.controls().tbrMainButtons.Buttons(QString::fromLatin1(page)).QtButton().click();
            const int panels = page == std::string_view("Options") ? f.controls().TreeView.NodeCount() : 1;
            for (int panel = 1; panel <= panels; ++panel) {
                if (panels > 1) {
                    f.controls().TreeView.Select(panel);
                    f.controls().TreeView.Click();
                }
                QApplication::processEvents();
                EXPECT_EQ(LayoutFaults(f), "")
                    << page << " page, panel " << panel << (maximised ? ", maximised" : "");
            }
        }
    }
}

// The fault finder itself: a field moved onto another and a label narrowed
// below its text are both told.
TEST_F(MainLayout, LayoutFaultsTellsACoveredFieldAndACutText) {
    frmMain& f = LaidOut();
    f.Show();
    f.controls().tbrMainButtons.Buttons(QStringLiteral("Accounts")).QtButton().click();
    QApplication::processEvents();
    ASSERT_EQ(LayoutFaults(f), "");
    f.controls().txtAcntPassword.move(f.controls().txtAcntLoginID.pos() + QPoint(5, 5));
    f.controls().lblAcntClient.resize(20, f.controls().lblAcntClient.height());
    const std::string faults = LayoutFaults(f);
    EXPECT_NE(faults.find("QLineEdit"), std::string::npos) << faults;
    EXPECT_NE(faults.find(" covers QLineEdit"), std::string::npos) << faults;
    EXPECT_NE(faults.find("'Email Client:'"), std::string::npos) << faults;
    EXPECT_NE(faults.find("its text does not fit"), std::string::npos) << faults;
}

TEST_F(MainLayout, AfterTheLoadNoTimerRunsEveryToolButtonHasATipAndCommandsWithoutTheirObjectAreOff) {
    frmMain& f = LaidOut();
    for (const vb::Timer* timer :
         {&f.controls().tmrStatusBar, &f.controls().tmrMailTime, &f.controls().tmrMailStartUp,
          &f.controls().tmrRetrieveMessage, &f.controls().tmrDragTab})
        EXPECT_FALSE(timer->Enabled()) << "the start procedure enables the one it needs";
    // No account, no pending option, no rule yet.
    EXPECT_FALSE(f.controls().tbrEmail.Buttons(QStringLiteral("EmailCheck")).Enabled());
    EXPECT_FALSE(
        f.controls().tbrButtons(tbrButtons::kSaveOptions).Buttons(QStringLiteral("SaveOptions")).Enabled());
    EXPECT_FALSE(
        f.controls().tbrRuleUpdate(tbrRuleUpdate::kDescription).Buttons(QStringLiteral("Clear")).Enabled());
    EXPECT_TRUE(f.controls().tbrRules.Buttons(QStringLiteral("RulesAdd")).Enabled());
    for (const QToolButton* button : f.findChildren<QToolButton*>()) {
        if (dynamic_cast<const vb::ToolBar*>(button->parentWidget())) {
            EXPECT_FALSE(button->toolTip().isEmpty()) << button->text().toStdString() << " has no tip";
        }
    }
    // The list shows its five headed columns; the rest carry data unseen.
    for (int c = 1; c <= f.controls().lvwEmail.ColumnCount(); ++c)
        EXPECT_EQ(f.controls().lvwEmail.Column(c).Width() > 0, c <= 5) << c;
}

TEST_F(MainLayout, LoadLayoutKeepsItsRelationsAtEveryFontSize) {
    for (const double points : {9.0, 15.0}) {
        SCOPED_TRACE(points);
        const FontSize font(points);
        frmMain& f = LaidOut();
        const int bw = f.controls().tbrMainButtons.ButtonWidth();
        const int offset = forms::gLayoutOffset;
        // The extra width of the page buttons as drawn; at the larger size the
        // list's dates need more.
        if (points == 9.0)
            EXPECT_EQ(offset, bw * 6 - Px(6600)) << "extra width of the page buttons as drawn";
        else
            EXPECT_GT(offset, bw * 6 - Px(6600)) << "the dates in bold need more";
        EXPECT_EQ(offset % Px(15), 0) << "whole pixels";
        EXPECT_EQ(f.controls().tbrMainButtons.Width(), bw * 6);
        EXPECT_EQ(f.controls().fraMainButtons.Height(),
                  PxY(int(std::nearbyint(1.7 * f.controls().tbrMainButtons.Height()))));
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(f.controls().fraMain(i).Width(), Px(9600) + offset) << i;
            EXPECT_EQ(f.controls().fraMain(i).Top(), Bottom(f.controls().fraMainButtons)) << i;
            EXPECT_EQ(f.controls().fraMain(i).isHidden(), i != 0) << "the window opens on the Email page";
            EXPECT_EQ(f.controls().fraButtons(i).Top(), Bottom(f.controls().TabStripEmail) - PxY(100)) << i;
        }
        EXPECT_EQ(f.controls().TabStripEmail.Width(), Px(9600) + offset);
        EXPECT_EQ(f.controls().lblBanner.Left(), Px(6900) + offset)
            << "the page name stays clear of the page buttons";

        // The Email page stacks tool bar, list and status bar inside the strip,
        // below its tab row, and above the button bar.
        EXPECT_GE(f.controls().fraEmailToolBar.Top(), PxY(324));
        EXPECT_GE(f.controls().fraEmailToolBar.Top(), f.controls().TabStripEmail.ClientTop())
            << "the tab row stays uncovered";
        EXPECT_EQ(f.controls().lvwEmail.Top(), Bottom(f.controls().fraEmailToolBar));
        EXPECT_EQ(f.controls().StatusBar.Top(), Bottom(f.controls().lvwEmail));
        EXPECT_LE(Bottom(f.controls().StatusBar), f.controls().fraButtons(fraButtons::kEmail).Top());
        EXPECT_TRUE(f.controls().ProgressBar.isHidden());
        EXPECT_TRUE(f.controls().tbrButtons(tbrButtons::kStopRetrieval).isHidden());
        EXPECT_TRUE(f.controls().tbrButtons(tbrButtons::kPauseStartUp).isHidden());

        // Button bars: right-hand bars 100 apart, the last 100 from the edge;
        // the Help bars keep their place at the left.
        const std::vector<std::vector<int>> bars = {{1, 2, 3, 4}, {6, 7}, {9, 10}, {12, 13}};
        for (int page = 0; page < 4; ++page) {
            const auto& row = bars[page];
            EXPECT_EQ(Right(f.controls().tbrButtons(row.back())),
                      f.controls().fraButtons(page).Width() - Px(100))
                << page;
            for (std::size_t k = 1; k < row.size(); ++k)
                EXPECT_EQ(f.controls().tbrButtons(row[k]).Left() - Right(f.controls().tbrButtons(row[k - 1])),
                          Px(100))
                    << row[k];
            EXPECT_EQ(f.controls().tbrButtons(page == 0 ? 0 : page * 3 + 2).Left(), Px(60)) << page;
        }
        EXPECT_EQ(Right(f.controls().tbrButtons(tbrButtons::kPauseStartUp)),
                  Right(f.controls().tbrButtons(tbrButtons::kStopRetrieval)))
            << "both end 100 left of the client button";
        EXPECT_EQ(f.controls().tbrButtons(tbrButtons::kPauseStartUp).Width(),
                  f.controls().tbrButtons(tbrButtons::kPauseStartUp).ButtonWidth());

        // Accounts and Rules pages.
        EXPECT_EQ(f.controls().tbrMoveButtons(tbrMoveButtons::kAccounts).Left(), Px(8520) + offset);
        EXPECT_EQ(f.controls().tbrClient(tbrClient::kAccount).Width(),
                  2 * f.controls().tbrClient(tbrClient::kAccount).ButtonWidth());
        EXPECT_EQ(f.controls().lblAcntPlaySound.Top(),
                  f.controls().tbrSound(tbrSound::kAccount).Top() + PxY(36));
        EXPECT_EQ(f.controls().fraRule.Left(), Px(2540) + offset);
        EXPECT_EQ(f.controls().lstRules.Width(), Px(2300) + offset);
        EXPECT_LT(Right(f.controls().lstRules), f.controls().fraRule.Left())
            << "the rule frames stay right of the list";
        EXPECT_EQ(f.controls().tbrMoveButtons(tbrMoveButtons::kRules).Left(),
                  Px(Px(850) + int(std::nearbyint(offset / 2.0))));
        EXPECT_EQ(f.controls().tbrRuleUpdate(tbrRuleUpdate::kUndoRedo).Left(),
                  Right(f.controls().tbrRuleUpdate(tbrRuleUpdate::kDescription)));
        EXPECT_EQ(f.controls().fraRulesToolbar.Top(), PxY(70));
        EXPECT_EQ(f.controls().fraRules.Top(), f.controls().fraRulesToolbar.Height() - PxY(48));
        EXPECT_TRUE(f.controls().fraColourBox.isHidden());
        EXPECT_EQ(f.controls().lblColourBox(5).BackColor(), 0x0000FFu);

        // Banner over the tab row; window around the tab strip, centred.
        EXPECT_EQ(f.controls().fraNoAcntsBanner.Left(), Px(30));
        EXPECT_EQ(f.controls().fraNoAcntsBanner.Top(), f.controls().fraMainButtons.Height());
        EXPECT_EQ(f.layout().mMinWidth, f.layout().OuterWidth());
        EXPECT_GE(f.ScaleWidth(), f.controls().TabStripEmail.Width());
        EXPECT_EQ(f.layout().mStartHeight, f.layout().mLastHeight);
        EXPECT_NEAR(f.Left(), (vb::ScreenWidth() - f.layout().mMinWidth) / 2, 15);
    }
}

TEST_F(MainLayout, ColumnWidthsComeFromTheListOrFromTheStore) {
    const QString section = QStringLiteral("Settings\\Options");
    struct Case {
        const char* name;
        std::map<QString, QString> stored;
        int from;  // -1 = W
        int size;  // -1 = W, -2 = W / 2.15
    };
    const Case cases[] = {
        {"nothing stored: defaults", {}, -1, -2},
        {"restore on, widths stored: defaults", {{"RestoreColWidth", "1"}, {"ColFromWidth", "3000"}}, -1, -2},
        {"restore off, nothing stored: all W", {{"RestoreColWidth", "0"}}, -1, -1},
        {"restore off, stored as stored",
         {{"RestoreColWidth", "0"}, {"ColFromWidth", "3000"}, {"ColSizeWidth", "600"}},
         3000,
         600},
        {"damaged values give the defaults",
         {{"RestoreColWidth", "0"}, {"ColFromWidth", "wide"}, {"ColSizeWidth", "-40"}},
         -1,
         -1},
        {"restore not a number: defaults", {{"RestoreColWidth", "yes"}}, -1, -2},
    };
    const char* keys[] = {"RestoreColWidth", "ColFromWidth", "ColToWidth",
                          "ColSubjectWidth", "ColDateWidth", "ColSizeWidth"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // The window of the case before writes its widths as it ends.
        if (vb::Forms::IsLoaded<frmMain>()) vb::Forms::Get<frmMain>().mQuitting = true;
        vb::Forms::Unload<frmMain>();
        for (const char* k : keys) DeleteSetting(kAppKey, section, QString::fromLatin1(k));
        for (const auto& [k, v] : c.stored) ASSERT_TRUE(SaveSetting(kAppKey, section, k, v));
        frmMain& f = LaidOut();
        const int w = int(std::nearbyint(f.controls().lvwEmail.ColumnSpace() / 4.5));
        EXPECT_EQ(f.layout().mColBaseWidth, w);
        const int from = c.from < 0 ? w : c.from;
        const int size = c.size == -1 ? w : c.size == -2 ? int(std::nearbyint(w / 2.15)) : c.size;
        EXPECT_EQ(f.controls().lvwEmail.Column(QStringLiteral("From")).Width(), Px(from));
        EXPECT_EQ(f.controls().lvwEmail.Column(QStringLiteral("Date")).Width(), Px(w));
        EXPECT_EQ(f.controls().lvwEmail.Column(QStringLiteral("Size")).Width(), Px(size));
        EXPECT_EQ(f.controls().lvwEmail.Column(3).Icon(), QStringLiteral("Blank"));
    }
}

// Every control's place and size, relative to its container.
std::map<const vb::ControlBase*, QRect> Places(frmMain& form) {
    std::map<const vb::ControlBase*, QRect> places;
    for (QWidget* w : form.findChildren<QWidget*>()) {
        if (const auto* c = dynamic_cast<const vb::ControlBase*>(w)) places[c] = w->geometry();
    }
    return places;
}

TEST_F(MainLayout, ResizeMovesExactlyTheTableControlsAndComesBack) {
    frmMain& f = LaidOut();
    f.Show();
    QApplication::processEvents();
    const auto before = Places(f);
    const auto columns = [&f] {
        std::vector<int> widths;
        for (int c = 1; c <= 5; ++c) widths.push_back(f.controls().lvwEmail.columnWidth(c - 1));
        return widths;
    };
    const std::vector<int> columnsBefore = columns();
    const int dW = 600;
    const int dH = 450;
    const int px = vb::TwipsToPixelsX(dW);
    const int py = vb::TwipsToPixelsY(dH);
    f.layout().SetOuterSize(f.layout().mLastWidth + dW, f.layout().mLastHeight + dH);
    QApplication::processEvents();
    EXPECT_EQ(f.layout().mLastWidth, f.layout().OuterWidth());

    // What each control of the table gains: left, top, width, height (pixels).
    std::map<const vb::ControlBase*, QRect> change = {{&f.controls().fraMainButtons, {0, 0, px, 0}}};
    for (int i = 0; i < 4; ++i) {
        change[&f.controls().fraMain(i)] = {0, 0, px, py};
        change[&f.controls().fraButtons(i)] = {0, py, px, 0};
    }
    for (int i : {1, 2, 3, 4, 6, 7, 9, 10, 12, 13, 14}) change[&f.controls().tbrButtons(i)] = {px, 0, 0, 0};
    for (const vb::ControlBase* c : std::initializer_list<const vb::ControlBase*>{
             &f.controls().TabStripEmail, &f.controls().lvwEmail, &f.controls().TabStripAcnts,
             &f.controls().fraAcnt, &f.controls().TabStripRules, &f.controls().fraRules,
             &f.controls().TabStripOptions, &f.controls().fraOptionsBorder})
        change[c] = {0, 0, px, py};
    for (int i = 1; i <= 6; ++i) change[&f.controls().fraOptions(i)] = {0, 0, px, py};
    for (const vb::ControlBase* c : std::initializer_list<const vb::ControlBase*>{
             &f.controls().fraEmailToolBar, &f.controls().tbrEmail, &f.controls().fraAcntToolBar,
             &f.controls().tbrAcnts, &f.controls().fraRulesToolbar, &f.controls().tbrRules,
             &f.controls().lblOptionsTitle})
        change[c] = {0, 0, px, 0};
    change[&f.controls().StatusBar] = change[&f.controls().ProgressBar] = {0, py, px, 0};
    change[&f.controls().TreeView] = {0, 0, 0, py};
    change[&f.controls().imgOptTitleRight] = change[&f.controls().lblAbout(2)] =
        change[&f.controls().lblAbout(3)] = change[&f.controls().lblAboutWebSite] = {px, 0, 0, 0};
    change[&f.controls().lblAbout(0)] =
        change[&f.controls().lblAbout(1)] = {vb::TwipsToPixelsX(dW / 2), 0, 0, 0};
    change[&f.controls().lblBanner] = {px, 0, 0, 0};  // it names the page at the bar's right end

    const auto after = Places(f);
    int moved = 0;
    for (const auto& [control, was] : before) {
        const QRect now = after.at(control);
        const auto it = change.find(control);
        const QRect d = it == change.end() ? QRect(0, 0, 0, 0) : it->second;
        const QRect expected(was.x() + d.x(), was.y() + d.y(), was.width() + d.width(),
                             was.height() + d.height());
        EXPECT_EQ(now, expected) << control->Widget().metaObject()->className() << " at " << was.x() << ","
                                 << was.y();
        moved += now != was;
    }
    EXPECT_EQ(moved, int(change.size())) << "every control of the table moves, no other";
    // The columns take their shares of the wider list: they still fill it.
    const std::vector<int> wider = columns();
    const int sumBefore = std::accumulate(columnsBefore.begin(), columnsBefore.end(), 0);
    EXPECT_NEAR(std::accumulate(wider.begin(), wider.end(), 0), sumBefore + px, 1);
    for (std::size_t c = 0; c < wider.size(); ++c)
        EXPECT_NEAR(wider[c], columnsBefore[c] * double(sumBefore + px) / sumBefore, 1.5)
            << "column " << c + 1;

    f.layout().SetOuterSize(f.layout().mLastWidth - dW, f.layout().mLastHeight - dH);
    QApplication::processEvents();
    EXPECT_TRUE(Places(f) == before) << "a grow and a shrink restore every place";
    const std::vector<int> back = columns();
    for (std::size_t c = 0; c < back.size(); ++c)
        EXPECT_NEAR(back[c], columnsBefore[c], 1) << "column " << c + 1;
}

TEST_F(MainLayout, QuittingWiderStoresTheColumnWidthsAsAtTheOpeningSize) {
    SaveSetting(kAppKey, QStringLiteral("Settings\\Options"), QStringLiteral("RestoreColWidth"),
                QStringLiteral("0"));
    frmMain& f = LaidOut();
    f.Show();
    QApplication::processEvents();
    std::vector<int> opening;
    for (const char* c : {"From", "To", "Subject", "Date", "Size"})
        opening.push_back(f.controls().lvwEmail.Column(QString::fromLatin1(c)).Width());
    f.layout().SetOuterSize(f.layout().mLastWidth + 3000, f.layout().mLastHeight);
    QApplication::processEvents();
    ASSERT_GT(f.controls().lvwEmail.Column(QStringLiteral("From")).Width(), opening[0])
        << "the columns follow the wider list";
    f.mQuitting = true;
    vb::Forms::Unload<frmMain>();
    int i = 0;
    for (const char* key : {"ColFromWidth", "ColToWidth", "ColSubjectWidth", "ColDateWidth", "ColSizeWidth"})
        EXPECT_NEAR(
            GetSetting(kAppKey, QStringLiteral("Settings\\Options"), QString::fromLatin1(key)).toInt(),
            opening[i++], Px(15))
            << key << ": the next start opens at that size";
}

TEST_F(MainLayout, TheWindowKeepsItsMinimumSizeAndIgnoresResizesWhileLoading) {
    frmMain& f = LaidOut();
    f.Show();
    QApplication::processEvents();
    const auto laidOut = Places(f);
    f.layout().SetOuterSize(f.layout().mMinWidth - 900, 1500);
    QApplication::processEvents();
    EXPECT_EQ(f.layout().OuterWidth(), f.layout().mMinWidth);
    EXPECT_GE(f.layout().OuterHeight(), PxY(::MainLayout::kMinHeight));
    EXPECT_EQ(f.layout().mLastHeight, f.layout().OuterHeight());
    EXPECT_EQ(f.layout().mLastWidth, f.layout().mMinWidth);

    // Grown while loading: nothing is laid out, the last size stays.
    const int lastWidth = f.layout().mLastWidth;
    f.layout().SetOuterSize(f.layout().mMinWidth, f.layout().mStartHeight);
    QApplication::processEvents();
    const auto atStart = Places(f);
    modGeneral::gLoading = true;
    f.layout().SetOuterSize(f.layout().mMinWidth + 1200, f.layout().mStartHeight);
    QApplication::processEvents();
    EXPECT_TRUE(Places(f) == atStart);
    EXPECT_EQ(f.layout().mLastWidth, lastWidth);
    (void)laidOut;
}

TEST_F(MainLayout, MinimisingHidesIntoTheTrayOnlyWhenThereIsOne) {
    for (const bool tray : {true, false}) {
        SCOPED_TRACE(tray ? "with a tray" : "without a tray");
        forms::gTrayAvailable = [tray] { return tray; };
        frmMain& f = LaidOut();
        f.Show();
        vb::Form firstUse;
        vb::Form preview;
        vb::Form ruleReport;
        for (vb::Form* child : {&firstUse, &preview, &ruleReport}) child->Show();
        const auto firstUseSlot = forms::gFirstUseWindow.Register(firstUse);
        const auto previewSlot = forms::gPreviewWindow.Register(preview);
        QApplication::processEvents();
        const auto places = Places(f);

        f.SetWindowState(vb::vbMinimized);
        QApplication::processEvents();
        EXPECT_EQ(f.isHidden(), tray) << "without a tray the window stays in the taskbar";
        EXPECT_EQ(firstUse.isHidden(), tray);
        EXPECT_EQ(preview.isHidden(), tray) << "a registered preview is a shown one";
        EXPECT_FALSE(ruleReport.isHidden()) << "the rule report is never hidden";
        EXPECT_TRUE(forms::FirstUseShown()) << "a hidden window stays open";
        EXPECT_TRUE(Places(f) == places) << "no layout while minimised";
        // Automatic checking is off by default: the tray tip says so.
        EXPECT_EQ(forms::gTrayIcon.Tip(), tray ? QStringLiteral("Auto Check is Off") : modGeneral::gAppName);
    }
}

// Every way down to the tray keeps the window within reach: hidden only
// into a tray, minimised in the taskbar where the desktop has none.
TEST_F(MainLayout, EveryWayDownToTheTrayHidesTheWindowOnlyIntoATray) {
    struct Way {
        const char* name;
        void (*put)(frmMain&);
    };
    const Way ways[] = {
        {"minimise", [](frmMain& f) { f.SetWindowState(vb::vbMinimized); }},
        {"the close box with CloseButton on",
         [](frmMain& f) {
             modOptions::gOpt.CloseButton = 1;
             f.close();
         }},
        {"the Email page's Close",
         [](frmMain& f) { f.controls().tbrButtons(tbrButtons::kClose).Buttons(1).QtButton().click(); }},
    };
    for (const Way& way : ways) {
        for (const bool tray : {true, false}) {
            SCOPED_TRACE(testing::Message() << way.name << (tray ? ", with a tray" : ", without a tray"));
            forms::gTrayAvailable = [tray] { return tray; };
            frmMain& f = LaidOut();
            f.Show();
            QApplication::processEvents();
            way.put(f);
            QApplication::processEvents();
            ASSERT_TRUE(vb::Forms::IsLoaded<frmMain>()) << "the program runs on";
            EXPECT_EQ(f.WindowState(), vb::vbMinimized);
            EXPECT_EQ(f.isHidden(), tray);
        }
    }
}

}  // namespace
