// Shows a small form with every control kind on a real (virtual) X display
// and saves a picture of the screen for a person to look at. Fails when the
// picture could not be taken or shows nothing but one colour.
#include <QApplication>
#include <QEventLoop>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <cstdio>

#include "platform/store/program_folder.h"
#include "platform/ui/app_info.h"
#include "platform/ui/check_box.h"
#include "platform/ui/combo_box.h"
#include "platform/ui/command_button.h"
#include "platform/ui/form.h"
#include "platform/ui/forms.h"
#include "platform/ui/frame.h"
#include "platform/ui/image_list.h"
#include "platform/ui/label.h"
#include "platform/ui/list_box.h"
#include "platform/ui/list_view.h"
#include "platform/ui/menu.h"
#include "platform/ui/option_button.h"
#include "platform/ui/picture_box.h"
#include "platform/ui/progress_bar.h"
#include "platform/ui/rich_text_box.h"
#include "platform/ui/status_bar.h"
#include "platform/ui/tab_strip.h"
#include "platform/ui/text_box.h"
#include "platform/ui/timer.h"
#include "platform/ui/tool_bar.h"
#include "platform/ui/tool_tip_window.h"
#include "platform/ui/tree_view.h"
#include "platform/ui/up_down.h"
#include "tests/support/qt/screenshot.h"

namespace {

QPixmap icon(QColor colour, const QString& letter) {
    QPixmap p(16, 16);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setBrush(colour);
    g.setPen(colour.darker());
    g.drawRoundedRect(1, 1, 14, 14, 3, 3);
    g.setPen(Qt::white);
    QFont f = g.font();
    f.setPixelSize(10);
    f.setBold(true);
    g.setFont(f);
    g.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, letter);
    return p;
}

class frmGallery : public vb::Form {
public:
    frmGallery() {
        for (const auto& [key, colour] :
             std::vector<std::pair<QString, QColor>>{{"Normal", Qt::gray},
                                                     {"New", Qt::blue},
                                                     {"Spam", Qt::red},
                                                     {"CheckAll", Qt::darkGreen},
                                                     {"Help", Qt::darkCyan},
                                                     {"Ascending", Qt::darkYellow},
                                                     {"Quit", Qt::darkRed}}) {
            images_.Add(icon(colour, key.left(1)), key);
        }
        Build();
    }
    vb::Menu mnuPopMenu;
    vb::Menu mnuCheckAll{mnuPopMenu};
    vb::Menu mnuSep{mnuPopMenu};
    vb::Menu mnuQuit{mnuPopMenu};
    std::unique_ptr<vb::ToolTipWindow> tips;
    vb::ListView* lvwEmail = nullptr;

protected:
    void Form_Load() override {
        SetCaption(vb::App::Title() + " - every control kind & \"literal\" captions");
        SetClientSize(11400, 8200);
        mnuPopMenu.SetPictures(&images_);
        mnuCheckAll.SetCaption("&Check All|#CheckAll");
        mnuSep.SetCaption("-");
        mnuQuit.SetCaption("&Quit Application|#Quit");
        vb::ApplyMenuStyle({4, 10072511, 15724527, 5733521});
    }

private:
    void Build() {
        auto* tbr = new vb::ToolBar(this);
        tbr->SetImageList(&images_);
        tbr->AddButton("CheckAll", "Check All     ", vb::tbrDefault, "CheckAll")
            .SetToolTipText("Check All Accounts");
        tbr->AddButton("Help", "Help     ", vb::tbrDefault, "Help");
        tbr->AddButton("Quit", "Quit     ", vb::tbrDefault, "Quit");
        tbr->SetStyle(vb::tbrFlat);
        tbr->Move(60, 60, 6000, 2 * tbr->ButtonHeight());

        auto* tabs = new vb::TabStrip(this);
        tabs->SetImageList(&images_);
        tabs->Move(60, 700, 7000, 4300);
        tabs->AddTab("Home  (3)", "New");
        tabs->AddTab("Work & Play", "Normal");
        tabs->AddTab("Spam box", "Spam");
        lvwEmail = new vb::ListView(this);
        lvwEmail->Move(120, 700 + tabs->ClientTop() + 60, 6880, 2900);
        lvwEmail->SetSmallIcons(&images_);
        lvwEmail->SetColumnHeaderIcons(&images_);
        lvwEmail->AddColumn("From", "From", 1700, vb::lvwColumnLeft, "Ascending");
        lvwEmail->AddColumn("To", "To", 1300);
        lvwEmail->AddColumn("Subject", "Subject", 2100);
        lvwEmail->AddColumn("Size", "Size", 900, vb::lvwColumnRight);
        const QStringList rows[] = {{"alice@example.org", "me", "Lunch on <Friday>?", "2 KB"},
                                    {"bob@example.com", "me", "Invoice & receipt", "14 KB"},
                                    {"spammer@bad.test", "me", "WIN NOW", "1 KB"}};
        const char* iconsOf[] = {"New", "Normal", "Spam"};
        for (int i = 0; i < 3; ++i) {
            vb::ListItem item = lvwEmail->AddItem(rows[i][0], iconsOf[i]);
            for (int c = 1; c < 4; ++c) item.SetSubItems(c, rows[i][c]);
            if (i == 0) {
                item.SetBold(true);
                for (int c = 1; c < 4; ++c) item.SetSubItemBold(c, true);
            }
        }
        lvwEmail->Item(2).SetSelected(true);
        auto* sb = new vb::StatusBar(this);
        sb->Move(120, 700 + 4300 - 420, 6880, 360);
        sb->AddPanel("Home - 3 Messages", 1500, vb::sbrSpring);
        sb->AddPanel("1 New", 900);
        sb->SetPanelPicture(2, images_.Picture("New"));
        sb->AddPanel("Auto Check at 9:30 PM", 2100);
        sb->AddPanel(" Dec 8/26 9:05 PM ", 1500);
        auto* progress = new vb::ProgressBar(this);
        progress->Move(135, 700 + 4300 - 400, 1400, 300);
        progress->SetMax(10);
        progress->SetValue(6);

        auto* fra = new vb::Frame(this);
        fra->SetCaption("Options & choices");
        fra->Move(7300, 60, 3900, 2400);
        auto* chk0 = new vb::CheckBox(fra);
        chk0->SetCaption("Sound On");
        chk0->SetValue(vb::vbChecked);
        chk0->Move(150, 300, 1800, 300);
        auto* chk1 = new vb::CheckBox(fra);
        chk1->SetCaption("Grey");
        chk1->SetValue(vb::vbGrayed);
        chk1->Move(2000, 300, 1500, 300);
        auto* opt1 = new vb::OptionButton(fra);
        opt1->SetCaption("Ascending");
        opt1->Move(150, 650, 1700, 300);
        auto* opt2 = new vb::OptionButton(fra);
        opt2->SetCaption("Descending");
        opt2->Move(2000, 650, 1700, 300);
        opt2->SetValue(true);
        auto* cbo = new vb::ComboBox(fra);
        for (const char* s : {"From", "To", "Subject", "Body"}) cbo->AddItem(s);
        cbo->SetText("Subject");
        cbo->Move(150, 1050, 1700, 330);
        auto* txt = new vb::TextBox(fra);
        txt->SetText("30");
        txt->Move(2000, 1050, 700, 330);
        auto* upd = new vb::UpDown(fra);
        upd->SetMin(0);
        upd->SetMax(59);
        upd->SetBuddy(txt);
        upd->Move(2700, 1050, 255, 330);
        auto* pwd = new vb::TextBox(fra);
        pwd->SetPasswordChar("*");
        pwd->SetText("secret");
        pwd->Move(150, 1500, 1700, 330);
        auto* cmd = new vb::CommandButton(fra);
        cmd->SetCaption("Save & Close");
        cmd->Move(2000, 1500, 1700, 380);
        auto* pic = new vb::PictureBox(fra);
        pic->SetStretch(true);
        pic->SetPicture(images_.Picture("CheckAll"));
        pic->Move(150, 1950, 360, 360);
        auto* lbl = new vb::Label(fra);
        lbl->SetCaption("Label with <b>plain</b> & text");
        lbl->SetForeColor(vb::RGB(192, 0, 0));
        lbl->Move(600, 1980, 3200, 300);

        auto* tvw = new vb::TreeView(this);
        tvw->SetImageList(&images_);
        for (const char* s :
             {"StartUp", "Auto Check", "Defaults", "Menu Colours", "Miscellaneous", "About"}) {
            tvw->AddNode(s, 1 + tvw->NodeCount() % images_.Count());
        }
        tvw->Select(2);
        tvw->Move(7300, 2600, 1800, 2400);
        auto* lst = new vb::ListBox(this, vb::vbListBoxCheckbox);
        lst->AddItem("Spam words");
        lst->AddItem("Boss");
        lst->SetSelected(0, true);
        lst->Move(9200, 2600, 2000, 2400);

        auto* rtb = new vb::RichTextBox(this);
        rtb->Move(60, 5200, 7000, 2900);
        rtb->SetSelBold(true);
        rtb->SetSelText("From:  ");
        rtb->SetSelBold(false);
        rtb->SetSelText("alice@example.org\r\n");
        rtb->SetSelBold(true);
        rtb->SetSelText("Subject:  ");
        rtb->SetSelBold(false);
        rtb->SetSelText("Lunch on <Friday>?\r\n");
        rtb->SetSelColor(vb::RGB(0, 0, 160));
        rtb->SetSelText("Rich text: bold labels, plain values, coloured line.");
        auto* multi = new vb::TextBox(this, true);
        multi->SetText("Multi-line text box\r\nFrom contains alice\r\nAND Size GreaterThan 10");
        multi->Move(7300, 5200, 3900, 1300);
        auto* note = new vb::Label(this);
        note->SetCaption("Tool tip and pop-up menu are shown to the right.");
        note->SetWordWrap(true);
        note->Move(7300, 6600, 3900, 600);
        timer_.SetInterval(100);
        timer_.Tick = [progress] { progress->SetValue((progress->Value() + 1) % (progress->Max() + 1)); };
    }

    vb::ImageList images_;
    vb::Timer timer_;
};

void spin(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUT.png\n", argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    platform::store::SetAppIdentity({"Maker\\Gallery", "gallery", "Gallery", "Maker", "", ""});
    frmGallery& f = vb::Forms::Get<frmGallery>();
    f.Move(300, 300);
    f.Show();
    spin(300);
    const QPoint right = f.frameGeometry().topRight() + QPoint(20, 40);
    f.tips = std::make_unique<vb::ToolTipWindow>(&f);
    f.tips->AddTool(*f.lvwEmail, "alice@example.org,\r\nbob@example.com");
    f.tips->SetBackColor(vb::RGB(252, 254, 224));
    f.tips->SetMaxTipWidth(240);
    f.tips->SetDelayTime(vb::TTDT_INITIAL, 10);
    QCursor::setPos(right);
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(f.lvwEmail->viewport(), &enter);
    f.mnuPopMenu.QtMenu()->popup(right + QPoint(0, 60));
    spin(400);
    const QRect area = f.frameGeometry().united(QRect(right, QSize(320, 260))).adjusted(-10, -10, 10, 10);
    const bool saved = test_support::SaveScreenshot(area, f, argv[1]);
    f.mnuPopMenu.QtMenu()->hide();
    vb::Forms::End();
    return saved ? 0 : 1;
}
