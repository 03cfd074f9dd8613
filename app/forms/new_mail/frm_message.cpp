#include "app/forms/new_mail/frm_message.h"

#include <QDateTime>
#include <QRect>
#include <QStringList>
#include <algorithm>

#include "app/check/schedule.h"
#include "app/common/date_text.h"
#include "app/forms/common/child_ok_button.h"
#include "app/forms/common/child_tool_bar_style.h"
#include "app/forms/common/child_windows.h"
#include "app/forms/common/pictures.h"
#include "app/options/option_values.h"
#include "platform/ui/forms.h"
#include "platform/ui/twips.h"

namespace {

const QString kLineBreak = QStringLiteral("\r\n");
// Twips kept free between the hourglass and the frame's bottom edge.
constexpr int kGlassMargin = 48;

}  // namespace

QString PopupSummaryText(const QString& summary, int16_t summaryLines) {
    if (summaryLines <= frmMessage::kMaxSummaryLines) return summary;
    // The heading line and the first account lines; the label has room for
    // one line more, which says that the list goes on.
    QStringList lines = summary.split(kLineBreak);
    if (lines.size() > 1 + frmMessage::kMaxSummaryLines) lines.resize(1 + frmMessage::kMaxSummaryLines);
    return lines.join(kLineBreak) + kLineBreak + QStringLiteral("more Accounts...");
}

int16_t PopupGrowthLines(int16_t summaryLines) {
    if (summaryLines < 0) return 0;
    return summaryLines < frmMessage::kMaxSummaryLines
               ? summaryLines
               : static_cast<int16_t>(frmMessage::kMaxSummaryLines + 1);
}

frmMessage::frmMessage(forms::MainWindowLink* main, const modGeneral::CheckRunState& run)
    : frmMessageDesign(this), run_(ShownRunOf(run)), main_(main) {
    forms::SetUpOkWindow(*this, imlButtons, tbrButtons);
    imgHourGlass.SetPicture(forms::Picture(QStringLiteral("HourGlass"), 64));
    tmrMessage.Tick = [this] { tmrMessage_Timer(); };
    designedHeight_ = ScaleHeight();
    designedFrameHeight_ = fraMsg.Height();
    designedSummaryHeight_ = lblMsg.Height();
    designedButtonsTop_ = fraButtons.Top();
    designedGlass_ =
        QRect(imgHourGlass.Left(), imgHourGlass.Top(), imgHourGlass.Width(), imgHourGlass.Height());
}

frmMessage::ShownRun frmMessage::ShownRunOf(const modGeneral::CheckRunState& run) {
    return {run.CheckSummary, run.SummaryLines, run.AutoCheckText};
}

void frmMessage::ShowReport(const QString& headline, const modGeneral::CheckRunState& run,
                            forms::MainWindowLink* main) {
    const bool wasLoaded = vb::Forms::IsLoaded<frmMessage>();
    frmMessage& form = vb::Forms::Get<frmMessage>(main, run);
    form.fraMsg.SetCaption(headline);
    if (wasLoaded) {
        form.run_ = ShownRunOf(run);
        form.ShowRun();
    }
    form.Show(vb::vbModeless);
}

void frmMessage::Form_Load() {
    shownSlot_ = forms::gMessageWindow.Register(*this);
    checksPaused_.emplace(main_.data(), forms::PausedChecks::Automatic);

    SetCaption(modGeneral::gAppName + QStringLiteral(":  Auto Check - ") +
               FormatDate(modCheck::gClock(), "mmmm d, yyyy"));

    forms::PlaceOkButton(tbrButtons, fraButtons, fraMsg.Width());

    ShowRun();
    Move((vb::ScreenWidth() - Width()) / 2, (vb::ScreenHeight() - Height()) / 2);

    tbrButtons.SetStyle(forms::ChildToolBarStyle(modOptions::gOpt.ButtonStyle, modOptions::gOpt.ApplyStyle,
                                                 tbrButtons.Style()));
}

void frmMessage::ShowRun() {
    lblMsg.SetCaption(PopupSummaryText(run_.summary, run_.summaryLines));
    const int growth = PopupGrowthLines(run_.summaryLines) * designedSummaryHeight_;

    SetClientSize(ScaleWidth(), designedHeight_ + growth);
    fraMsg.SetHeight(designedFrameHeight_ + growth);
    lblMsg.SetHeight(designedSummaryHeight_ + growth);

    // Half-way down the summary; a short summary leaves the frame too low
    // for the whole picture, which then shrinks to fit inside it.
    const int glassTop = lblMsg.Height() / 2;
    const int glassHeight = std::min(designedGlass_.height(), fraMsg.Height() - glassTop - kGlassMargin);
    const int glassWidth = designedGlass_.width() * glassHeight / designedGlass_.height();
    imgHourGlass.Move(designedGlass_.left() + designedGlass_.width() - glassWidth, glassTop, glassWidth,
                      glassHeight);
    fraButtons.SetTop(designedButtonsTop_ + growth);
    lblAutoCheck.SetTop(fraButtons.Top());
    lblMsgCountDown.Move(imgHourGlass.Left() - lblMsgCountDown.Width(),
                         imgHourGlass.Top() + (imgHourGlass.Height() - lblMsgCountDown.Height()) / 2);

    const int16_t seconds = modOptions::gOpt.MsgBoxTime;
    if (seconds <= 0) {
        tmrMessage.SetEnabled(false);
        lblMsgCountDown.SetVisible(false);
    } else {
        mTickCount = 0;
        tmrMessage.SetEnabled(true);
        lblMsgCountDown.SetCaption(QString::number(seconds));
        lblMsgCountDown.SetVisible(true);
    }

    lblAutoCheck.SetCaption(QStringLiteral("Next ") + run_.autoCheckText);
}

void frmMessage::Form_Activate() {
    SetTopmost(true);
    raise();
}

void frmMessage::tmrMessage_Timer() {
    // The display time may have been lowered in the options meanwhile: a
    // count that has reached it closes the window too, so it never runs on.
    if (mTickCount >= modOptions::gOpt.MsgBoxTime) {
        Unload();
        return;
    }
    ++mTickCount;
    // The seconds left by the display time as it is now (it may have been
    // raised meanwhile).
    lblMsgCountDown.SetCaption(QString::number(modOptions::gOpt.MsgBoxTime - mTickCount));
}

void frmMessage::Form_Unload(int& Cancel) {
    (void)Cancel;
    tmrMessage.SetEnabled(false);
    shownSlot_.Reset();
    checksPaused_.reset();
}
