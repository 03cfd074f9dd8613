#include "app/forms/preview/frm_preview.h"

#include <QDir>
#include <QFontInfo>
#include <algorithm>
#include <cmath>

#include "app/accounts/account_table.h"
#include "app/forms/common/child_tool_bar_style.h"
#include "app/forms/common/child_windows.h"
#include "app/forms/common/pictures.h"
#include "app/forms/preview/attachment_names.h"
#include "app/forms/preview/message_commands.h"
#include "app/general/check_status.h"
#include "app/general/message_file.h"
#include "app/general/message_store.h"
#include "app/options/option_values.h"
#include "platform/desktop/rich_text_printer.h"
#include "platform/ui/common_dialog.h"
#include "platform/ui/design_font.h"
#include "platform/ui/forms.h"
#include "platform/ui/msg_box.h"
#include "platform/ui/twips.h"

using namespace frmPreviewElements;  // tbrButtons(tbrButtons::kExit)

namespace {

// The smallest outer size, in twips, at which every control still fits.
constexpr int kMinWidth = 5600;
constexpr int kMinHeight = 4000;
constexpr qsizetype kMaxShownChars = 1'000'000;
const QString kNotShown =
    QStringLiteral("\r\n[The rest of this message is not shown here: Save or Open gives the whole message.]");
// Printed pages: the margins count from the edge of the paper.
constexpr platform::desktop::PageMargins kPrintMargins{720, 720, 720, 720};

QString Title(const char* what) { return modGeneral::gAppName + QString::fromLatin1(what); }

// The preview's main tool bar is raised only for "Upper" and "All" when
// "ButtonStyle" asks for raised buttons; other style values keep its design.
int MainToolBarStyle(int buttonStyle, int applyStyle, int designed) {
    if (buttonStyle != 1) return vb::tbrFlat;
    if (applyStyle < 0 || applyStyle > 3) return designed;
    return applyStyle == 1 || applyStyle == 3 ? vb::tbrStandard : vb::tbrFlat;
}

}  // namespace

frmPreview::frmPreview(forms::MainWindowLink* main) : frmPreviewDesign(this), main_(main) {
    forms::FillImageList(imlPreview, forms::PictureSet::Preview);
    tbrButtons(tbrButtons::kMessage).SetImageList(&imlPreview);
    tbrButtons(tbrButtons::kExit).SetImageList(&imlPreview);
    imgEnvelope.SetPicture(forms::Picture(QStringLiteral("Envelope"), vb::TwipsToPixelsY(315)));
    tbrButtons.Wire(&vb::ToolBar::ButtonClick,
                    [this](int, vb::ToolButton& button) { RunCommand(button.Key().trimmed()); });
    TabStrip.Click = [this] { TabStrip_Click(); };
    // Each caption stands level with the text of its box.
    for (vb::Label* label : {&lblPrvFrom, &lblPrvTo, &lblPrvDate, &lblPrvSubject, &lblPrvAttach})
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void frmPreview::Form_Load() {
    using namespace modGeneral;
    shownWindow_ = forms::gPreviewWindow.Register(*this);
    checksPaused_.emplace(main_.data(), forms::PausedChecks::Automatic);
    mLoading = true;
    SetCaption(gAppName + QStringLiteral(" - Preview  "));

    vb::ToolBar& main = tbrButtons(tbrButtons::kMessage);
    vb::ToolBar& exit = tbrButtons(tbrButtons::kExit);
    main.SetStyle(MainToolBarStyle(modOptions::gOpt.ButtonStyle, modOptions::gOpt.ApplyStyle, main.Style()));
    exit.SetStyle(
        forms::ChildToolBarStyle(modOptions::gOpt.ButtonStyle, modOptions::gOpt.ApplyStyle, exit.Style()));
    main.Move(main.Left(), main.Style() == vb::tbrFlat ? 138 : 120, main.ButtonWidth() * main.ButtonCount(),
              main.ButtonHeight());
    exit.Move(exit.Left(), exit.Top(), exit.ButtonWidth(), exit.ButtonHeight());
    fraButtons.SetHeight(static_cast<int>(std::lround(1.7 * main.Height())));

    // The header rows one under the other below the tool bar, the tab strip
    // under them, the window around it all.
    int top = fraButtons.Height();
    const std::pair<vb::Label*, vb::TextBox*> rows[] = {{&lblPrvFrom, &txtPrvFrom},
                                                        {&lblPrvTo, &txtPrvTo},
                                                        {&lblPrvDate, &txtPrvDate},
                                                        {&lblPrvSubject, &txtPrvSubject},
                                                        {&lblPrvAttach, &txtPrvAttach}};
    for (auto [label, box] : rows) {
        label->SetTop(top);
        box->SetTop(top);
        top += label->Height();
    }
    imgEnvelope.SetTop(lblPrvFrom.Top());
    TabStrip.SetTop(top + 36);
    SetClientSize(ScaleWidth(), TabStrip.Top() + TabStrip.Height() + 60);
    Move((vb::ScreenWidth() - Width()) / 2, (vb::ScreenHeight() - Height()) / 2);
    const int frameW = Width() - ScaleWidth();
    const int frameH = Height() - ScaleHeight();
    setMinimumSize(vb::TwipsToPixelsX(kMinWidth - frameW), vb::TwipsToPixelsY(kMinHeight - frameH));
    mLastWidth = ScaleWidth();
    mLastHeight = ScaleHeight();

    // The Exit button in the tab row, at its right end.
    const int tabRow = TabStrip.TabHeight(1);
    exit.Move(TabStrip.Left() + TabStrip.Width() - exit.Width() - 100,
              TabStrip.Top() + TabStrip.Height() - tabRow + std::max(0, (tabRow - exit.Height()) / 2));
    PlaceViews();

    ShowMessage(modAccounts::gCurrentAccount, gCurrentMsg);
    mTabIndex = 1;
    rtbBody.ZOrder(0);
    exit.ZOrder(0);
    mLoading = false;
}

void frmPreview::PlaceViews() {
    const int height = TabStrip.Height() - TabStrip.TabHeight(1);
    for (vb::RichTextBox* view : {&rtbBody, &rtbRawMsg})
        view->Move(TabStrip.Left(), TabStrip.Top(), TabStrip.Width(), height);
}

void frmPreview::Form_Activate() {
    // The pop-up and the rule report keep the focus they asked for.
    if (forms::MessageShown() || forms::RuleReportShown()) return;
    (mTabIndex == 2 ? rtbRawMsg : rtbBody).setFocus();
}

void frmPreview::Form_Resize() {
    if (mLoading || WindowState() == vb::vbMinimized) return;
    const int dW = ScaleWidth() - mLastWidth;
    const int dH = ScaleHeight() - mLastHeight;
    for (vb::ControlBase* c :
         std::initializer_list<vb::ControlBase*>{&fraButtons, &tbrButtons(tbrButtons::kMessage), &txtPrvFrom,
                                                 &txtPrvTo, &txtPrvDate, &txtPrvSubject, &txtPrvAttach})
        c->SetWidth(c->Width() + dW);
    for (vb::ControlBase* c : std::initializer_list<vb::ControlBase*>{&TabStrip, &rtbBody, &rtbRawMsg})
        c->Move(c->Left(), c->Top(), c->Width() + dW, c->Height() + dH);
    imgEnvelope.SetLeft(imgEnvelope.Left() + dW);
    tbrButtons(tbrButtons::kExit)
        .Move(tbrButtons(tbrButtons::kExit).Left() + dW, tbrButtons(tbrButtons::kExit).Top() + dH);
    mLastWidth = ScaleWidth();
    mLastHeight = ScaleHeight();
}

void frmPreview::Form_Unload(int& Cancel) {
    (void)Cancel;
    forms::DeleteTemporaryMessageFiles();
    shownWindow_.Reset();
    checksPaused_.reset();
}

void frmPreview::ShowMessage(int16_t account, int16_t msg) {
    using namespace modGeneral;
    if (!IsStoredMessage(account, msg)) return;
    shown_ = RefOf(account, msg);
    const StoredMessage& m = Msg(account, msg);
    txtPrvTo.SetText(m.To);
    txtPrvFrom.SetText(m.From);
    txtPrvDate.SetText(DateText(m));
    txtPrvSubject.SetText(m.Subject);
    // The check read the names; a message stored without them is read here.
    const QStringList names =
        m.AttachNames ? *m.AttachNames : forms::AttachmentNames(MessageBytes(m).value_or(QByteArray()));
    txtPrvAttach.SetText(names.join(QStringLiteral(", ")));
    FillView(rtbBody, PlainTextOf(m));
    // Only what the view can show is made into text.
    FillView(rtbRawMsg, RawMessageText(m, kMaxShownChars + 1));
    EnableSteps();
    if (main_) main_->FollowShownMessage(account, msg);
}

void frmPreview::FillView(vb::RichTextBox& view, const QString& text) {
    // One font for the whole view, plain text without any formatting of its
    // own: markup in a message is shown as the text it is.
    view.Document().setDefaultFont(vb::DesignFont());
    // A view lays out every line it holds: a huge message shows its start,
    // cut at a line's end, and Save and Open keep it whole.
    if (text.size() <= kMaxShownChars) {
        view.SetText(text);
    } else {
        const qsizetype cut = text.lastIndexOf(QLatin1Char('\n'), kMaxShownChars);
        view.SetText(text.left(cut > 0 ? cut + 1 : kMaxShownChars) + kNotShown);
    }
    view.SetSelStart(0);
}

void frmPreview::EnableSteps() {
    const bool stored = modGeneral::IsStoredMessage(shown_.account, shown_.slot);
    tbrButtons(tbrButtons::kMessage)
        .Buttons(QStringLiteral("Previous"))
        .SetEnabled(stored && shown_.slot > 1);
    tbrButtons(tbrButtons::kMessage)
        .Buttons(QStringLiteral("Next"))
        .SetEnabled(stored && shown_.slot < modAccounts::gAccounts[shown_.account].MsgCount);
}

void frmPreview::TabStrip_Click() {
    const int index = TabStrip.SelectedItem();
    if (index != 1 && index != 2) return;
    mTabIndex = index;
    vb::RichTextBox& view = index == 1 ? rtbBody : rtbRawMsg;
    view.ZOrder(0);
    tbrButtons(tbrButtons::kExit).ZOrder(0);
    view.setFocus();
}

void frmPreview::RunCommand(const QString& key) {
    if (key == QLatin1String("Exit Preview")) {
        Unload();
        return;
    }
    if (key == QLatin1String("Save")) return SaveMessage();
    if (key == QLatin1String("Print")) return PrintMessage();
    if (key == QLatin1String("Delete")) return DeleteMessage();
    if (key == QLatin1String("Previous")) return StepMessage(-1);
    if (key == QLatin1String("Next")) return StepMessage(1);
    const bool reply = key == QLatin1String("Reply");
    if (!reply && key != QLatin1String("Open")) return;
    const int16_t msg = ShownSlot();
    if (msg == 0) return;
    if (reply)
        forms::ReplyToMessage(shown_.account, msg);
    else
        forms::OpenInMailClient(shown_.account, msg);
}

int16_t frmPreview::ShownSlot() {
    const int16_t msg = modGeneral::Locate(shown_);
    if (msg == 0)
        vb::MsgBox(QStringLiteral("This message is no longer in the message list:\r\n"
                                  "a check or a deletion on the server has removed it."),
                   vb::vbInformation, Title(" - Preview"));
    EnableSteps();
    return msg;
}

void frmPreview::StepMessage(int step) {
    const int16_t msg = ShownSlot();
    if (msg != 0) ShowMessage(shown_.account, static_cast<int16_t>(msg + step));
}

void frmPreview::SaveMessage() {
    const int16_t msg = ShownSlot();
    if (msg == 0) return;
    vb::CommonDialog dialog;
    dialog.InitDir = QDir::homePath();
    dialog.Filter =
        QStringLiteral("Internet Message (*.eml)|*.eml|Email Message (*.msg)|*.msg|Text File (*.txt)|*.txt|");
    dialog.Flags = vb::cdlOFNOverwritePrompt | vb::cdlOFNHideReadOnly | vb::cdlOFNLongNames;
    dialog.FileName = modGeneral::SaveFileName(modGeneral::Msg(shown_.account, msg).Subject);
    if (!dialog.ShowSave(this)) return;
    if (!modGeneral::WriteTextFile(dialog.FileName, shown_.account, msg))
        vb::MsgBox(QStringLiteral("The message could not be saved as\r\n") +
                       QDir::toNativeSeparators(dialog.FileName),
                   vb::vbExclamation, Title(" - Save Failed"));
}

void frmPreview::PrintMessage() {
    if (ShownSlot() == 0) return;
    std::unique_ptr<QPrinter> printer = platform::desktop::DefaultPrinter();
    if (!printer) {
        if (vb::MsgBox(QStringLiteral("No printer is set up on this computer.\r\n\r\n"
                                      "Save the printed pages as a PDF file instead?"),
                       vb::vbYesNo | vb::vbQuestion, Title(" - Print")) != vb::vbYes)
            return;
        vb::CommonDialog dialog;
        dialog.InitDir = QDir::homePath();
        dialog.Filter = QStringLiteral("PDF File (*.pdf)|*.pdf|");
        dialog.Flags = vb::cdlOFNOverwritePrompt | vb::cdlOFNHideReadOnly | vb::cdlOFNLongNames;
        dialog.FileName = modGeneral::SaveFileName(txtPrvSubject.Text());
        if (!dialog.ShowSave(this)) return;
        printer = platform::desktop::PdfPrinter(dialog.FileName);
    }
    if (!PrintTo(*printer))
        vb::MsgBox(QStringLiteral("The message could not be printed."), vb::vbExclamation,
                   Title(" - Print Failed"));
}

std::optional<int> frmPreview::PrintTo(QPrinter& printer) {
    const int16_t msg = ShownSlot();
    if (msg == 0) return std::nullopt;
    BuildPrintCopy(msg);
    return platform::desktop::PrintRichText(rtbPrint.Document(), printer, kPrintMargins);
}

void frmPreview::BuildPrintCopy(int16_t msg) {
    using namespace modGeneral;
    const int16_t a = shown_.account;
    // The whole text goes, however long the last copy was.
    rtbPrint.SetText(QString());
    rtbPrint.SetSelFontName(QFontInfo(vb::DesignFont()).family());
    rtbPrint.SetSelFontSize(10);
    rtbPrint.SetSelItalic(false);
    rtbPrint.SetSelUnderline(false);
    const StoredMessage& m = Msg(a, msg);
    const std::pair<const char*, QString> header[] = {
        {"From:  ", m.From}, {"To:  ", m.To}, {"Date:  ", DateText(m)}, {"Subject:  ", m.Subject}};
    for (const auto& [label, value] : header) {
        rtbPrint.SetSelBold(true);
        rtbPrint.SetSelText(QString::fromLatin1(label));
        rtbPrint.SetSelBold(false);
        rtbPrint.SetSelText(value + QStringLiteral("\r\n"));
    }
    rtbPrint.SetSelText(QString(97, QLatin1Char('_')) + QStringLiteral("\r\n\r\n"));
    if (mTabIndex == 1) rtbPrint.SetSelText(PlainTextOf(m));
    if (mTabIndex == 2) rtbPrint.SetSelText(RawMessageText(m));
}

void frmPreview::DeleteMessage() {
    // Exactly the message shown goes, by its UID, whatever the list selects.
    if (ShownSlot() == 0 || !main_) return;
    if (main_->DeletionRefusedWhileBusy()) return;
    const modGeneral::MessageRef shown = shown_;
    Hide();
    main_->DeleteOneMessage(shown.account, shown.uid);
    Unload();
}
