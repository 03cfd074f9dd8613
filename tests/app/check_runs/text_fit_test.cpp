// Every text the windows show at their default size fits its control, in the
// face the windows are drawn in: labels, check boxes, option buttons, the
// status panels and the cells of a list filled by a real check. The judge is
// the toolkit's own measure of what a control needs to show its text whole.
#include <gtest/gtest.h>

#include <QAbstractItemDelegate>
#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QStyleOptionViewItem>
#include <QTest>
#include <QTreeWidget>

#include "app/check/schedule.h"
#include "app/common/app_settings.h"
#include "app/forms/first_use/frm_first_use.h"
#include "app/forms/new_mail/frm_message.h"
#include "app/forms/preview/frm_preview.h"
#include "app/forms/rule_file/frm_rule_file.h"
#include "app/general/check_status.h"
#include "platform/ui/design_font.h"
#include "platform/ui/msg_box.h"
#include "tests/app/forms/laid_out_main_window.h"
#include "tests/app/forms/layout_faults.h"
#include "tests/support/pop3d_mailbox.h"

namespace {

using testsupport::Pop3dMailbox;
using testsupport::Pop3dServer;

// A message as a server holds it; the list shows its date in local time.
std::string Message(const std::string& from, const std::string& to, const std::string& subject,
                    const std::string& date) {
    return "From: " + from + "\r\nTo: " + to + "\r\nSubject: " + subject + "\r\nDate: " + date +
           "\r\nMessage-ID: <" + subject + "@example.org>\r\n\r\nHello.\r\n";
}

// Every text control shown in `window`, named by its text, with what it lacks.
std::vector<std::string> CutTexts(const QWidget& window) {
    std::vector<std::string> cut;
    for (const QWidget* w : window.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&window)) continue;
        if (const int lack = TextShortfall(*w); lack > 0) {
            const QString text = w->property("text").toString();
            cut.push_back(text.toStdString() + " (" + std::to_string(lack) + " px short)");
        }
    }
    return cut;
}

// Cells of the list wider than their column, as the list draws them.
std::vector<std::string> CutCells(const QTreeWidget& list, int columns) {
    std::vector<std::string> cut;
    QStyleOptionViewItem option;
    option.initFrom(&list);
    option.decorationSize = list.iconSize();
    for (int row = 0; row < list.topLevelItemCount(); ++row) {
        for (int column = 0; column < columns; ++column) {
            const QModelIndex index = list.model()->index(row, column);
            QStyleOptionViewItem cell = option;
            cell.font = list.topLevelItem(row)->font(column);
            const int needed = list.itemDelegateForIndex(index)->sizeHint(cell, index).width();
            if (needed > list.columnWidth(column))
                cut.push_back(index.data().toString().toStdString() + " (" +
                              std::to_string(needed - list.columnWidth(column)) + " px short)");
        }
    }
    return cut;
}

class TextFit : public ::testing::Test {
protected:
    void SetUp() override {
        // The clock at the widest time of day, so every status text is at
        // its longest.
        modCheck::gClock = [] {
            return QDateTime::fromString(QStringLiteral("2026-05-28T12:58:00"), Qt::ISODate);
        };
    }
    void TearDown() override {
        modCheck::gClock = [] { return QDateTime::currentDateTime(); };
        vb::Forms::End();
    }

    // One account on the test server holding `mailbox`; the window loaded
    // and shown at its default size.
    frmMain& Load(const Pop3dMailbox& mailbox) {
        const QString settings = QStringLiteral("Settings");
        const auto save = [&](const char* key, const QString& value) {
            SaveSetting(kAppKey, settings, QString::fromLatin1(key), value);
        };
        save("AcntNum", QStringLiteral("1"));
        save("AcntName1", QStringLiteral("Home"));
        save("AcntServer1", QString::fromStdString(server_.host));
        save("AcntPort1", QString::number(server_.port));
        save("AcntLoginID1", QString::fromStdString(mailbox.user()));
        save("AcntPassword1", QString::fromStdString(mailbox.password()));
        for (const auto& [key, value] :
             {std::pair{"UseInterval", "1"}, {"ShowEmailMsgBox", "1"}, {"ShowEmail", "1"}})
            SaveSetting(kAppKey, QStringLiteral("Settings\\Options"), QString::fromLatin1(key),
                        QString::fromLatin1(value));
        modGeneral::gAppName = QStringLiteral("Veltrane");
        frmMain& form = LaidOutMainWindow();
        form.checks().Record().StartUpDone = true;
        form.Show();
        return form;
    }

    Pop3dServer server_ = Pop3dServer::fromEnvironment();
};

TEST_F(TextFit, TheWindowsDrawInTheDesignedFace) {
    frmMain& form = vb::Forms::Get<frmMain>();
    EXPECT_TRUE(vb::DesignFaceInstalled()) << "setup installs the face the windows are designed in";
    EXPECT_EQ(form.font().pointSizeF(), 8);
    EXPECT_EQ(form.controls().lvwEmail.font().family(), vb::DesignFont().family());
}

TEST_F(TextFit, EveryTextOfEveryPageAndWindowFitsAtTheDefaultSize) {
    Pop3dMailbox mailbox(server_);
    // New mail in bold, the dates at their widest (two-digit hours, PM),
    // sizes of five digits; names and subjects of the length the designed
    // columns hold (longer ones are cut and shown whole in a tool tip).
    mailbox.add("1", Message("Ann Smith <ann@mail.org>", "Bob <bob@mail.org>", "Minutes of May",
                             "Thu, 28 May 2026 22:58:58"));
    mailbox.add("2", Message("Tom <tom@mail.org>", "Bob <bob@mail.org>", "Party on Monday",
                             "Sat, 19 Sep 2026 23:48:08"));
    mailbox.add("3", Message("Mary Wood <mw@mail.org>", "Team <all@mail.org>", "Holiday plans",
                             "Wed, 30 Dec 2026 10:07:00"));
    std::string large;
    while (large.size() < 1'234'000) large += std::string(78, 'x') + "\r\n";
    mailbox.add("4", Message("Shop <offers@mail.org>", "Bob <bob@mail.org>", "Our March offers",
                             "Tue, 03 Mar 2026 12:00:00") +
                         large);
    frmMain& form = Load(mailbox);
    vb::ScriptedMsgBoxes boxes;
    form.checks().RunAutoCheck();  // as its timer does when it falls due: with the pop-up
    ASSERT_EQ(form.controls().lvwEmail.ItemCount(), 4) << "the check listed the mailbox";
    ASSERT_TRUE(form.controls().lvwEmail.Item(1).Bold()) << "the rows are new, drawn in bold";

    EXPECT_EQ(CutCells(form.controls().lvwEmail, 5), std::vector<std::string>{});
    EXPECT_EQ(CutTexts(form), std::vector<std::string>{}) << "the Email page after a check";
    for (const char* page : {"Accounts", "Rules"}) {
        form.controls().tbrMainButtons.Buttons(QString::fromLatin1(page)).QtButton().click();
        EXPECT_EQ(CutTexts(form), std::vector<std::string>{}) << page;
    }
    form.controls().tbrMainButtons.Buttons(QStringLiteral("Options")).QtButton().click();
    for (int node = 1; node <= 6; ++node) {
        form.controls().TreeView.Select(node);
        form.options().TreeView_Click();
        EXPECT_EQ(CutTexts(form), std::vector<std::string>{}) << "Options page " << node;
    }

    ASSERT_TRUE(vb::Forms::IsLoaded<frmMessage>()) << "the check's pop-up";
    EXPECT_EQ(CutTexts(vb::Forms::Get<frmMessage>()), std::vector<std::string>{}) << "the pop-up";
    vb::Forms::Unload<frmMessage>();
    form.controls().tbrMainButtons.Buttons(QStringLiteral("Email")).QtButton().click();
    QTest::mouseClick(
        form.controls().lvwEmail.viewport(), Qt::LeftButton, {},
        form.controls().lvwEmail.visualItemRect(form.controls().lvwEmail.Item(1).QtItem()).center());
    form.controls().tbrEmail.Buttons(QStringLiteral("EmailPreview")).QtButton().click();
    ASSERT_TRUE(vb::Forms::IsLoaded<frmPreview>());
    EXPECT_EQ(CutTexts(vb::Forms::Get<frmPreview>()), std::vector<std::string>{}) << "the preview";
    vb::Forms::Get<frmFirstUse>().Show();
    EXPECT_EQ(CutTexts(vb::Forms::Get<frmFirstUse>()), std::vector<std::string>{}) << "the first-use window";
    vb::Forms::Get<frmRuleFile>().Show();
    EXPECT_EQ(CutTexts(vb::Forms::Get<frmRuleFile>()), std::vector<std::string>{}) << "the rules file window";
}

}  // namespace
