// The main window's layout: once at load from absolute rules, then by the
// change in size at each resize; and minimising into the tray.
#include <QCoreApplication>
#include <QIcon>
#include <QPixmap>
#include <QTabBar>
#include <algorithm>
#include <cmath>

#include "app/common/app_settings.h"
#include "app/common/stored_number.h"
#include "app/check/schedule.h"
#include "app/general/message_store.h"
#include "app/common/date_text.h"
#include "app/forms/child_windows.h"
#include "app/forms/frm_main.h"
#include "app/forms/pictures.h"
#include "app/forms/tray_icon_record.h"
#include "app/options/option_values.h"
#include "app/forms/layout_offset.h"
#include "app/general/check_status.h"
#include "platform/desktop/tray_icon.h"
#include "platform/ui/twips.h"
#include "platform/ui/window_frame.h"

namespace forms {

int gLayoutOffset = 0;

ViewSlot<vb::Form> gFirstUseWindow;
ViewSlot<vb::Form> gMessageWindow;
ViewSlot<vb::Form> gPreviewWindow;

std::function<bool()> gTrayAvailable = [] { return platform::desktop::TrayIcon::available(); };

}  // namespace forms

namespace {

// Measures of the layout, in twips.
constexpr double kFrameFactor = 1.7;       // a tool-bar frame to its tool bar's height
constexpr int kToolBarFrameTop = 324;      // below the tab strip's top: Email, Accounts
constexpr int kRulesToolBarFrameTop = 70;  // the same on the Rules page
constexpr int kListBottomMargin = 120;
constexpr int kGap = 100;           // between right-hand tool bars, and from the bar's right edge
constexpr int kBarOverlap = 100;    // button bar over the tab strip's bottom
constexpr int kRulesFrameOverlap = 48;
constexpr int kSoundLabelOffset = 36;
constexpr int kBannerIndent = 30;
constexpr double kColumnDivisor = 4.5;
constexpr double kSizeDivisor = 2.15;  // the Size column's share: W / 2.15
constexpr int kProgressLeft = 15;
constexpr int kProgressTop = 36;
constexpr int kFramePasses = 4;  // fraMain, fraButtons: Email, Accounts, Rules, Options

const QString kOptions = QStringLiteral("Settings\\Options");

// To a whole twip: the nearest, a half to the even one.
int Round(double twips) { return static_cast<int>(std::nearbyint(twips)); }

void Widen(vb::ControlBase& c, int by) { c.SetWidth(c.Width() + by); }
void Shift(vb::ControlBase& c, int by) { c.SetLeft(c.Left() + by); }

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
int ToolBarFrameTop(vb::TabStrip& strip) { return strip.Top() + std::max(kToolBarFrameTop, TabRowHeight(strip)); }

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
        for (int hour : {0, 9, 10, 12, 21, 22}) moments.emplace_back(QDate(2026, month, 28), QTime(hour, 58, 58));
    return moments;
}

// The texts given, then prefix followed by each of the widest times of day.
std::vector<QString> WithTimes(std::vector<QString> texts, const QString& prefix) {
    for (const QDateTime& t : WidestMoments()) texts.push_back(prefix + FormatDate(t, "h:mm AM/PM"));
    return texts;
}

// The texts each fixed status panel shows, at their widest: the count (2), a
// check's status and progress (3), the automatic check and the download (4),
// the clock (5).
std::vector<QString> PanelTexts(int panel) {
    switch (panel) {
        case 2:
            return {QStringLiteral("9999")};
        case 3:
            return WithTimes({QStringLiteral("Not Checked"), QStringLiteral("StartUp Check: 59 sec"),
                              QStringLiteral("100 % Complete")},
                             QStringLiteral("Checked at: "));
        case 4:
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
    for (int panel = 2; panel <= bar.PanelCount(); ++panel) {
        int width = bar.PanelWidth(panel);
        for (const QString& text : PanelTexts(panel))
            width = std::max(width, bar.PanelWidthFor(panel, text, panel == 2 ? pictureWidth : 0));
        bar.SetPanelWidth(panel, width);
    }
    return vb::PixelsToTwipsX(bar.minimumSizeHint().width()) - bar.Width();
}

// How much wider than it is the list must be for its Date and Size columns,
// at their designed shares of its width, to show their widest texts whole,
// in bold as new mail is (less than 0: it could be narrower).
int ListTextOffset(const vb::ListView& list) {
    int date = 0;
    for (const QDateTime& t : WidestMoments())
        date = std::max(date, list.CellWidthFor(modGeneral::ListDateText(t), true));
    const int size = list.CellWidthFor(QStringLiteral("99999 KB"), true);
    const double needed = std::max(date * kColumnDivisor, size * kSizeDivisor * kColumnDivisor);
    // In whole pixels, as every place and size on the screen is.
    return vb::PixelsToTwipsX(static_cast<int>(std::ceil(needed / vb::TwipsPerPixelX()))) - list.Width();
}

}  // namespace

// The list's five columns take their shares of a change in its width, so
// they fill the list at every size as they do at load.
void frmMain::ShareColumnWidths(int dW) {
    constexpr int kColumns = 5;
    vb::ListView& list = lvwEmail;
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

namespace {

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

void frmMain::ArrangeControls() {
    using forms::gLayoutOffset;

    // Tool bars sized to their buttons as drawn; the offset is what the page
    // buttons need beyond their designed bar, or what the list's dates and
    // sizes and the status panels need at the designed proportions, the most
    // of the three.
    const int buttons =
        Round(double(tbrMainButtons.ButtonWidth()) * tbrMainButtons.ButtonCount() - tbrMainButtons.Width());
    const int countPicture = vb::PixelsToTwipsX(imlListViewIcons.Count() > 0 ? imlListViewIcons.Picture(1).width() : 16);
    gLayoutOffset = std::max({buttons, ListTextOffset(lvwEmail), FitStatusPanels(StatusBar, countPicture)});
    for (vb::ToolBar* t : {&tbrMainButtons, &tbrEmail, &tbrAcnts, &tbrRules}) t->SetWidth(t->ButtonWidth() * t->ButtonCount());
    // Each page tool bar is its one row of buttons high: a taller bar (and
    // the frame made 1.7 times as tall around it) would only add empty bands.
    for (vb::ToolBar* t : {&tbrMainButtons, &tbrEmail, &tbrAcnts, &tbrRules}) t->SetHeight(t->ButtonHeight());
    tbrButtons.ForEach([](int, vb::ToolBar& t) {
        t.SetWidth(t.ButtonWidth());
        t.SetHeight(2 * t.Height());
    });
    for (auto* bars : {&tbrMoveButtons, &tbrClient, &tbrSound, &tbrRuleUpdate, &tbrOptMisc, &tbrOptAbout})
        bars->ForEach([](int, vb::ToolBar& t) { t.SetHeight(2 * t.Height()); });

    // Tool-bar frames, page buttons, pages.
    fraMainButtons.SetHeight(Round(kFrameFactor * tbrMainButtons.Height()));
    fraEmailToolBar.SetHeight(Round(kFrameFactor * tbrEmail.Height()));
    fraAcntToolBar.SetHeight(Round(kFrameFactor * tbrAcnts.Height()));
    fraRulesToolbar.SetHeight(Round(kFrameFactor * tbrRules.Height()));
    fraMainButtons.SetCaption(QString());
    Widen(fraMainButtons, gLayoutOffset);
    // The page name keeps its distance from the page buttons.
    Shift(lblBanner, gLayoutOffset);
    for (int i = 0; i < kFramePasses; ++i) {
        vb::Frame& page = fraMain(i);
        Widen(page, gLayoutOffset);
        page.Move(0, fraMainButtons.Top() + fraMainButtons.Height());
        page.SetCaption(QString());
        page.SetBorderStyle(0);
        page.SetVisible(false);
        fraButtons(i).SetHeight(fraMainButtons.Height());
    }
    fraMain(0).SetVisible(true);
    fraMain(0).ZOrder(0);

    // Email page: tab strip, tool bar, list, status bar.
    for (vb::ControlBase* c : std::initializer_list<vb::ControlBase*>{&fraEmailToolBar, &TabStripEmail, &lvwEmail, &StatusBar})
        Widen(*c, gLayoutOffset);
    TabStripEmail.Move(0, 0);
    tbrButtons(1).SetVisible(false);
    tbrButtons(14).SetVisible(false);
    fraEmailToolBar.SetTop(ToolBarFrameTop(TabStripEmail));
    lvwEmail.SetTop(fraEmailToolBar.Top() + fraEmailToolBar.Height());
    const int firstTab = TabStripEmail.TabCount() >= 1 ? TabRowHeight(TabStripEmail) : 0;
    lvwEmail.SetHeight(TabStripEmail.Height() - firstTab - fraEmailToolBar.Height() - StatusBar.Height() -
                       kListBottomMargin);
    StatusBar.SetTop(lvwEmail.Top() + lvwEmail.Height());
    // The progress bar lies inside the status bar, over its first panel.
    ProgressBar.SetVisible(false);
    ProgressBar.Move(StatusBar.Left() + kProgressLeft, StatusBar.Top() + kProgressTop,
                     std::max(0, StatusBar.PanelWidth(1) - 2 * kProgressLeft),
                     std::max(0, StatusBar.Height() - 2 * kProgressTop));

    // Button bars overlap the tab strip's bottom, behind what they overlap.
    for (int i = 0; i < kFramePasses; ++i) {
        vb::Frame& bar = fraButtons(i);
        Widen(bar, gLayoutOffset);
        bar.SetTop(TabStripEmail.Top() + TabStripEmail.Height() - kBarOverlap);
        bar.SetBorderStyle(0);
        bar.ZOrder(1);
    }
    PlaceFromRight(fraButtons(0), {&tbrButtons(4), &tbrButtons(3), &tbrButtons(2), &tbrButtons(1)});
    tbrButtons(14).SetLeft(tbrButtons(2).Left() - kGap - tbrButtons(14).Width());

    // Message list columns: the defaults from the list width, or the widths
    // saved at the last shutdown.
    modOptions::LoadOptions(modOptions::ReadBy::Layout);
    mRestoreColWidth = modOptions::gOptRestoreColWidth;
    mColBaseWidth = Round(lvwEmail.Width() / kColumnDivisor);
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
    for (int c = 1; c <= 5; ++c) lvwEmail.Column(c).SetIcon(QStringLiteral("Blank"));

    // Accounts page.
    for (vb::ControlBase* c : std::initializer_list<vb::ControlBase*>{&fraAcnt, &fraAcntToolBar, &TabStripAcnts})
        Widen(*c, gLayoutOffset);
    TabStripAcnts.Move(0, 0);
    fraAcntToolBar.SetTop(ToolBarFrameTop(TabStripAcnts));
    fraAcnt.SetTop(fraAcntToolBar.Top() + fraAcntToolBar.Height());
    Widen(tbrColour, gLayoutOffset);
    tbrColour.SetHeight(2 * tbrColour.Height());
    Shift(tbrMoveButtons(0), gLayoutOffset);
    for (vb::ToolBar* t : {&tbrClient(1), &tbrSound(1)}) t->SetWidth(2 * t->ButtonWidth());
    for (vb::ControlBase* c : std::initializer_list<vb::ControlBase*>{&lblAcntRunSize, &chkAcntSoundOn, &lblAcntPlaySound})
        Shift(*c, gLayoutOffset);
    // The account colours, as &H00BBGGRR: blue, cyan, green, magenta, red, black.
    constexpr vb::OleColor kSwatches[] = {0xFF0000, 0xFFFF00, 0x00FF00, 0xFF00FF, 0x0000FF, 0x000000};
    for (int i = 1; i <= 6; ++i) {
        lblColourBox(i).SetCaption(QString());
        lblColourBox(i).SetBackColor(kSwatches[i - 1]);
    }
    fraColourBox.SetVisible(false);
    lblAcntPlaySound.SetTop(tbrSound(1).Top() + kSoundLabelOffset);
    PlaceFromRight(fraButtons(1), {&tbrButtons(7), &tbrButtons(6)});

    // Rules page.
    for (vb::ControlBase* c : std::initializer_list<vb::ControlBase*>{&fraRulesToolbar, &TabStripRules, &fraRules, &lstRules})
        Widen(*c, gLayoutOffset);
    TabStripRules.Move(0, 0);
    for (vb::ControlBase* c : std::initializer_list<vb::ControlBase*>{&fraRule, &fraAction, &fraNotify})
        Shift(*c, gLayoutOffset);
    for (vb::ToolBar* t : {&tbrRuleUpdate(0), &tbrRuleUpdate(1)}) t->SetWidth(2 * t->ButtonWidth());
    tbrRuleUpdate(1).SetLeft(tbrRuleUpdate(0).Left() + tbrRuleUpdate(0).Width());
    Shift(tbrMoveButtons(1), Round(gLayoutOffset / 2.0));
    Widen(lblRulesFileName, gLayoutOffset);
    fraRulesToolbar.SetTop(TabStripRules.Top() + kRulesToolBarFrameTop);
    fraRules.SetTop(TabStripRules.Top() + fraRulesToolbar.Height() - kRulesFrameOverlap);
    PlaceFromRight(fraButtons(2), {&tbrButtons(10), &tbrButtons(9)});

    // The no-accounts banner lies over the Email page's tab row.
    fraNoAcntsBanner.Move(TabStripEmail.Left() + kBannerIndent, TabStripEmail.Top() + fraMainButtons.Height());
    fraNoAcntsBanner.SetBorderStyle(0);
    fraNoAcntsBanner.ZOrder(0);

    PlaceFromRight(fraButtons(3), {&tbrButtons(13), &tbrButtons(12)});
}

void frmMain::SizeAndCentre() {
    const vb::WindowFrame m = vb::CurrentWindowFrame();
    const int width = TabStripEmail.Width() + 2 * m.frameThickness + 3 * m.borderWidth;
    // Tall enough for the bottom button bar's buttons, with the space above
    // them repeated below them.
    const vb::ToolBar& help = tbrButtons(0);
    const int client = std::max(TabStripEmail.Height() + Round(1.6 * fraMainButtons.Height()),
                                fraMain(0).Top() + fraButtons(0).Top() + 2 * help.Top() + help.ButtonHeight());
    const int height = client + m.captionHeight + 2 * m.frameThickness;
    frameWidth_ = 2 * m.frameThickness;
    frameHeight_ = m.captionHeight + 2 * m.frameThickness;
    SetOuterSize(width, height);
    mMinWidth = mLastWidth = OuterWidth();
    mStartHeight = mLastHeight = OuterHeight();
    // The desktop refuses smaller sizes before they happen; Form_Resize
    // corrects what gets through.
    setMinimumSize(vb::TwipsToPixelsX(mMinWidth - frameWidth_), vb::TwipsToPixelsY(kMinHeight - frameHeight_));
    CentreOnScreen();
}

void frmMain::CentreOnScreen() { Move((vb::ScreenWidth() - OuterWidth()) / 2, (vb::ScreenHeight() - OuterHeight()) / 2); }

int frmMain::OuterWidth() const { return ScaleWidth() + frameWidth_; }
int frmMain::OuterHeight() const { return ScaleHeight() + frameHeight_; }

void frmMain::SetOuterSize(int width, int height) {
    SetClientSize(std::max(0, width - frameWidth_), std::max(0, height - frameHeight_));
}

void frmMain::Form_Resize() {
    if (modGeneral::gLoading) return;
    if (WindowState() == vb::vbMinimized) {
        tray_.MinimiseToTray();
        return;
    }
    if (mLastWidth == 0) return;  // not sized by the load yet: nothing to move from
    // A correction raises this handler again, which lays the window out at
    // the corrected size; this pass then finds no difference left.
    if (OuterWidth() < mMinWidth) SetOuterSize(mMinWidth, OuterHeight());
    if (OuterHeight() < kMinHeight) SetOuterSize(OuterWidth(), kMinHeight);
    const int dW = OuterWidth() - mLastWidth;
    const int dH = OuterHeight() - mLastHeight;
    LayoutPass(dW, dH);
    mLastWidth = OuterWidth();
    mLastHeight = OuterHeight();
}

void frmMain::LayoutPass(int dW, int dH) {
    if (dW == 0 && dH == 0) return;
    auto grow = [dW, dH](vb::ControlBase& c, bool wide, bool tall) {
        if (wide) c.SetWidth(c.Width() + dW);
        if (tall) c.SetHeight(c.Height() + dH);
    };
    auto down = [dH](vb::ControlBase& c) { c.SetTop(c.Top() + dH); };
    auto right = [](vb::ControlBase& c, int by) { c.SetLeft(c.Left() + by); };

    grow(fraMainButtons, true, false);
    // The page's name stands at the right end of the page-button bar.
    right(lblBanner, dW);
    for (int i = 0; i < kFramePasses; ++i) grow(fraMain(i), true, true);
    for (int i = 0; i < kFramePasses; ++i) {
        grow(fraButtons(i), true, false);
        down(fraButtons(i));
    }
    // The right-hand tool bars of the button bars; the Help bars stay left.
    for (int i : {1, 2, 3, 4, 6, 7, 9, 10, 12, 13, 14}) right(tbrButtons(i), dW);
    grow(TabStripEmail, true, true);
    grow(fraEmailToolBar, true, false);
    grow(tbrEmail, true, false);
    grow(lvwEmail, true, true);
    ShareColumnWidths(dW);
    for (vb::ControlBase* c : std::initializer_list<vb::ControlBase*>{&StatusBar, &ProgressBar}) {
        grow(*c, true, false);
        down(*c);
    }
    grow(TabStripAcnts, true, true);
    grow(fraAcntToolBar, true, false);
    grow(tbrAcnts, true, false);
    grow(fraAcnt, true, true);
    grow(TabStripRules, true, true);
    grow(fraRulesToolbar, true, false);
    grow(tbrRules, true, false);
    grow(fraRules, true, true);
    grow(TabStripOptions, true, true);
    grow(TreeView, false, true);
    grow(lblOptionsTitle, true, false);
    right(imgOptTitleRight, dW);
    grow(fraOptionsBorder, true, true);
    for (int i = 1; i <= 6; ++i) grow(fraOptions(i), true, true);
    // The About panel's name stays centred over its version line.
    right(lblAbout(0), Round(dW / 2.0));
    right(lblAbout(1), Round(dW / 2.0));
    right(lblAbout(2), dW);
    right(lblAbout(3), dW);
    right(lblAboutWebSite, dW);
}

void frmMain::ResetColumnWidths() {
    mColFromWidth = mColToWidth = mColSubjectWidth = mColDateWidth = mColBaseWidth;
    mColSizeWidth = Round(mColBaseWidth / kSizeDivisor);
    ShowColumnWidths();
}

void frmMain::ShowColumnWidths() {
    lvwEmail.Column(QStringLiteral("From")).SetWidth(mColFromWidth);
    lvwEmail.Column(QStringLiteral("To")).SetWidth(mColToWidth);
    lvwEmail.Column(QStringLiteral("Subject")).SetWidth(mColSubjectWidth);
    lvwEmail.Column(QStringLiteral("Date")).SetWidth(mColDateWidth);
    lvwEmail.Column(QStringLiteral("Size")).SetWidth(mColSizeWidth);
}
