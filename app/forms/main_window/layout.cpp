// The main window's layout: once at load from absolute rules, then by the
// change in size at each resize.
#include "app/forms/main_window/layout.h"

#include <QIcon>
#include <QPixmap>
#include <QTabBar>
#include <algorithm>
#include <cmath>

#include "app/check/schedule.h"
#include "app/common/app_settings.h"
#include "app/common/date_text.h"
#include "app/common/stored_number.h"
#include "app/forms/common/child_windows.h"
#include "app/forms/main_window/command_keys.h"
#include "app/forms/main_window/layout_offset.h"
#include "app/forms/main_window/window_slots.h"
#include "app/general/check_status.h"
#include "app/general/message_store.h"
#include "app/options/option_values.h"
#include "platform/desktop/tray_icon.h"
#include "platform/ui/twips.h"
#include "platform/ui/window_frame.h"

using namespace frmMainElements;  // tbrClient(tbrClient::kAccount)

namespace forms {

int gLayoutOffset = 0;

ViewSlot<vb::Form> gFirstUseWindow;
ViewSlot<vb::Form> gMessageWindow;
ViewSlot<vb::Form> gPreviewWindow;
ViewSlot<vb::Form> gRuleReportWindow;

std::function<bool()> gTrayAvailable = [] { return platform::desktop::TrayIcon::available(); };

}  // namespace forms

namespace {

// Measures of the layout, in twips.
constexpr double kFrameFactor = 1.7;       // a tool-bar frame to its tool bar's height
constexpr int kToolBarFrameTop = 324;      // below the tab strip's top: Email, Accounts
constexpr int kRulesToolBarFrameTop = 70;  // the same on the Rules page
constexpr int kListBottomMargin = 120;
constexpr int kGap = 100;         // between right-hand tool bars, and from the bar's right edge
constexpr int kBarOverlap = 100;  // button bar over the tab strip's bottom
constexpr int kRulesFrameOverlap = 48;
constexpr int kSoundLabelOffset = 36;
constexpr int kBannerIndent = 30;
constexpr double kColumnDivisor = 4.5;
constexpr double kSizeDivisor = 2.15;  // the Size column's share: W / 2.15
constexpr int kProgressLeft = 15;
constexpr int kProgressTop = 36;
constexpr int kFramePasses = 4;  // fraMain, fraButtons: Email, Accounts, Rules, Options

const QString kOptions = QStringLiteral("Settings\\Options");

// Stored column widths, in list order with their keys.
struct ColumnWidthKey {
    const char16_t* column;
    const char16_t* setting;
};
constexpr ColumnWidthKey kColumnWidthKeys[] = {{u"From", u"ColFromWidth"},
                                               {u"To", u"ColToWidth"},
                                               {u"Subject", u"ColSubjectWidth"},
                                               {u"Date", u"ColDateWidth"},
                                               {u"Size", u"ColSizeWidth"}};

// To a whole twip: the nearest, a half to the even one.
int Round(double twips) { return static_cast<int>(std::nearbyint(twips)); }

void Widen(vb::ControlBase& c, int by) { c.SetWidth(c.Width() + by); }
void Shift(vb::ControlBase& c, int by) { c.SetLeft(c.Left() + by); }
void Grow(vb::ControlBase& c, int dW, int dH) {
    Widen(c, dW);
    c.SetHeight(c.Height() + dH);
}

// The height of the strip's tab row as drawn here with a tab that has a
// picture; the account tabs have one. At least the height of a tab it holds.
int TabRowHeight(vb::TabStrip& strip) {
    QTabBar probe;
    probe.setFont(strip.Bar().font());
    probe.setIconSize(strip.Bar().iconSize());
    QPixmap picture(probe.iconSize());
    picture.fill(Qt::transparent);
    probe.addTab(QIcon(picture), QStringLiteral("Ag"));
    int height = vb::PixelsToTwipsY(probe.sizeHint().height());
    if (strip.TabCount() >= 1) height = std::max(height, strip.TabHeight(1));
    return height;
}

// Where a page's tool-bar frame starts below its tab strip's top: the
// designed 324 twips, or under the tab row when the row drawn here is
// taller, so the account tabs are never covered.
int ToolBarFrameTop(vb::TabStrip& strip) {
    return strip.Top() + std::max(kToolBarFrameTop, TabRowHeight(strip));
}

// A stored column width: the number as stored, the default when it is no
// number or less than 0.
int StoredWidth(const QString& key, int base) {
    const int width = StoredInteger(GetSetting(kAppKey, kOptions, key, QString::number(base)), int16_t(base));
    return width < 0 ? base : width;
}

// Moments at the widest times of day in every month of a year: one- and
// two-digit hours, morning and afternoon, two-digit days.
std::vector<QDateTime> WidestMoments() {
    std::vector<QDateTime> moments;
    for (int month = 1; month <= 12; ++month)
        for (int hour : {0, 9, 10, 12, 21, 22})
            moments.emplace_back(QDate(2026, month, 28), QTime(hour, 58, 58));
    return moments;
}

// The texts given, then prefix followed by each of the widest times of day.
std::vector<QString> WithTimes(std::vector<QString> texts, const QString& prefix) {
    for (const QDateTime& t : WidestMoments()) texts.push_back(prefix + FormatDate(t, "h:mm AM/PM"));
    return texts;
}

// The texts each fixed status panel shows, at their widest: the count, a
// check's status and progress, the automatic check and the download, the
// clock.
std::vector<QString> PanelTexts(int panel) {
    switch (panel) {
        case forms::panel::kNewCount:
            return {QStringLiteral("9999")};
        case forms::panel::kStatus:
            return WithTimes({QStringLiteral("Not Checked"), QStringLiteral("StartUp Check: 59 sec"),
                              QStringLiteral("100 % Complete")},
                             QStringLiteral("Checked at: "));
        case forms::panel::kAutoCheck:
            return WithTimes({QStringLiteral("Auto Check Off"), QStringLiteral("Retrieving... (999 of 999)"),
                              QStringLiteral("Stopping Retrieve... 999")},
                             QStringLiteral("Auto Check at "));
        default: {
            std::vector<QString> clocks;
            for (const QDateTime& t : WidestMoments()) clocks.push_back(modCheck::ClockPanelText(t));
            return clocks;
        }
    }
}

// Gives each fixed status panel the width of its widest text where that is
// more than designed, the first keeping its designed width; returns how much
// wider than the bar the panels then are together (less than 0: narrower).
int FitStatusPanels(vb::StatusBar& bar, int pictureWidth) {
    for (int panel = forms::panel::kNewCount; panel <= bar.PanelCount(); ++panel) {
        int width = bar.PanelWidth(panel);
        for (const QString& text : PanelTexts(panel))
            width = std::max(
                width, bar.PanelWidthFor(panel, text, panel == forms::panel::kNewCount ? pictureWidth : 0));
        bar.SetPanelWidth(panel, width);
    }
    return vb::PixelsToTwipsX(bar.minimumSizeHint().width()) - bar.Width();
}

// How much wider than it is the list must be for its Date and Size columns,
// at their designed shares of the width its columns fill, to show their
// widest texts whole, in bold as new mail is (less than 0: it could be
// narrower).
int ListTextOffset(const vb::ListView& list) {
    int date = 0;
    for (const QDateTime& t : WidestMoments())
        date = std::max(date, list.CellWidthFor(modGeneral::ListDateText(t), true));
    const int size = list.CellWidthFor(QStringLiteral("99999 KB"), true);
    const double needed = std::max(date * kColumnDivisor, size * kSizeDivisor * kColumnDivisor);
    // In whole pixels, as every place and size on the screen is.
    return vb::PixelsToTwipsX(static_cast<int>(std::ceil(needed / vb::TwipsPerPixelX()))) -
           list.ColumnSpace();
}

// Right-hand tool bars of a button bar, from the right: the first ends kGap
// from the bar's right edge, each next one kGap left of the one before.
void PlaceFromRight(const vb::Frame& bar, std::initializer_list<vb::ToolBar*> fromRight) {
    int right = bar.Width() - kGap;
    for (vb::ToolBar* t : fromRight) {
        t->SetLeft(right - t->Width());
        right = t->Left() - kGap;
    }
}

}  // namespace

MainLayout::MainLayout(vb::Form& window, frmMainDesign& design, forms::CommandKeys& commands)
    : window_(window), controls_(design) {
    commands.Add(u"tbrOptMisc", u"RestoreColWidth", [this](int16_t) { ResetColumnWidths(); });
}

// The list's five columns take their shares of a change in its width, so
// they fill the list at every size as they do at load.
void MainLayout::ShareColumnWidths(int dW) {
    constexpr int kColumns = 5;
    vb::ListView& list = controls_.lvwEmail;
    int total = 0;
    for (int c = 1; c <= kColumns; ++c) total += list.Column(c).Width();
    if (total <= 0 || total + dW <= 0) return;
    // Each column ends where its share of the new total ends: no rounding
    // piles up from column to column.
    int before = 0;
    int placed = 0;
    for (int c = 1; c <= kColumns; ++c) {
        before += list.Column(c).Width();
        const int end = static_cast<int>(std::lround(double(before) * (total + dW) / total));
        list.Column(c).SetWidth(end - placed);
        placed = end;
    }
}

void MainLayout::ArrangeControls() {
    FitToolBars();
    StackPages();
    ArrangeEmailPage();
    ArrangeButtonBars();
    ArrangeColumns();
    ArrangeAccountsPage();
    ArrangeRulesPage();
    ArrangeBanner();
}

// Tool bars sized to their buttons as drawn; the offset is what the page
// buttons need beyond their designed bar, or what the list's dates and sizes
// and the status panels need at the designed proportions, the most of the three.
void MainLayout::FitToolBars() {
    Controls& c = controls_;
    const int buttons = Round(double(c.tbrMainButtons.ButtonWidth()) * c.tbrMainButtons.ButtonCount() -
                              c.tbrMainButtons.Width());
    const int countPicture =
        vb::PixelsToTwipsX(c.imlListViewIcons.Count() > 0 ? c.imlListViewIcons.Picture(1).width() : 16);
    forms::gLayoutOffset =
        std::max({buttons, ListTextOffset(c.lvwEmail), FitStatusPanels(c.StatusBar, countPicture)});
    for (vb::ToolBar* t : {&c.tbrMainButtons, &c.tbrEmail, &c.tbrAcnts, &c.tbrRules})
        t->SetWidth(t->ButtonWidth() * t->ButtonCount());
    // Each page tool bar is its one row of buttons high: a taller bar (and
    // the frame made 1.7 times as tall around it) would only add empty bands.
    for (vb::ToolBar* t : {&c.tbrMainButtons, &c.tbrEmail, &c.tbrAcnts, &c.tbrRules})
        t->SetHeight(t->ButtonHeight());
    c.tbrButtons.ForEach([](int, vb::ToolBar& t) {
        t.SetWidth(t.ButtonWidth());
        t.SetHeight(2 * t.Height());
    });
    for (auto* bars :
         {&c.tbrMoveButtons, &c.tbrClient, &c.tbrSound, &c.tbrRuleUpdate, &c.tbrOptMisc, &c.tbrOptAbout})
        bars->ForEach([](int, vb::ToolBar& t) { t.SetHeight(2 * t.Height()); });
}

// Tool-bar frames, page buttons, pages.
void MainLayout::StackPages() {
    using forms::gLayoutOffset;
    Controls& c = controls_;
    c.fraMainButtons.SetHeight(Round(kFrameFactor * c.tbrMainButtons.Height()));
    c.fraEmailToolBar.SetHeight(Round(kFrameFactor * c.tbrEmail.Height()));
    c.fraAcntToolBar.SetHeight(Round(kFrameFactor * c.tbrAcnts.Height()));
    c.fraRulesToolbar.SetHeight(Round(kFrameFactor * c.tbrRules.Height()));
    c.fraMainButtons.SetCaption(QString());
    Widen(c.fraMainButtons, gLayoutOffset);
    // The page name keeps its distance from the page buttons.
    Shift(c.lblBanner, gLayoutOffset);
    for (int i = 0; i < kFramePasses; ++i) {
        vb::Frame& page = c.fraMain(i);
        Widen(page, gLayoutOffset);
        page.Move(0, c.fraMainButtons.Top() + c.fraMainButtons.Height());
        page.SetCaption(QString());
        page.SetBorderStyle(0);
        page.SetVisible(false);
        c.fraButtons(i).SetHeight(c.fraMainButtons.Height());
    }
    c.fraMain(forms::page::kEmail).SetVisible(true);
    c.fraMain(forms::page::kEmail).ZOrder(0);
}

// Email page: tab strip, tool bar, list, status bar.
void MainLayout::ArrangeEmailPage() {
    Controls& c = controls_;
    for (vb::ControlBase* control : std::initializer_list<vb::ControlBase*>{
             &c.fraEmailToolBar, &c.TabStripEmail, &c.lvwEmail, &c.StatusBar})
        Widen(*control, forms::gLayoutOffset);
    c.TabStripEmail.Move(0, 0);
    c.tbrButtons(forms::bar::kStopRetrieval).SetVisible(false);
    c.tbrButtons(forms::bar::kPauseStartUp).SetVisible(false);
    c.fraEmailToolBar.SetTop(ToolBarFrameTop(c.TabStripEmail));
    c.lvwEmail.SetTop(c.fraEmailToolBar.Top() + c.fraEmailToolBar.Height());
    const int firstTab = c.TabStripEmail.TabCount() >= 1 ? TabRowHeight(c.TabStripEmail) : 0;
    c.lvwEmail.SetHeight(c.TabStripEmail.Height() - firstTab - c.fraEmailToolBar.Height() -
                         c.StatusBar.Height() - kListBottomMargin);
    c.StatusBar.SetTop(c.lvwEmail.Top() + c.lvwEmail.Height());
    // The progress bar lies inside the status bar, over its first panel.
    c.ProgressBar.SetVisible(false);
    c.ProgressBar.Move(c.StatusBar.Left() + kProgressLeft, c.StatusBar.Top() + kProgressTop,
                       std::max(0, c.StatusBar.PanelWidth(forms::panel::kResult) - 2 * kProgressLeft),
                       std::max(0, c.StatusBar.Height() - 2 * kProgressTop));
}

// Button bars overlap the tab strip's bottom, behind what they overlap.
void MainLayout::ArrangeButtonBars() {
    Controls& c = controls_;
    for (int i = 0; i < kFramePasses; ++i) {
        vb::Frame& bar = c.fraButtons(i);
        Widen(bar, forms::gLayoutOffset);
        bar.SetTop(c.TabStripEmail.Top() + c.TabStripEmail.Height() - kBarOverlap);
        bar.SetBorderStyle(0);
        bar.ZOrder(1);
    }
    PlaceFromRight(c.fraButtons(forms::page::kEmail),
                   {&c.tbrButtons(forms::bar::kClose), &c.tbrButtons(forms::bar::kCheckAll),
                    &c.tbrButtons(forms::bar::kStartEmailClient), &c.tbrButtons(forms::bar::kStopRetrieval)});
    c.tbrButtons(forms::bar::kPauseStartUp)
        .SetLeft(c.tbrButtons(forms::bar::kStartEmailClient).Left() - kGap -
                 c.tbrButtons(forms::bar::kPauseStartUp).Width());
}

// Message list columns: the defaults from the list width, or the widths
// saved at the last shutdown.
void MainLayout::ArrangeColumns() {
    modOptions::LoadOptions(modOptions::ReadBy::Layout);
    mRestoreColWidth = modOptions::gOpt.RestoreColWidth;
    // The columns share the width they can fill beside a vertical scroll
    // bar: however many rows come, no horizontal one appears.
    mColBaseWidth = Round(controls_.lvwEmail.ColumnSpace() / kColumnDivisor);
    const int w = mColBaseWidth;
    if (mRestoreColWidth == 1) {
        ResetColumnWidths();
    } else {
        mColFromWidth = StoredWidth(QStringLiteral("ColFromWidth"), w);
        mColToWidth = StoredWidth(QStringLiteral("ColToWidth"), w);
        mColSubjectWidth = StoredWidth(QStringLiteral("ColSubjectWidth"), w);
        mColDateWidth = StoredWidth(QStringLiteral("ColDateWidth"), w);
        mColSizeWidth = StoredWidth(QStringLiteral("ColSizeWidth"), w);
        ShowColumnWidths();
    }
    for (int c = 1; c <= 5; ++c) controls_.lvwEmail.Column(c).SetIcon(QStringLiteral("Blank"));
}

void MainLayout::ArrangeAccountsPage() {
    using forms::gLayoutOffset;
    Controls& c = controls_;
    for (vb::ControlBase* control :
         std::initializer_list<vb::ControlBase*>{&c.fraAcnt, &c.fraAcntToolBar, &c.TabStripAcnts})
        Widen(*control, gLayoutOffset);
    c.TabStripAcnts.Move(0, 0);
    c.fraAcntToolBar.SetTop(ToolBarFrameTop(c.TabStripAcnts));
    c.fraAcnt.SetTop(c.fraAcntToolBar.Top() + c.fraAcntToolBar.Height());
    Widen(c.tbrColour, gLayoutOffset);
    c.tbrColour.SetHeight(2 * c.tbrColour.Height());
    Shift(c.tbrMoveButtons(tbrMoveButtons::kAccounts), gLayoutOffset);
    for (vb::ToolBar* t : {&c.tbrClient(tbrClient::kAccount), &c.tbrSound(tbrSound::kAccount)})
        t->SetWidth(2 * t->ButtonWidth());
    for (vb::ControlBase* control :
         std::initializer_list<vb::ControlBase*>{&c.lblAcntRunSize, &c.chkAcntSoundOn, &c.lblAcntPlaySound})
        Shift(*control, gLayoutOffset);
    // The account colours, as &H00BBGGRR: blue, cyan, green, magenta, red, black.
    constexpr vb::OleColor kSwatches[] = {0xFF0000, 0xFFFF00, 0x00FF00, 0xFF00FF, 0x0000FF, 0x000000};
    for (int i = 1; i <= 6; ++i) {
        c.lblColourBox(i).SetCaption(QString());
        c.lblColourBox(i).SetBackColor(kSwatches[i - 1]);
    }
    c.fraColourBox.SetVisible(false);
    c.lblAcntPlaySound.SetTop(c.tbrSound(tbrSound::kAccount).Top() + kSoundLabelOffset);
    PlaceFromRight(c.fraButtons(forms::page::kAccounts),
                   {&c.tbrButtons(forms::bar::kCancelAccount), &c.tbrButtons(forms::bar::kSaveAccount)});
}

void MainLayout::ArrangeRulesPage() {
    using forms::gLayoutOffset;
    Controls& c = controls_;
    for (vb::ControlBase* control : std::initializer_list<vb::ControlBase*>{
             &c.fraRulesToolbar, &c.TabStripRules, &c.fraRules, &c.lstRules})
        Widen(*control, gLayoutOffset);
    c.TabStripRules.Move(0, 0);
    for (vb::ControlBase* control :
         std::initializer_list<vb::ControlBase*>{&c.fraRule, &c.fraAction, &c.fraNotify})
        Shift(*control, gLayoutOffset);
    for (vb::ToolBar* t :
         {&c.tbrRuleUpdate(tbrRuleUpdate::kDescription), &c.tbrRuleUpdate(tbrRuleUpdate::kUndoRedo)})
        t->SetWidth(2 * t->ButtonWidth());
    c.tbrRuleUpdate(tbrRuleUpdate::kUndoRedo)
        .SetLeft(c.tbrRuleUpdate(tbrRuleUpdate::kDescription).Left() +
                 c.tbrRuleUpdate(tbrRuleUpdate::kDescription).Width());
    Shift(c.tbrMoveButtons(tbrMoveButtons::kRules), Round(gLayoutOffset / 2.0));
    Widen(c.lblRulesFileName, gLayoutOffset);
    c.fraRulesToolbar.SetTop(c.TabStripRules.Top() + kRulesToolBarFrameTop);
    c.fraRules.SetTop(c.TabStripRules.Top() + c.fraRulesToolbar.Height() - kRulesFrameOverlap);
    PlaceFromRight(c.fraButtons(forms::page::kRules),
                   {&c.tbrButtons(forms::bar::kCancelRules), &c.tbrButtons(forms::bar::kSaveRules)});
}

// The no-accounts banner lies over the Email page's tab row; the Options
// page's button bar is placed last.
void MainLayout::ArrangeBanner() {
    Controls& c = controls_;
    c.fraNoAcntsBanner.Move(c.TabStripEmail.Left() + kBannerIndent,
                            c.TabStripEmail.Top() + c.fraMainButtons.Height());
    c.fraNoAcntsBanner.SetBorderStyle(0);
    c.fraNoAcntsBanner.ZOrder(0);
    PlaceFromRight(c.fraButtons(forms::page::kOptions),
                   {&c.tbrButtons(forms::bar::kCancelOptions), &c.tbrButtons(forms::bar::kSaveOptions)});
}

void MainLayout::ResetColumnWidths() {
    mColFromWidth = mColToWidth = mColSubjectWidth = mColDateWidth = mColBaseWidth;
    mColSizeWidth = Round(mColBaseWidth / kSizeDivisor);
    ShowColumnWidths();
}

void MainLayout::ShowColumnWidths() {
    vb::ListView& list = controls_.lvwEmail;
    list.Column(QStringLiteral("From")).SetWidth(mColFromWidth);
    list.Column(QStringLiteral("To")).SetWidth(mColToWidth);
    list.Column(QStringLiteral("Subject")).SetWidth(mColSubjectWidth);
    list.Column(QStringLiteral("Date")).SetWidth(mColDateWidth);
    list.Column(QStringLiteral("Size")).SetWidth(mColSizeWidth);
}

void MainLayout::SaveColumnWidths() {
    // Kept as they are at the size the next start opens the window with.
    ShareColumnWidths(mMinWidth - mLastWidth);
    std::vector<std::pair<QString, QString>> widths;
    for (const ColumnWidthKey& key : kColumnWidthKeys)
        widths.emplace_back(
            QString::fromUtf16(key.setting),
            QString::number(controls_.lvwEmail.Column(QString::fromUtf16(key.column)).Width()));
    SaveSettings(kAppKey, kOptions, widths);
}

void MainLayout::SizeAndCentre() {
    Controls& c = controls_;
    const vb::WindowFrame m = vb::CurrentWindowFrame();
    const int width = c.TabStripEmail.Width() + 2 * m.frameThickness + 3 * m.borderWidth;
    // Tall enough for the bottom button bar's buttons, with the space above
    // them repeated below them.
    const vb::ToolBar& help = c.tbrButtons(forms::bar::kEmailHelp);
    const int client =
        std::max(c.TabStripEmail.Height() + Round(1.6 * c.fraMainButtons.Height()),
                 c.fraMain(forms::page::kEmail).Top() + c.fraButtons(forms::page::kEmail).Top() +
                     2 * help.Top() + help.ButtonHeight());
    const int height = client + m.captionHeight + 2 * m.frameThickness;
    frameWidth_ = 2 * m.frameThickness;
    frameHeight_ = m.captionHeight + 2 * m.frameThickness;
    SetOuterSize(width, height);
    mMinWidth = mLastWidth = OuterWidth();
    mStartHeight = mLastHeight = OuterHeight();
    // The desktop refuses smaller sizes before they happen; Resize corrects
    // what gets through.
    window_.setMinimumSize(vb::TwipsToPixelsX(mMinWidth - frameWidth_),
                           vb::TwipsToPixelsY(kMinHeight - frameHeight_));
    CentreOnScreen();
}

void MainLayout::CentreOnScreen() {
    window_.Move((vb::ScreenWidth() - OuterWidth()) / 2, (vb::ScreenHeight() - OuterHeight()) / 2);
}

void MainLayout::RestoreStartSize() {
    SetOuterSize(mMinWidth, mStartHeight);
    CentreOnScreen();
}

int MainLayout::OuterWidth() const { return window_.ScaleWidth() + frameWidth_; }
int MainLayout::OuterHeight() const { return window_.ScaleHeight() + frameHeight_; }

void MainLayout::SetOuterSize(int width, int height) {
    window_.SetClientSize(std::max(0, width - frameWidth_), std::max(0, height - frameHeight_));
}

void MainLayout::Resize() {
    if (mLastWidth == 0) return;  // not sized by the load yet: nothing to move from
    // A correction raises the window's resize again, which lays the window
    // out at the corrected size; this pass then finds no difference left.
    if (OuterWidth() < mMinWidth) SetOuterSize(mMinWidth, OuterHeight());
    if (OuterHeight() < kMinHeight) SetOuterSize(OuterWidth(), kMinHeight);
    const int dW = OuterWidth() - mLastWidth;
    const int dH = OuterHeight() - mLastHeight;
    LayoutPass(dW, dH);
    mLastWidth = OuterWidth();
    mLastHeight = OuterHeight();
}

void MainLayout::LayoutPass(int dW, int dH) {
    if (dW == 0 && dH == 0) return;
    Controls& c = controls_;
    auto down = [dH](vb::ControlBase& control) { control.SetTop(control.Top() + dH); };

    Widen(c.fraMainButtons, dW);
    // The page's name stands at the right end of the page-button bar.
    Shift(c.lblBanner, dW);
    for (int i = 0; i < kFramePasses; ++i) Grow(c.fraMain(i), dW, dH);
    for (int i = 0; i < kFramePasses; ++i) {
        Widen(c.fraButtons(i), dW);
        down(c.fraButtons(i));
    }
    // The right-hand tool bars of the button bars; the Help bars stay left.
    using namespace forms::bar;
    for (int16_t i : {kStopRetrieval, kStartEmailClient, kCheckAll, kClose, kSaveAccount, kCancelAccount,
                      kSaveRules, kCancelRules, kSaveOptions, kCancelOptions, kPauseStartUp})
        Shift(c.tbrButtons(i), dW);
    Grow(c.TabStripEmail, dW, dH);
    Widen(c.fraEmailToolBar, dW);
    Widen(c.tbrEmail, dW);
    Grow(c.lvwEmail, dW, dH);
    ShareColumnWidths(dW);
    for (vb::ControlBase* control : std::initializer_list<vb::ControlBase*>{&c.StatusBar, &c.ProgressBar}) {
        Widen(*control, dW);
        down(*control);
    }
    Grow(c.TabStripAcnts, dW, dH);
    Widen(c.fraAcntToolBar, dW);
    Widen(c.tbrAcnts, dW);
    Grow(c.fraAcnt, dW, dH);
    Grow(c.TabStripRules, dW, dH);
    Widen(c.fraRulesToolbar, dW);
    Widen(c.tbrRules, dW);
    Grow(c.fraRules, dW, dH);
    GrowOptionsPage(dW, dH);
}

void MainLayout::GrowOptionsPage(int dW, int dH) {
    Controls& c = controls_;
    Grow(c.TabStripOptions, dW, dH);
    c.TreeView.SetHeight(c.TreeView.Height() + dH);
    Widen(c.lblOptionsTitle, dW);
    Shift(c.imgOptTitleRight, dW);
    Grow(c.fraOptionsBorder, dW, dH);
    for (int i = 1; i <= 6; ++i) Grow(c.fraOptions(i), dW, dH);
    // The About panel's name stays centred over its version line.
    Shift(c.lblAbout(0), Round(dW / 2.0));
    Shift(c.lblAbout(1), Round(dW / 2.0));
    Shift(c.lblAbout(2), dW);
    Shift(c.lblAbout(3), dW);
    Shift(c.lblAboutWebSite, dW);
}

namespace {

constexpr int kTopFlat = 138;
constexpr int kTopRaised = 120;

// A tool bar takes the style; the bars of groups A and B also move.
void Style(vb::ToolBar& bar, int16_t flat, bool moves) {
    bar.SetStyle(flat);
    if (moves) bar.SetTop(flat == 1 ? kTopFlat : kTopRaised);
}

}  // namespace

void MainLayout::SetToolbarStyle(modOptions::ToolbarGroup group, int16_t flat) {
    Controls& c = controls_;
    switch (group) {
        case modOptions::ToolbarGroup::A:
            for (int i = 0; i <= c.tbrButtons.UBound(); ++i) Style(c.tbrButtons(i), flat, true);
            return;
        case modOptions::ToolbarGroup::B:
            for (vb::ToolBar* bar : {&c.tbrMainButtons, &c.tbrEmail, &c.tbrAcnts, &c.tbrRules})
                Style(*bar, flat, true);
            return;
        case modOptions::ToolbarGroup::C:
            Style(c.tbrColour, flat, false);
            for (const auto* bars : {&c.tbrMoveButtons, &c.tbrClient, &c.tbrSound, &c.tbrRuleUpdate,
                                     &c.tbrOptMisc, &c.tbrOptAbout})
                bars->ForEach([flat](int, vb::ToolBar& bar) { Style(bar, flat, false); });
            return;
    }
}
