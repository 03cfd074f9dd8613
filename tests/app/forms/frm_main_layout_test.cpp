// The main window's controls, its layout at load, its resize rules and
// minimising into the tray.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>
#include <QMenu>
#include <QRect>
#include <map>
#include <numeric>
#include <vector>

#include "app/common/app_settings.h"
#include "app/forms/child_windows.h"
#include "app/forms/frm_main.h"
#include "app/forms/layout_offset.h"
#include "app/forms/tray_icon_record.h"
#include "app/general/check_status.h"
#include "app/options/option_values.h"
#include "platform/ui/forms.h"
#include "platform/ui/twips.h"
#include "tests/app/forms/laid_out_main_window.h"

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

class FrmMainLayout : public testing::Test {
protected:
    void SetUp() override { modGeneral::gLoading = false; }
    void TearDown() override {
        if (vb::Forms::IsLoaded<frmMain>()) vb::Forms::Get<frmMain>().mQuitting = true;
        vb::Forms::Unload<frmMain>();
        forms::gTrayAvailable = [] { return false; };
        modGeneral::gShowingFirstUse = modGeneral::gShowingMessage = modGeneral::gShowingPreview = false;
    }
};

TEST_F(FrmMainLayout, EveryPageHoldsItsControlsInTheirContainers) {
    frmMain& f = vb::Forms::Get<frmMain>();
    struct Row {
        const char* name;
        const QWidget* control;
        const QWidget* container;
    };
    const Row rows[] = {
        {"fraMainButtons", &f.fraMainButtons, &f},
        {"tbrMainButtons", &f.tbrMainButtons, &f.fraMainButtons},
        {"lblBanner", &f.lblBanner, &f},
        {"fraNoAcntsBanner", &f.fraNoAcntsBanner, &f},
        {"lblNoAcntsBanner", &f.lblNoAcntsBanner, &f.fraNoAcntsBanner},
        {"cmdTakeFocus", &f.cmdTakeFocus, &f},
        {"picClientIcon", &f.picClientIcon, &f},
        {"TabStripEmail", &f.TabStripEmail, &f.fraMain(0)},
        {"tbrEmail", &f.tbrEmail, &f.fraEmailToolBar},
        {"lvwEmail", &f.lvwEmail, &f.fraMain(0)},
        {"StatusBar", &f.StatusBar, &f.fraMain(0)},
        {"ProgressBar", &f.ProgressBar, &f.fraMain(0)},
        {"tbrButtons(0)", &f.tbrButtons(0), &f.fraButtons(0)},
        {"tbrButtons(14)", &f.tbrButtons(14), &f.fraButtons(0)},
        {"tbrButtons(6)", &f.tbrButtons(6), &f.fraButtons(1)},
        {"tbrButtons(10)", &f.tbrButtons(10), &f.fraButtons(2)},
        {"tbrButtons(13)", &f.tbrButtons(13), &f.fraButtons(3)},
        {"fraButtons(3)", &f.fraButtons(3), &f.fraMain(3)},
        {"TabStripAcnts", &f.TabStripAcnts, &f.fraMain(1)},
        {"tbrAcnts", &f.tbrAcnts, &f.fraAcntToolBar},
        {"txtAcntPassword", &f.txtAcntPassword, &f.fraAcnt},
        {"lblColourBox(6)", &f.lblColourBox(6), &f.fraColourBox},
        {"tbrClient(1)", &f.tbrClient(1), &f.fraAcnt},
        {"tbrMoveButtons(0)", &f.tbrMoveButtons(0), &f.fraAcnt},
        {"tbrRules", &f.tbrRules, &f.fraRulesToolbar},
        {"lstRules", &f.lstRules, &f.fraRules},
        {"cboCondition", &f.cboCondition, &f.fraRule},
        {"optRuleAction(2)", &f.optRuleAction(2), &f.fraAction},
        {"updRuleNotifyTime", &f.updRuleNotifyTime, &f.fraNotify},
        {"tbrMoveButtons(1)", &f.tbrMoveButtons(1), &f.fraRules},
        {"TreeView", &f.TreeView, &f.fraMain(3)},
        {"fraOptions(1)", &f.fraOptions(1), &f.fraOptionsBorder},
        {"imgOptTitleRight", &f.imgOptTitleRight, &f.fraOptionsBorder},
        {"updStartUpDelay", &f.updStartUpDelay, &f.fraOptions(1)},
        {"updNoCheck(3)", &f.updNoCheck(3), &f.fraOptions(2)},
        {"tbrClient(0)", &f.tbrClient(0), &f.fraOptions(3)},
        {"optRunSize(3)", &f.optRunSize(3), &f.fraRunSize},
        {"opt3DTheme(6)", &f.opt3DTheme(6), &f.fra3DPreset},
        {"lbl3DBottomColour", &f.lbl3DBottomColour, &f.fraOptions(4)},
        {"optSortColumn(5)", &f.optSortColumn(5), &f.fraSort(0)},
        {"optApplyStyle(3)", &f.optApplyStyle(3), &f.fraApplyStyle},
        {"tbrOptMisc(0)", &f.tbrOptMisc(0), &f.fraOptions(5)},
        {"lblAboutWebSite", &f.lblAboutWebSite, &f.fraOptions(6)},
        {"tbrOptAbout(1)", &f.tbrOptAbout(1), &f.fraOptions(6)},
    };
    for (const Row& row : rows) EXPECT_EQ(row.control->parentWidget(), row.container) << row.name;

    // Keys, captions (trailing blanks kept) and tool tips of the buttons.
    struct Button {
        vb::ToolBar* bar;
        const char* key;
        QString caption;
        QString tip;
        bool enabled;
    };
    const Button buttons[] = {
        {&f.tbrMainButtons, "Email", QStringLiteral("Email        "), QStringLiteral("Email Messages"), true},
        {&f.tbrMainButtons, "Size", QStringLiteral("Size         "), QStringLiteral("Restore Original Size"),
         true},
        // No account yet: the load leaves the message buttons disabled.
        {&f.tbrEmail, "EmailCheck", QStringLiteral("Check   "), QStringLiteral("Check Account for Messages"),
         false},
        {&f.tbrButtons(1), "StopRetrieval", QStringLiteral("Stop Retrieval      "),
         QStringLiteral("Stop Retrieving Messages"), true},
        {&f.tbrButtons(12), "SaveOptions", QStringLiteral("Save Options    "),
         QStringLiteral("Save changes to Options"), false},
        {&f.tbrRules, "RulesAdd", QStringLiteral("Add Rule                "),
         QStringLiteral("Add a New Rule"), true},
        // No rule yet: the rule editor's buttons are off.
        {&f.tbrRuleUpdate(0), "Clear", QStringLiteral("Clear Description    "),
         QStringLiteral("Clear Rule Description "), false},
        {&f.tbrOptMisc(0), "Example", QStringLiteral("Example   "), QStringLiteral("Example of Button Style"),
         true},
        {&f.tbrOptAbout(0), "ReadMe", QStringLiteral("View Read Me  "), QStringLiteral("View Read Me"), true},
    };
    for (const Button& b : buttons) {
        const vb::ToolButton& button = b.bar->Buttons(QString::fromLatin1(b.key));
        EXPECT_EQ(button.Caption(), b.caption) << b.key;
        EXPECT_EQ(button.ToolTipText(), b.tip) << b.key;
        EXPECT_EQ(button.Enabled(), b.enabled) << b.key;
    }
    EXPECT_EQ(f.tbrOptMisc(0).Buttons(1).Image(), QStringLiteral("SelectAll"))
        << "the example shows Select All";
    EXPECT_EQ(f.tbrButtons.Count(), 15);
    EXPECT_EQ(f.tbrEmail.ButtonCount(), 7);

    // The list's nine columns: five keyed, four hidden ones by position.
    const char* captions[] = {"From", "To", "Subject", "Date", "Size", "Body", "MsgID", "Raw", "Blank"};
    ASSERT_EQ(f.lvwEmail.ColumnCount(), 9);
    for (int c = 1; c <= 9; ++c) EXPECT_EQ(f.lvwEmail.Column(c).Text(), QString::fromLatin1(captions[c - 1]));
    EXPECT_EQ(f.lvwEmail.Column(QStringLiteral("Size")).Index(), 5);
    EXPECT_EQ(f.lvwEmail.Column(6).Width(), 0);
    EXPECT_EQ(f.StatusBar.PanelCount(), 5);

    EXPECT_EQ(f.mnuTrayPopMenu.QtMenu()->actions().size(), 16);
    EXPECT_EQ(f.mnuEmailPopMenu.QtMenu()->actions().size(), 4);
    EXPECT_EQ(f.mnuTrayQuitApplication.Caption(), QStringLiteral("&Quit Application|#Quit"));
    const std::pair<const vb::Timer*, int> timers[] = {{&f.tmrStatusBar, 1000},
                                                       {&f.tmrMailTime, 1000},
                                                       {&f.tmrMailStartUp, 1000},
                                                       {&f.tmrRetrieveMessage, 100},
                                                       {&f.tmrDragTab, 1000}};
    for (const auto& [timer, interval] : timers) {
        EXPECT_EQ(timer->Interval(), interval);
        EXPECT_FALSE(timer->Enabled()) << "the start procedure enables the one it needs";
    }
}

TEST_F(FrmMainLayout, LoadLayoutKeepsItsRelationsAtEveryFontSize) {
    for (const double points : {9.0, 15.0}) {
        SCOPED_TRACE(points);
        const FontSize font(points);
        frmMain& f = LaidOut();
        const int bw = f.tbrMainButtons.ButtonWidth();
        const int offset = forms::gLayoutOffset;
        // The extra width of the page buttons as drawn; at the larger size the
        // list's dates need more.
        if (points == 9.0)
            EXPECT_EQ(offset, bw * 6 - Px(6600)) << "extra width of the page buttons as drawn";
        else
            EXPECT_GT(offset, bw * 6 - Px(6600)) << "the dates in bold need more";
        EXPECT_EQ(offset % Px(15), 0) << "whole pixels";
        EXPECT_EQ(f.tbrMainButtons.Width(), bw * 6);
        EXPECT_EQ(f.fraMainButtons.Height(), PxY(int(std::nearbyint(1.7 * f.tbrMainButtons.Height()))));
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(f.fraMain(i).Width(), Px(9600) + offset) << i;
            EXPECT_EQ(f.fraMain(i).Top(), Bottom(f.fraMainButtons)) << i;
            EXPECT_EQ(f.fraMain(i).isHidden(), i != 0) << "the window opens on the Email page";
            EXPECT_EQ(f.fraButtons(i).Top(), Bottom(f.TabStripEmail) - PxY(100)) << i;
        }
        EXPECT_EQ(f.TabStripEmail.Width(), Px(9600) + offset);
        EXPECT_EQ(f.lblBanner.Left(), Px(6900) + offset) << "the page name stays clear of the page buttons";

        // The Email page stacks tool bar, list and status bar inside the strip,
        // below its tab row, and above the button bar.
        EXPECT_GE(f.fraEmailToolBar.Top(), PxY(324));
        EXPECT_GE(f.fraEmailToolBar.Top(), f.TabStripEmail.ClientTop()) << "the tab row stays uncovered";
        EXPECT_EQ(f.lvwEmail.Top(), Bottom(f.fraEmailToolBar));
        EXPECT_EQ(f.StatusBar.Top(), Bottom(f.lvwEmail));
        EXPECT_LE(Bottom(f.StatusBar), f.fraButtons(0).Top());
        EXPECT_TRUE(f.ProgressBar.isHidden());
        EXPECT_TRUE(f.tbrButtons(1).isHidden());
        EXPECT_TRUE(f.tbrButtons(14).isHidden());

        // Button bars: right-hand bars 100 apart, the last 100 from the edge;
        // the Help bars keep their place at the left.
        const std::vector<std::vector<int>> bars = {{1, 2, 3, 4}, {6, 7}, {9, 10}, {12, 13}};
        for (int page = 0; page < 4; ++page) {
            const auto& row = bars[page];
            EXPECT_EQ(Right(f.tbrButtons(row.back())), f.fraButtons(page).Width() - Px(100)) << page;
            for (std::size_t k = 1; k < row.size(); ++k)
                EXPECT_EQ(f.tbrButtons(row[k]).Left() - Right(f.tbrButtons(row[k - 1])), Px(100)) << row[k];
            EXPECT_EQ(f.tbrButtons(page == 0 ? 0 : page * 3 + 2).Left(), Px(60)) << page;
        }
        EXPECT_EQ(Right(f.tbrButtons(14)), Right(f.tbrButtons(1)))
            << "both end 100 left of the client button";
        EXPECT_EQ(f.tbrButtons(14).Width(), f.tbrButtons(14).ButtonWidth());

        // Accounts and Rules pages.
        EXPECT_EQ(f.tbrMoveButtons(0).Left(), Px(8520) + offset);
        EXPECT_EQ(f.tbrClient(1).Width(), 2 * f.tbrClient(1).ButtonWidth());
        EXPECT_EQ(f.lblAcntPlaySound.Top(), f.tbrSound(1).Top() + PxY(36));
        EXPECT_EQ(f.fraRule.Left(), Px(2540) + offset);
        EXPECT_EQ(f.lstRules.Width(), Px(2300) + offset);
        EXPECT_LT(Right(f.lstRules), f.fraRule.Left()) << "the rule frames stay right of the list";
        EXPECT_EQ(f.tbrMoveButtons(1).Left(), Px(Px(850) + int(std::nearbyint(offset / 2.0))));
        EXPECT_EQ(f.tbrRuleUpdate(1).Left(), Right(f.tbrRuleUpdate(0)));
        EXPECT_EQ(f.fraRulesToolbar.Top(), PxY(70));
        EXPECT_EQ(f.fraRules.Top(), f.fraRulesToolbar.Height() - PxY(48));
        EXPECT_TRUE(f.fraColourBox.isHidden());
        EXPECT_EQ(f.lblColourBox(5).BackColor(), 0x0000FFu);

        // Banner over the tab row; window around the tab strip, centred.
        EXPECT_EQ(f.fraNoAcntsBanner.Left(), Px(30));
        EXPECT_EQ(f.fraNoAcntsBanner.Top(), f.fraMainButtons.Height());
        EXPECT_EQ(f.layout().mMinWidth, f.layout().OuterWidth());
        EXPECT_GE(f.ScaleWidth(), f.TabStripEmail.Width());
        EXPECT_EQ(f.layout().mStartHeight, f.layout().mLastHeight);
        EXPECT_NEAR(f.Left(), (vb::ScreenWidth() - f.layout().mMinWidth) / 2, 15);
    }
}

TEST_F(FrmMainLayout, ColumnWidthsComeFromTheListOrFromTheStore) {
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
        const int w = int(std::nearbyint(f.lvwEmail.Width() / 4.5));
        EXPECT_EQ(f.layout().mColBaseWidth, w);
        const int from = c.from < 0 ? w : c.from;
        const int size = c.size == -1 ? w : c.size == -2 ? int(std::nearbyint(w / 2.15)) : c.size;
        EXPECT_EQ(f.lvwEmail.Column(QStringLiteral("From")).Width(), Px(from));
        EXPECT_EQ(f.lvwEmail.Column(QStringLiteral("Date")).Width(), Px(w));
        EXPECT_EQ(f.lvwEmail.Column(QStringLiteral("Size")).Width(), Px(size));
        EXPECT_EQ(f.lvwEmail.Column(3).Icon(), QStringLiteral("Blank"));
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

TEST_F(FrmMainLayout, ResizeMovesExactlyTheTableControlsAndComesBack) {
    frmMain& f = LaidOut();
    f.Show();
    QApplication::processEvents();
    const auto before = Places(f);
    const auto columns = [&f] {
        std::vector<int> widths;
        for (int c = 1; c <= 5; ++c) widths.push_back(f.lvwEmail.columnWidth(c - 1));
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
    std::map<const vb::ControlBase*, QRect> change = {{&f.fraMainButtons, {0, 0, px, 0}}};
    for (int i = 0; i < 4; ++i) {
        change[&f.fraMain(i)] = {0, 0, px, py};
        change[&f.fraButtons(i)] = {0, py, px, 0};
    }
    for (int i : {1, 2, 3, 4, 6, 7, 9, 10, 12, 13, 14}) change[&f.tbrButtons(i)] = {px, 0, 0, 0};
    for (const vb::ControlBase* c : std::initializer_list<const vb::ControlBase*>{
             &f.TabStripEmail, &f.lvwEmail, &f.TabStripAcnts, &f.fraAcnt, &f.TabStripRules, &f.fraRules,
             &f.TabStripOptions, &f.fraOptionsBorder})
        change[c] = {0, 0, px, py};
    for (int i = 1; i <= 6; ++i) change[&f.fraOptions(i)] = {0, 0, px, py};
    for (const vb::ControlBase* c : std::initializer_list<const vb::ControlBase*>{
             &f.fraEmailToolBar, &f.tbrEmail, &f.fraAcntToolBar, &f.tbrAcnts, &f.fraRulesToolbar, &f.tbrRules,
             &f.lblOptionsTitle})
        change[c] = {0, 0, px, 0};
    change[&f.StatusBar] = change[&f.ProgressBar] = {0, py, px, 0};
    change[&f.TreeView] = {0, 0, 0, py};
    change[&f.imgOptTitleRight] = change[&f.lblAbout(2)] = change[&f.lblAbout(3)] =
        change[&f.lblAboutWebSite] = {px, 0, 0, 0};
    change[&f.lblAbout(0)] = change[&f.lblAbout(1)] = {vb::TwipsToPixelsX(dW / 2), 0, 0, 0};
    change[&f.lblBanner] = {px, 0, 0, 0};  // it names the page at the bar's right end

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

TEST_F(FrmMainLayout, QuittingWiderStoresTheColumnWidthsAsAtTheOpeningSize) {
    SaveSetting(kAppKey, QStringLiteral("Settings\\Options"), QStringLiteral("RestoreColWidth"),
                QStringLiteral("0"));
    frmMain& f = LaidOut();
    f.Show();
    QApplication::processEvents();
    std::vector<int> opening;
    for (const char* c : {"From", "To", "Subject", "Date", "Size"})
        opening.push_back(f.lvwEmail.Column(QString::fromLatin1(c)).Width());
    f.layout().SetOuterSize(f.layout().mLastWidth + 3000, f.layout().mLastHeight);
    QApplication::processEvents();
    ASSERT_GT(f.lvwEmail.Column(QStringLiteral("From")).Width(), opening[0])
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

TEST_F(FrmMainLayout, TheWindowKeepsItsMinimumSizeAndIgnoresResizesWhileLoading) {
    frmMain& f = LaidOut();
    f.Show();
    QApplication::processEvents();
    const auto laidOut = Places(f);
    f.layout().SetOuterSize(f.layout().mMinWidth - 900, 1500);
    QApplication::processEvents();
    EXPECT_EQ(f.layout().OuterWidth(), f.layout().mMinWidth);
    EXPECT_GE(f.layout().OuterHeight(), PxY(MainLayout::kMinHeight));
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

TEST_F(FrmMainLayout, MinimisingHidesIntoTheTrayOnlyWhenThereIsOne) {
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
        modGeneral::gShowingFirstUse = true;
        modGeneral::gShowingMessage = true;  // flagged but not registered: nothing to hide
        modGeneral::gShowingPreview = false;
        QApplication::processEvents();
        const auto places = Places(f);

        f.SetWindowState(vb::vbMinimized);
        QApplication::processEvents();
        EXPECT_EQ(f.isHidden(), tray) << "without a tray the window stays in the taskbar";
        EXPECT_EQ(firstUse.isHidden(), tray);
        EXPECT_FALSE(preview.isHidden()) << "not flagged";
        EXPECT_FALSE(ruleReport.isHidden()) << "the rule report is never hidden";
        EXPECT_TRUE(modGeneral::gShowingFirstUse) << "a hidden window stays open";
        EXPECT_TRUE(Places(f) == places) << "no layout while minimised";
        // Automatic checking is off by default: the tray tip says so.
        EXPECT_EQ(forms::gTrayIcon.Tip(), tray ? QStringLiteral("Auto Check is Off") : modGeneral::gAppName);
    }
}

// Every way down to the tray keeps the window within reach: hidden only
// into a tray, minimised in the taskbar where the desktop has none.
TEST_F(FrmMainLayout, EveryWayDownToTheTrayHidesTheWindowOnlyIntoATray) {
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
        {"the Email page's Close", [](frmMain& f) { f.tbrButtons(4).Buttons(1).QtButton().click(); }},
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
