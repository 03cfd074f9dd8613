#pragma once
// The preview window: one stored message, its header rows and its text in
// two views ("Body (Plain Text Only)" and "Raw Message"). It keeps to the
// message it shows, by account and UID, while the main window's list is
// sorted, refilled or changes its selection behind it; every command acts on
// that message, and says so when the message has left the store.
#include <QPointer>
#include <QPrinter>
#include <cstdint>
#include <optional>

#include "app/common/view_slot.h"
#include "app/forms/checks/checks_paused.h"
#include "app/forms/main_window/main_window_link.h"
#include "app/forms/preview/frm_preview_design.h"
#include "app/general/message_ref.h"
#include "platform/ui/form.h"

class frmPreview : public vb::Form, public frmPreviewDesign {
public:
    // main: the main window this one works for; none for a window shown alone.
    explicit frmPreview(forms::MainWindowLink* main = nullptr);

    // Shows message (account, msg) of the store in the header rows and both
    // views; the view in front stays. Not a stored message: nothing changes.
    void ShowMessage(int16_t account, int16_t msg);
    // The message shown.
    const modGeneral::MessageRef& Shown() const { return shown_; }

    // The tool bar's commands, by key without its blanks: "Save", "Print",
    // "Delete", "Reply", "Open", "Previous", "Next", "Exit Preview".
    void RunCommand(const QString& key);
    // Save as .eml, .msg or .txt through the common dialog.
    void SaveMessage();
    // Prints to the default printer; with none, offers a PDF file instead.
    void PrintMessage();
    // The print copy (header block, a rule, the text of the view in front) on
    // printer, page by page; the pages printed, or nullopt on failure.
    std::optional<int> PrintTo(QPrinter& printer);

    // 1 = "Body (Plain Text Only)", 2 = "Raw Message".
    int mTabIndex = 1;

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Resize() override;
    void Form_Unload(int& Cancel) override;

private:
    void TabStrip_Click();
    // The slot that holds the shown message now; 0, after telling the user,
    // when it is gone.
    int16_t ShownSlot();
    void StepMessage(int step);
    void DeleteMessage();
    void BuildPrintCopy(int16_t msg);
    void FillView(vb::RichTextBox& view, const QString& text);
    void PlaceViews();
    void EnableSteps();

    modGeneral::MessageRef shown_;
    bool mLoading = false;
    // The client area at the last layout: the frame the desktop draws may be
    // known only after the load, so the change in size is taken inside it.
    int mLastWidth = 0;
    int mLastHeight = 0;
    ViewSlot<vb::Form>::Registration shownWindow_;
    // The main window's checks, paused from the load to the unload (or until
    // a load that failed lets the window go).
    QPointer<forms::MainWindowLink> main_;
    std::optional<forms::ChecksPaused> checksPaused_;
};
