#pragma once
// The new-mail pop-up: after a check run it shows the run's headline, the
// summary per account, when the next automatic check is due and, when the
// user chose a display time, the seconds until it closes itself. Modeless,
// without owner, out of the taskbar, topmost whenever it becomes active.
// While it is loaded it is registered (forms::MessageShown) and the automatic
// check paused.
#include <QPointer>
#include <QRect>
#include <QString>
#include <cstdint>
#include <optional>

#include "app/common/view_slot.h"
#include "app/forms/checks/checks_paused.h"
#include "app/forms/main_window/main_window_link.h"
#include "app/forms/new_mail/frm_message_design.h"
#include "app/general/check_status.h"
#include "platform/ui/form.h"

class frmMessage : public vb::Form, public frmMessageDesign {
public:
    // main: the main window this one works for; none for a window shown
    // alone. run: the check run it reports.
    explicit frmMessage(forms::MainWindowLink* main = nullptr, const modGeneral::CheckRunState& run = {});

    // The check run's report: the headline goes into the frame, loading the
    // window when it is not loaded, and the window is shown. A window that
    // is up already shows the new run's summary, next check and countdown
    // too, so a new headline never stands over an older run's lines. run:
    // the run's record (its summary and the next check); main: the main
    // window whose run it is.
    static void ShowReport(const QString& headline, const modGeneral::CheckRunState& run,
                           forms::MainWindowLink* main);

    // Account lines shown before "more Accounts..." replaces the rest.
    static constexpr int kMaxSummaryLines = 16;

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Unload(int& Cancel) override;

private:
    // Summary, growth, decorations, countdown and the next-check line, from
    // the designed geometry.
    void ShowRun();
    void tmrMessage_Timer();

    // What the report shows of the run: its summary, the summary's account
    // lines and the next check.
    struct ShownRun {
        QString summary;
        int16_t summaryLines = 0;
        QString autoCheckText;
    };
    static ShownRun ShownRunOf(const modGeneral::CheckRunState& run);
    ShownRun run_;

    // Ticks since the countdown started.
    int16_t mTickCount = 0;
    // The designed heights the growth starts from.
    int designedHeight_ = 0;
    int designedFrameHeight_ = 0;
    int designedSummaryHeight_ = 0;
    int designedButtonsTop_ = 0;
    // The hourglass's designed place, in twips (its right edge stays).
    QRect designedGlass_;
    ViewSlot<vb::Form>::Registration shownSlot_;
    // The main window's checks, paused from the load to the unload (or until
    // a load that failed lets the window go).
    QPointer<forms::MainWindowLink> main_;
    std::optional<forms::ChecksPaused> checksPaused_;
};

// The summary as the pop-up shows it: up to kMaxSummaryLines account lines
// after the heading line; a longer summary keeps the first ones and ends in
// "more Accounts...".
QString PopupSummaryText(const QString& summary, int16_t summaryLines);
// How many label lines the pop-up grows by for summaryLines account lines.
int16_t PopupGrowthLines(int16_t summaryLines);
