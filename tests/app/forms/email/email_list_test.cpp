// The message list of the main window, filled from the message store and
// sorted by its column headers.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <functional>
#include <vector>

#include "app/accounts/account_table.h"
#include "app/common/app_settings.h"
#include "app/forms/email/list_tallies.h"
#include "app/forms/main_window/frm_main.h"
#include "app/forms/main_window/window_slots.h"
#include "app/general/check_status.h"
#include "app/general/message_store.h"
#include "app/options/option_values.h"
#include "app/options/options_edit.h"
#include "app/options/options_view.h"
#include "platform/ui/forms.h"
#include "platform/ui/image_list.h"

using namespace frmMainElements;  // tbrClient(tbrClient::kAccount)

using namespace modAccounts;
using namespace modGeneral;

namespace {

struct Msg {
    bool isNew;
    bool marked;  // for deletion
    bool spam;
    bool attach;
    const char* from = "";
    int64_t size = 1;  // KB
};

// Two stored accounts, "Home" and "Work" (switched off); the window loaded.
class EmailList : public ::testing::Test {
protected:
    void SetUp() override {
        const QString settings = QStringLiteral("Settings");
        SaveSetting(kAppKey, settings, QStringLiteral("AcntNum"), QStringLiteral("2"));
        for (int i : {1, 2}) {
            const QString n = QString::number(i);
            SaveSetting(kAppKey, settings, QStringLiteral("AcntName") + n, i == 1 ? "Home" : "Work");
            SaveSetting(kAppKey, settings, QStringLiteral("AcntEnabled") + n, i == 1 ? "1" : "0");
            SaveSetting(kAppKey, settings, QStringLiteral("AcntServer") + n, QStringLiteral("127.0.0.1"));
        }
        gAppName = QStringLiteral("Veltrane");
        form();  // the load sizes the account arrays
    }
    void TearDown() override {
        form().mQuitting = true;  // the close box alone would go to the tray
        vb::Forms::Unload<frmMain>();
    }
    static frmMain& form() { return vb::Forms::Get<frmMain>(); }

    // Account a holds msgs, each field tagged with its message number (the
    // date: day n of January 2024).
    static void Store(int16_t a, const std::vector<Msg>& msgs) {
        std::vector<StoredMessage> stored;
        for (const Msg& m : msgs) {
            const int i = static_cast<int>(stored.size()) + 1;
            const QString n = QString::number(i);
            StoredMessage s;
            s.New = m.isNew;
            s.Delete = m.marked;
            s.Spam = m.spam;
            s.Attach = m.attach;
            s.From = *m.from ? QString::fromLatin1(m.from) : "from" + n;
            s.To = "to" + n;
            s.Subject = "subject" + n;
            s.Date = QDateTime(QDate(2024, 1, i % 28 + 1), QTime(9, 30));
            s.Size = m.size;
            s.PlainText = ("plain" + n).toUtf8();
            s.Uid = "uid" + n;
            s.Body = ("body" + n).toLatin1();
            stored.push_back(s);
        }
        AccountRow(a).Messages = stored;
        gAccounts[a].MsgCount = static_cast<int16_t>(msgs.size());
    }
    static QString Panel2Picture() {
        const qint64 shown = form().controls().StatusBar.PanelPicture(forms::panel::kNewCount).cacheKey();
        for (int i = 1; i <= form().controls().imlListViewIcons.Count(); ++i)
            if (form().controls().imlListViewIcons.Picture(i).cacheKey() == shown)
                return form().controls().imlListViewIcons.Key(i);
        return QString();
    }
    static std::vector<std::string> FromColumn() {
        std::vector<std::string> rows;
        for (int i = 1; i <= form().controls().lvwEmail.ItemCount(); ++i)
            rows.push_back(form().controls().lvwEmail.Item(i).Text().toStdString());
        return rows;
    }
};

TEST_F(EmailList, TheLoadShowsTheFirstAccountNotYetChecked) {
    frmMain& f = form();
    EXPECT_EQ(f.controls().lvwEmail.ItemCount(), 0);
    EXPECT_EQ(f.controls().TabStripEmail.TabCaption(1), "Home");
    EXPECT_EQ(f.controls().TabStripEmail.TabImage(2), "MailNoDisabled");
    EXPECT_EQ(f.controls().StatusBar.PanelText(forms::panel::kResult), "Home");
    EXPECT_EQ(f.controls().StatusBar.PanelText(forms::panel::kNewCount), "") << "never checked: no count";
    EXPECT_FALSE(f.controls().StatusBar.PanelHasPicture(2));
    EXPECT_EQ(f.controls().StatusBar.PanelText(forms::panel::kStatus), "Not Checked");
    EXPECT_EQ(f.controls().StatusBar.PanelText(forms::panel::kAutoCheck),
              form().checks().Record().AutoCheckText);
}

TEST_F(EmailList, RowsCarryTheStoreTheirIconsAndNewMailInBold) {
    // One row per line of the icon table, in its order.
    const std::vector<std::pair<Msg, const char*>> rows = {
        {{true, true, true, true}, "DeleteAttach"}, {{true, true, false, false}, "Delete"},
        {{true, false, true, true}, "SpamNew"},     {{true, false, false, true}, "AttachNew"},
        {{true, false, false, false}, "New"},       {{false, true, false, true}, "DeleteAttach"},
        {{false, true, true, false}, "Delete"},     {{false, false, true, true}, "Spam"},
        {{false, false, false, true}, "Attach"},    {{false, false, false, false}, "Normal"},
    };
    std::vector<Msg> msgs;
    for (const auto& row : rows) msgs.push_back(row.first);
    Store(1, msgs);
    gCurrentMsg = 7;
    frmMain& f = form();
    f.email().FillMessageList(1);
    f.controls().lvwEmail.Item(1).SetSelected(true);  // the old rows go, with their selection
    f.controls().mnuEmailPreview.SetEnabled(true);
    f.controls().tbrEmail.Buttons(QStringLiteral("EmailDelete")).SetEnabled(true);
    f.email().FillMessageList(1);

    ASSERT_EQ(f.controls().lvwEmail.ItemCount(), 10);
    for (int i = 1; i <= 10; ++i) {
        SCOPED_TRACE(i);
        vb::ListItem item = f.controls().lvwEmail.Item(i);
        const QString n = QString::number(i);
        EXPECT_EQ(item.Text(), "from" + n);
        // The hidden columns hold nothing: the commands read the store.
        const QString date = QStringLiteral("Jan %1, 2024 09:30:00 AM").arg(i + 1, 2, 10, QChar('0'));
        const QStringList expected = {"to" + n, "subject" + n, date, "1 KB", "", "", "", ""};
        for (int sub = 1; sub <= 8; ++sub) EXPECT_EQ(item.SubItems(sub), expected[sub - 1]);
        EXPECT_EQ(item.SmallIcon(), rows[static_cast<size_t>(i - 1)].second);
        const bool isNew = rows[static_cast<size_t>(i - 1)].first.isNew;
        EXPECT_EQ(item.Bold(), isNew);
        for (int sub = 1; sub <= 4; ++sub) EXPECT_EQ(item.SubItemBold(sub), isNew);
        EXPECT_FALSE(item.SubItemBold(5));
        EXPECT_FALSE(item.Selected());
    }
    EXPECT_EQ(forms::gDeleteAttachTally, 2);
    EXPECT_EQ(forms::gAttachNewTally, 1);
    EXPECT_EQ(forms::gAttachTally, 1);
    EXPECT_EQ(gCurrentMsg, 1);
    EXPECT_EQ(f.controls().lvwEmail.SelectedItem(), 0);
    EXPECT_EQ(f.controls().TabStripEmail.TabCaption(1), "Home  (10)");
    EXPECT_EQ(f.controls().TabStripAcnts.TabCaption(1), "Home  (10)");
    EXPECT_EQ(f.controls().TabStripEmail.TabImage(1), "MailYes");
    EXPECT_TRUE(f.controls().tbrEmail.Buttons(QStringLiteral("EmailSpam")).Enabled())
        << "spam rows are listed";
    for (const char* key : {"EmailPreview", "EmailReply", "EmailOpen", "EmailDelete"})
        EXPECT_FALSE(f.controls().tbrEmail.Buttons(QString::fromLatin1(key)).Enabled()) << key;
    for (vb::Menu* entry : {&f.controls().mnuEmailPreview, &f.controls().mnuEmailDelete,
                            &f.controls().mnuEmailReply, &f.controls().mnuEmailOpen})
        EXPECT_FALSE(entry->Enabled());

    Store(1, {{false, false, false, false}});  // no spam left: the spam button goes off
    f.email().FillMessageList(1);
    EXPECT_FALSE(f.controls().tbrEmail.Buttons(QStringLiteral("EmailSpam")).Enabled());
    EXPECT_EQ(forms::gDeleteAttachTally + forms::gAttachNewTally + forms::gAttachTally, 0);
}

// However many rows the list holds, its five columns fit it: no horizontal
// scroll bar at the opening size, maximised, after the Options page's reset
// of the widths, and back at the opening size.
TEST_F(EmailList, TheColumnsFitTheListAtEverySize) {
    for (const int rows : {0, 4, 300}) {
        SCOPED_TRACE(testing::Message() << rows << " rows");
        form().mQuitting = true;
        vb::Forms::Unload<frmMain>();
        frmMain& f = form();
        vb::ListView& list = f.controls().lvwEmail;
        f.Show();
        const auto fits = [&](const char* when) {
            // The list lays out its scroll bars in passes of its own.
            for (int pass = 0; pass < 3; ++pass) QApplication::processEvents();
            int columns = 0;
            for (int c = 1; c <= list.ColumnCount(); ++c) columns += list.columnWidth(c - 1);
            EXPECT_LE(columns, list.viewport()->width()) << when;
            EXPECT_FALSE(list.horizontalScrollBar()->isVisible()) << when;
        };
        Store(1, std::vector<Msg>(static_cast<std::size_t>(rows), Msg{true, false, false, true}));
        f.email().FillMessageList(1);
        fits("at the opening size");
        EXPECT_EQ(list.verticalScrollBar()->isVisible(), rows == 300);
        const int opening = f.width();
        f.SetWindowState(vb::vbMaximized);
        QApplication::processEvents();
        ASSERT_GT(f.width(), opening);
        fits("maximised");
        f.controls()
            .tbrOptMisc(tbrOptMisc::kRestoreColWidth)
            .Buttons(QStringLiteral("RestoreColWidth"))
            .QtButton()
            .click();
        fits("maximised, the widths reset");
        f.SetWindowState(vb::vbNormal);
        fits("back at the opening size");
    }
}

// A large mailbox: every record becomes its row, in store order and with its
// own texts and icon, and a sort by date orders the rows by time.
TEST_F(EmailList, TenThousandRecordsFillTheList) {
    constexpr int kCount = 10000;
    std::vector<Msg> msgs;
    for (int i = 1; i <= kCount; ++i)
        msgs.push_back({i % 10 == 0, false, i % 7 == 0, i % 3 == 0, "", i % 500});
    Store(1, msgs);
    // Dates out of order: the later the record, the earlier its day.
    for (int16_t i = 1; i <= kCount; ++i)
        modGeneral::Msg(1, i).Date = QDateTime(QDate(2024, 1, 1).addDays(kCount - i), QTime(8, 0));
    frmMain& f = form();
    f.email().FillMessageList(1);
    ASSERT_EQ(f.controls().lvwEmail.ItemCount(), kCount);
    EXPECT_EQ(f.controls().TabStripEmail.TabCaption(1), "Home  (10000)");
    int spam = 0, attachNew = 0, attach = 0;
    for (int i = 1; i <= kCount; ++i) {
        vb::ListItem row = f.controls().lvwEmail.Item(i);
        const QString n = QString::number(i);
        if (row.Text() != "from" + n || row.SubItems(2) != "subject" + n ||
            row.SubItems(4) != QString::number(i % 500) + " KB" || !row.SubItems(5).isEmpty() ||
            row.Bold() != (i % 10 == 0)) {
            ADD_FAILURE() << "row " << i << " shows " << row.Text().toStdString();
            break;
        }
        const QString icon = row.SmallIcon();
        spam += icon.startsWith("Spam");
        attachNew += icon == "AttachNew";
        attach += icon == "Attach";
    }
    EXPECT_EQ(spam, kCount / 7);
    EXPECT_EQ(forms::gAttachNewTally, attachNew);
    EXPECT_EQ(forms::gAttachTally, attach);
    EXPECT_EQ(attachNew + attach, kCount / 3 - kCount / 21) << "every record with an attachment and no spam";

    modOptions::gOpt.SortOrder = 0;
    f.email().SortMessageList(1, QStringLiteral("Date"));
    f.email().FillMessageList(1);
    EXPECT_EQ(f.controls().lvwEmail.Item(1).Text(), "from10000");
    EXPECT_EQ(f.controls().lvwEmail.Item(kCount).Text(), "from1");
    EXPECT_EQ(f.controls().lvwEmail.Item(1).SubItems(3), "Jan 01, 2024 08:00:00 AM");
}

TEST_F(EmailList, StatusBarCountAndPicture) {
    struct Case {
        const char* name;
        std::vector<Msg> msgs;
        int16_t newCount, spamCount, deleteCount;
        const char* result;  // "" = the account's name
        const char* status;
        const char* text;
        const char* picture;  // "" = none
    };
    const Msg plain{false, false, false, false};
    const Msg newAttach{true, false, false, true};
    const Msg markedAttach{false, true, false, true};
    const Msg oldAttach{false, false, false, true};
    // clang-format off
    const std::vector<Case> cases = {
        {"new and spam", {newAttach, plain}, 1, 3, 1, "", "Checked", "3", "SpamNew"},
        {"new, deleted with attachment", {newAttach, markedAttach}, 1, 0, 1, "", "Checked", "1", "DeleteAttach"},
        {"new with attachment", {newAttach, newAttach}, 2, 0, 0, "", "Checked", "2", "AttachNew"},
        {"new plain", {plain, plain, plain}, 2, 0, 0, "", "Checked", "2", "New"},
        {"old spam", {plain}, 0, 4, 0, "", "Checked", "4", "Spam"},
        {"old, deleted with attachment", {markedAttach, markedAttach}, 0, 0, 1, "", "Checked", "2", "DeleteAttach"},
        {"old deleted", {plain}, 0, 0, 5, "", "Checked", "5", "Delete"},
        {"old with attachment", {oldAttach, plain}, 0, 0, 0, "", "Checked", "1", "Attach"},
        {"stopped", {}, 0, 0, 0, "Home - User Stopped Retrieval", "Checked", "", ""},
        {"never checked", {}, 0, 0, 0, "", "Not Checked", "", ""},
        {"plain", {plain, plain}, 0, 0, 0, "Home - 2 messages", "Checked", "2", "Normal"},
        {"empty", {}, 0, 0, 0, "", "Checked", "0", "Normal"},
    };
    // clang-format on
    frmMain& f = form();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Store(1, c.msgs);
        gAccounts[1].NewCount = c.newCount;
        gAccounts[1].SpamCount = c.spamCount;
        gAccounts[1].DeleteCount = c.deleteCount;
        gAccounts[1].Result = *c.result ? QString::fromLatin1(c.result) : gAccounts[1].Name;
        gAccounts[1].Status = QString::fromLatin1(c.status);
        form().checks().Record().AutoCheckText = QStringLiteral("Auto Check at ") + c.name;
        f.email().FillMessageList(1);
        EXPECT_EQ(f.controls().StatusBar.PanelText(forms::panel::kResult), gAccounts[1].Result);
        EXPECT_EQ(f.controls().StatusBar.PanelText(forms::panel::kNewCount), c.text);
        EXPECT_EQ(Panel2Picture(), c.picture);
        EXPECT_EQ(f.controls().StatusBar.PanelHasPicture(2), *c.picture != 0);
        EXPECT_EQ(f.controls().StatusBar.PanelText(forms::panel::kStatus), c.status);
        EXPECT_EQ(f.controls().StatusBar.PanelText(forms::panel::kAutoCheck),
                  form().checks().Record().AutoCheckText);
    }
}

TEST_F(EmailList, TabIconsAndCaptions) {
    struct Case {
        int16_t account;
        bool checked, connected;
        int messages;
        const char* icon;
        const char* caption;
    };
    const Case cases[] = {
        {1, false, false, 0, "MailNo", "Home"},
        {1, true, true, 2, "MailYes", "Home  (2)"},
        {1, true, false, 3, "MailError", "Home  (3)"},
        {2, false, false, 0, "MailNoDisabled", "Work"},
        {2, true, true, 1, "MailYesDisabled", "Work  (1)"},
        {2, true, false, 0, "MailErrorDisabled", "Work"},
    };
    frmMain& f = form();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        Store(c.account, std::vector<Msg>(static_cast<size_t>(c.messages), Msg{false, false, false, false}));
        gAccounts[c.account].Checked = c.checked;
        gAccounts[c.account].Connected = c.connected;
        gCurrentMsg = 9;
        f.email().FillMessageList(c.account);
        EXPECT_EQ(gCurrentMsg, c.messages > 0 ? 1 : 9) << "an empty account leaves the current message";
        for (vb::TabStrip* strip : {&f.controls().TabStripEmail, &f.controls().TabStripAcnts}) {
            EXPECT_EQ(strip->TabImage(c.account), c.icon);
            EXPECT_EQ(strip->TabCaption(c.account), c.caption);
        }
    }

    // Without accounts, or for no account, nothing changes.
    f.controls().StatusBar.SetPanelText(forms::panel::kResult, QStringLiteral("kept"));
    f.email().FillMessageList(3);
    f.email().FillMessageList(0);
    gAccountCount = 0;
    f.email().FillMessageList(1);
    EXPECT_EQ(f.controls().StatusBar.PanelText(forms::panel::kResult), "kept");
    EXPECT_EQ(f.controls().TabStripEmail.TabCaption(2), "Work");
    gAccountCount = 2;
}

TEST_F(EmailList, HeaderClicksSortTheStoreAndMarkTheColumn) {
    using modOptions::gOpt;
    frmMain& f = form();
    Store(1, {{false, false, false, false, "bob", 10},
              {true, false, false, false, "Carol", 9},
              {false, false, false, false, "alice", 100}});
    gCurrentAccount = 1;
    gOpt.MessageSort = 1;
    gOpt.SortOrder = 0;
    gSortKeyPrev = QStringLiteral("Date");
    const auto click = [&](int column) { emit f.controls().lvwEmail.header()->sectionClicked(column - 1); };
    const auto icons = [&] {
        std::string s;
        for (int c = 1; c <= 5; ++c) s += f.controls().lvwEmail.Column(c).Icon().left(1).toStdString();
        return s;
    };
    using Rows = std::vector<std::string>;

    f.controls().lvwEmail.Column(7).SetWidth(500);
    click(1);  // a new column keeps the order
    EXPECT_EQ(FromColumn(), (Rows{"alice", "bob", "Carol"}));
    EXPECT_EQ(icons(), "ABBBB");
    EXPECT_EQ(f.controls().lvwEmail.Column(7).Width(), 0) << "the hidden columns stay hidden";
    EXPECT_EQ(modGeneral::Msg(1, 3).Uid, "uid2") << "the store itself is in the list's order";
    EXPECT_TRUE(f.controls().lvwEmail.Item(3).Bold()) << "the new message stays bold in its new row";
    EXPECT_EQ(modOptions::gOpt.SortColumnLastUsed, "From");

    click(1);  // the same column again turns the order round
    EXPECT_EQ(gOpt.SortOrder, 1);
    EXPECT_EQ(FromColumn(), (Rows{"Carol", "bob", "alice"}));
    EXPECT_EQ(icons(), "DBBBB");

    click(5);  // sizes by number, still descending
    EXPECT_EQ(FromColumn(), (Rows{"alice", "bob", "Carol"}));
    EXPECT_EQ(icons(), "BBBBD");

    click(7);  // a hidden column is no sort key
    click(9);
    EXPECT_EQ(gSortKey, "Size");
    EXPECT_EQ(gOpt.SortOrder, 1);
    EXPECT_EQ(icons(), "BBBBD");

    gOpt.MessageSort = 0;  // sorting off: the click only hides the extra columns
    f.controls().lvwEmail.Column(6).SetWidth(500);
    click(5);
    EXPECT_EQ(gOpt.SortOrder, 1);
    EXPECT_EQ(f.controls().lvwEmail.Column(6).Width(), 0);

    gOpt.MessageSort = 1;  // no messages: neither key nor order changes
    Store(1, {});
    f.email().FillMessageList(1);
    click(2);
    EXPECT_EQ(gSortKey, "Size");
    EXPECT_EQ(gOpt.SortOrder, 1);
}

// The order the user chose last, by a header click or on the Options page,
// is the one the list keeps and the settings store holds once the options are
// saved, by the page or by a tray switch.
TEST_F(EmailList, TheSortOrderChosenLastIsKeptAndStored) {
    using modOptions::gOpt;
    frmMain& f = form();
    const auto header = [&](int clicks) {
        for (int i = 0; i < clicks; ++i) emit f.controls().lvwEmail.header()->sectionClicked(0);
    };
    const auto page = [&](int order) { f.controls().optSortOrder(order).SetValue(true); };
    const auto saveButton = [&] {
        f.controls()
            .tbrButtons(tbrButtons::kSaveOptions)
            .Buttons(QStringLiteral("SaveOptions"))
            .QtButton()
            .click();
    };
    struct Row {
        const char* what;
        std::function<void()> choose;
        std::function<void()> save;
        int16_t order;  // 1: descending
    };
    const Row rows[] = {
        {"a header click, the tray's Sounds", [&] { header(1); }, [&] { f.controls().mnuTraySounds.Click(); },
         1},
        {"a header click, the tray's Auto Check", [&] { header(1); },
         [&] { f.controls().mnuTrayAutoCheck.Click(); }, 1},
        {"the page, then two header clicks",
         [&] {
             page(1);
             header(2);
         },
         [&] { f.controls().mnuTraySounds.Click(); }, 0},
        {"a header click, then the page",
         [&] {
             header(1);
             page(0);
         },
         saveButton, 0},
        {"the page alone", [&] { page(1); }, saveButton, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Store(1, {{false, false, false, false, "bob", 10},
                  {false, false, false, false, "Carol", 9},
                  {false, false, false, false, "alice", 100}});
        gCurrentAccount = 1;
        gOpt.MessageSort = 1;
        gOpt.SortColumn = 0;  // the column last clicked, From
        gOpt.SortColumnLastUsed = QStringLiteral("From");
        gOpt.SortOrder = 0;
        modOptions::DisplayOptions();
        gSortKey = gSortKeyPrev = QStringLiteral("From");
        row.choose();
        row.save();
        EXPECT_EQ(gOpt.SortOrder, row.order);
        EXPECT_EQ(FromColumn(), row.order == 1 ? (std::vector<std::string>{"Carol", "bob", "alice"})
                                               : (std::vector<std::string>{"alice", "bob", "Carol"}));
        EXPECT_EQ(GetSetting(kAppKey, QStringLiteral("Settings\\Options"), QStringLiteral("SortOrder")),
                  QString::number(row.order));
        EXPECT_TRUE(f.controls().optSortOrder(row.order).Value()) << "the page shows it";
    }
}

TEST_F(EmailList, SavedSortOptionsSortAndRefillTheCurrentAccount) {
    frmMain& f = form();
    Store(1, {{false, false, false, false, "b", 1}, {false, false, false, false, "a", 2}});
    gCurrentAccount = 1;
    gSortKey = QStringLiteral("From");
    modOptions::gOpt.SortOrder = 0;
    modOptions::gListSortView.Get()->SortAndFillMessageList();
    EXPECT_EQ(FromColumn(), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(f.controls().lvwEmail.Column(QStringLiteral("From")).Icon(), "Ascending");

    gSortKey = QStringLiteral("Body");  // an unknown stored name sorts nothing
    Store(1, {{false, false, false, false, "b", 1}, {false, false, false, false, "a", 2}});
    modOptions::gListSortView.Get()->SortAndFillMessageList();
    EXPECT_EQ(FromColumn(), (std::vector<std::string>{"b", "a"}));
}

}  // namespace
