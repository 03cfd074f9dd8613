// The preview window: one stored message whole, kept while the list changes
// behind it; its commands save, print, reply and open that message.
#include <sys/stat.h>

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>

#include "app/common/app_settings.h"
#include "app/common/private_temp_folder.h"
#include "app/forms/common/child_windows.h"
#include "app/forms/preview/frm_preview.h"
#include "app/general/check_status.h"
#include "app/general/message_file.h"
#include "app/options/option_values.h"
#include "platform/desktop/mail_compose.h"
#include "platform/desktop/rich_text_printer.h"
#include "platform/desktop/shell.h"
#include "platform/ui/common_dialog.h"
#include "platform/ui/design_font.h"
#include "platform/ui/forms.h"
#include "platform/ui/msg_box.h"
#include "tests/app/forms/desktop_files.h"
#include "tests/app/forms/laid_out_main_window.h"
#include "tests/app/stored_messages.h"

using namespace frmPreviewElements;  // tbrButtons(tbrButtons::kExit)

using namespace modGeneral;

namespace {

const QString kWithAttachment = QStringLiteral(
    "From: Ann Smith <ann@example.org>\r\nSubject: Minutes\r\nMIME-Version: 1.0\r\n"
    "Content-Type: multipart/mixed; boundary=\"b1\"\r\n\r\n--b1\r\nContent-Type: text/plain\r\n\r\n"
    "Hello\r\n--b1\r\nContent-Type: application/pdf; name=\"minutes.pdf\"\r\n"
    "Content-Disposition: attachment; filename=\"minutes.pdf\"\r\nContent-Transfer-Encoding: base64\r\n\r\n"
    "JVBERi0xLjQK\r\n--b1\r\nContent-Type: text/x-sh\r\nContent-Disposition: attachment; "
    "filename=\"../../evil.sh\"\r\n\r\necho hi\r\n--b1--\r\n");
const QString kHtmlOnly = QStringLiteral(
    "Subject: Offer\r\nContent-Type: text/html\r\n\r\n<img "
    "src=\"http://tracker.example/p.png\"><b>Buy</b>\r\n");

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

int PdfPages(const QString& path) {
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?!s)"));
    return static_cast<int>(QString::fromLatin1(ReadFile(path)).count(page));
}

class FrmPreview : public testing::Test {
protected:
    void SetUp() override {
        gAppName = QStringLiteral("Veltrane");
        StoreMessages();
        opened_.clear();
        platform::desktop::SetOpener([this](const QString& target) {
            opened_ << target;
            return true;
        });
    }
    // Two accounts, the first with three messages, the first one current.
    static void StoreMessages() {
        test_store::MakeAccounts(2);
        test_store::Store(
            1, {{"u1", "Ann Smith <ann@example.org>", "Minutes", "Hello\r\nAnn", kWithAttachment},
                {"u2", "Shop <shop@example.com>", "Offer", "", kHtmlOnly},
                {"u3", QString::fromUtf8("Jörg <j@example.de>"), QString::fromUtf8("Grüße aus Köln"),
                 QString::fromUtf8("Schöne Grüße\r\nJörg"), QStringLiteral("Subject: x\r\n\r\ny")}});
        modAccounts::gCurrentAccount = 1;
        gCurrentMsg = 1;
    }
    void TearDown() override {
        vb::Forms::Unload<frmPreview>();
        platform::desktop::SetOpener({});
    }
    // The preview of message msg, given the main window's link as the Email
    // page gives it, where a main window is loaded.
    frmPreview& Open(int16_t msg) {
        gCurrentMsg = msg;
        forms::MainWindowLink* main =
            vb::Forms::IsLoaded<frmMain>() ? &vb::Forms::Get<frmMain>().childWindows() : nullptr;
        frmPreview& form = vb::Forms::Get<frmPreview>(main);
        form.Show();
        return form;
    }
    static void Click(frmPreview& form, const char* key) {
        vb::ToolBar& bar =
            form.tbrButtons(key == std::string("Exit Preview") ? tbrButtons::kExit : tbrButtons::kMessage);
        bar.Buttons(QString::fromLatin1(key)).QtButton().click();
    }
    QStringList opened_;
};

TEST_F(FrmPreview, ShowsTheMessageWholeAndPausesTheCheckWhileOpen) {
    struct Row {
        int16_t msg;
        QString attached;
    };
    // With the main window, whose automatic check the preview pauses.
    frmMain& main = LaidOutMainWindow();
    StoreMessages();
    for (const Row& row : {Row{1, "minutes.pdf, ../../evil.sh"}, Row{2, ""}, Row{3, ""}}) {
        SCOPED_TRACE(row.msg);
        frmPreview& form = Open(row.msg);
        EXPECT_TRUE(forms::PreviewShown());
        EXPECT_EQ(main.checks().AutoCheckPauses(), 1);
        EXPECT_EQ(form.Caption(), QStringLiteral("Veltrane - Preview  "));
        EXPECT_EQ(form.txtPrvFrom.Text(), Msg(1, row.msg).From);
        EXPECT_EQ(form.txtPrvTo.Text(), Msg(1, row.msg).To);
        EXPECT_EQ(form.txtPrvDate.Text(), DateText(Msg(1, row.msg)));
        EXPECT_EQ(form.txtPrvSubject.Text(), Msg(1, row.msg).Subject);
        EXPECT_EQ(form.txtPrvAttach.Text(), row.attached);
        EXPECT_EQ(form.rtbBody.Text(), PlainTextOf(Msg(1, row.msg)));
        EXPECT_EQ(form.rtbRawMsg.Text(), RawMessageText(Msg(1, row.msg)));
        EXPECT_EQ(form.TabStrip.TabCaption(1), QStringLiteral("Body (Plain Text Only)"));
        EXPECT_EQ(form.TabStrip.TabCaption(2), QStringLiteral("Raw Message"));
        // Markup stays text: nothing of an HTML message is drawn or fetched.
        EXPECT_FALSE(form.rtbRawMsg.Document().toHtml().contains(QStringLiteral("<img")));
        ASSERT_TRUE(vb::Forms::Unload<frmPreview>());
        EXPECT_FALSE(forms::PreviewShown());
        EXPECT_EQ(main.checks().AutoCheckPauses(), 0);
    }
    main.mQuitting = true;
    vb::Forms::Unload<frmMain>();
}

TEST_F(FrmPreview, KeepsToItsMessageWhileTheListChangesBehindIt) {
    frmPreview& form = Open(2);
    const QByteArray shown = MessageFileBytes(1, 2).value();
    // The list is sorted and another row chosen.
    std::swap(Msg(1, 1), Msg(1, 2));
    gCurrentMsg = 2;
    vb::ScriptedDialogs dialogs;
    const QString path = QDir::temp().filePath(QStringLiteral("kept.eml"));
    dialogs.ChooseFile(path);
    Click(form, "Save");
    EXPECT_EQ(ReadFile(path), shown);
    testdesktop::InstallViewer("x-scheme-handler/mailto");
    Click(form, "Reply");
    ASSERT_EQ(opened_.size(), 1);
    EXPECT_TRUE(opened_[0].startsWith(QStringLiteral("mailto:shop@example.com?subject=Re%3A%20Offer")));

    // A check brings a list without it.
    test_store::Store(1, {{"u1", "a", "one"}, {"u3", "c", "three"}});
    vb::ScriptedMsgBoxes boxes;
    for (const char* key : {"Save", "Reply", "Open", "Print"}) Click(form, key);
    ASSERT_EQ(boxes.Calls().size(), 4u);
    EXPECT_FALSE(form.tbrButtons(tbrButtons::kMessage).Buttons(QStringLiteral("Next")).Enabled());
    EXPECT_TRUE(
        boxes.Calls()[0].prompt.startsWith(QStringLiteral("This message is no longer in the message list")));
    EXPECT_EQ(dialogs.Calls().size(), 1u) << "nothing more to save";
    EXPECT_EQ(opened_.size(), 1);
    EXPECT_EQ(form.txtPrvSubject.Text(), QStringLiteral("Offer")) << "the window still shows what it showed";
}

TEST_F(FrmPreview, SavesEachTypeAndReadsBackTheSameText) {
    frmPreview& form = Open(3);
    vb::ScriptedDialogs dialogs;
    const QDir folder(QDir::tempPath());
    for (const char* name : {"a.eml", "a.msg", "a.txt"})
        dialogs.ChooseFile(folder.filePath(QString::fromLatin1(name)));
    dialogs.Cancel();
    dialogs.ChooseFile(folder.filePath(QStringLiteral("missing/a.eml")));
    vb::ScriptedMsgBoxes boxes;
    for (int i = 0; i < 5; ++i) Click(form, "Save");

    for (const char* name : {"a.eml", "a.msg", "a.txt"})
        EXPECT_EQ(ReadFile(folder.filePath(QString::fromLatin1(name))), MessageFileBytes(1, 3)) << name;
    ASSERT_EQ(dialogs.Calls().size(), 5u);
    EXPECT_EQ(dialogs.Calls()[0].fileName, QString::fromUtf8("Grüße aus Köln"));
    EXPECT_EQ(dialogs.Calls()[0].filter,
              QStringLiteral(
                  "Internet Message (*.eml)|*.eml|Email Message (*.msg)|*.msg|Text File (*.txt)|*.txt|"));
    ASSERT_EQ(boxes.Calls().size(), 1u) << "a cancel is silent, a failed write is not";
    EXPECT_EQ(boxes.Calls()[0].title, QStringLiteral("Veltrane - Save Failed"));
}

TEST_F(FrmPreview, ReplyIsAMailtoAddressWithoutCredentials) {
    testdesktop::InstallViewer("x-scheme-handler/mailto");
    modAccounts::gAccounts[1].LoginID = QStringLiteral("login-name");
    modAccounts::gAccounts[1].Password = QStringLiteral("pass-word");
    QStringList lines;
    for (int i = 0; i < 20000; ++i) lines << QStringLiteral("line %1 of a long message").arg(i);
    test_store::Store(2, {{"u9", "Long <long@example.org>", "Long", lines.join(QStringLiteral("\r\n"))}});

    struct Row {
        int16_t account;
        const char* address;
        QString subject;
    };
    for (const Row& row : {Row{1, "j@example.de", QString::fromUtf8("Re: Grüße aus Köln")},
                           Row{2, "long@example.org", QStringLiteral("Re: Long")}}) {
        SCOPED_TRACE(row.address);
        modAccounts::gCurrentAccount = row.account;
        opened_.clear();
        frmPreview& form = Open(row.account == 1 ? 3 : 1);
        Click(form, "Reply");
        ASSERT_EQ(opened_.size(), 1);
        const QString url = opened_[0];
        const QUrl parsed(url);
        EXPECT_EQ(parsed.scheme(), QStringLiteral("mailto"));
        EXPECT_EQ(parsed.path(), QString::fromLatin1(row.address));
        EXPECT_LE(url.size(), platform::desktop::kMaxMailtoLength);
        EXPECT_FALSE(url.contains(QStringLiteral("login-name")) || url.contains(QStringLiteral("pass-word")));
        const QString query = url.section(QLatin1Char('?'), 1);
        const QString subject =
            QUrl::fromPercentEncoding(query.section(QLatin1Char('&'), 0, 0).mid(8).toLatin1());
        const QString body = QUrl::fromPercentEncoding(query.section(QStringLiteral("&body="), 1).toLatin1());
        EXPECT_EQ(subject, row.subject);
        EXPECT_TRUE(body.startsWith(QStringLiteral("-----Original Message-----\r\nFrom: ")));
        EXPECT_TRUE(body.endsWith(
            row.account == 1
                ? QString::fromUtf8(">Schöne Grüße\r\n>Jörg")
                : QStringLiteral(" of a long message\r\n>[... the rest of the message is left out "
                                 "here: it is too long to hand to your Email program. ...]")))
            << "a long body is cut after a whole line, and the cut is marked in the quoted text";
        vb::Forms::Unload<frmPreview>();
    }
}

TEST_F(FrmPreview, OpenWritesThePrivateFolderAndOpensTheMessageThere) {
    testdesktop::InstallViewer("message/rfc822");
    frmPreview& form = Open(1);
    vb::ScriptedMsgBoxes boxes;
    Click(form, "Open");
    const QString folder = PrivateTempFolder();
    ASSERT_FALSE(folder.isEmpty());
    const QString eml = QDir(folder).filePath(QStringLiteral("temporary.eml"));
    EXPECT_EQ(opened_, QStringList{eml});
    EXPECT_TRUE(boxes.Calls().empty());
    struct stat st {};
    ASSERT_EQ(::lstat(QFile::encodeName(folder).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_EQ(ReadFile(eml), MessageFileBytes(1, 1));

    // Opening again writes the message opened last; closing removes the files.
    Click(form, "Next");
    Click(form, "Open");
    EXPECT_EQ(ReadFile(eml), MessageFileBytes(1, 2));
    ASSERT_TRUE(vb::Forms::Unload<frmPreview>());
    EXPECT_FALSE(QFile::exists(QDir(folder).filePath(QStringLiteral("temporary.eml"))));
    EXPECT_FALSE(QFile::exists(QDir(folder).filePath(QStringLiteral("temporary.msg"))));
}

TEST_F(FrmPreview, ReplyOrOpenWithoutAProgramSaysSo) {
    struct Row {
        const char* key;
        QString title;
        QString says;
        int icon;
    };
    frmPreview& form = Open(1);
    // A failure warns; the failed open keeps the information icon it is given.
    for (const Row& row :
         {Row{"Reply", "Veltrane - Reply Failed", "(to open \"mailto:\" addresses)", vb::vbExclamation},
          Row{"Open", "Veltrane - Open Message Failed", "(.eml or .msg)", vb::vbInformation}}) {
        vb::ScriptedMsgBoxes boxes;
        Click(form, row.key);
        EXPECT_TRUE(opened_.isEmpty());
        ASSERT_EQ(boxes.Calls().size(), 1u);
        EXPECT_EQ(boxes.Calls()[0].title, row.title);
        EXPECT_TRUE(boxes.Calls()[0].prompt.contains(row.says)) << boxes.Calls()[0].prompt.toStdString();
        EXPECT_EQ(boxes.Calls()[0].buttons & 0x70, row.icon) << row.key;
    }
    // Both types were tried, each with the message written under its name.
    for (const char* name : {"temporary.eml", "temporary.msg"})
        EXPECT_EQ(ReadFile(QDir(PrivateTempFolder()).filePath(QString::fromLatin1(name))),
                  MessageFileBytes(1, 1));
}

TEST_F(FrmPreview, OpenThatCannotWriteNamesThePrivateFolder) {
    testdesktop::InstallViewer("message/rfc822");
    // A file where the private folder belongs: it cannot be made.
    testdesktop::WriteFile(PrivateTempFolderPath(), "in the way", false);
    frmPreview& form = Open(1);
    vb::ScriptedMsgBoxes boxes;
    Click(form, "Open");
    EXPECT_TRUE(opened_.isEmpty());
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].title, "Veltrane - Open Message Failed");
    EXPECT_EQ(boxes.Calls()[0].prompt,
              "The message could not be written to the temporary folder\r\n" + PrivateTempFolderPath() + ".");
    QFile::remove(PrivateTempFolderPath());
}

TEST_F(FrmPreview, PrintsPageByPageWithTheHeaderBlock) {
    // Lines that fill two and a half pages of the print copy's font.
    const QString pdf = QDir::temp().filePath(QStringLiteral("probe.pdf"));
    std::unique_ptr<QPrinter> probe = platform::desktop::PdfPrinter(pdf);
    probe->setFullPage(true);
    const QFont font = vb::DesignFont(10);
    const double line = QFontMetricsF(font, probe.get()).lineSpacing();
    const double usable =
        probe->paperRect(QPrinter::DevicePixel).height() - 2 * 720 * probe->logicalDpiY() / 1440.0;
    const int perPage = static_cast<int>(usable / line);
    QStringList lines;
    for (int i = 0; i < perPage * 5 / 2; ++i) lines << QStringLiteral("line %1").arg(i);
    test_store::Store(
        2, {{"u9", "a <a@x.org>", "Long", lines.join(QStringLiteral("\r\n")), QStringLiteral("raw")}});

    struct Row {
        int16_t account;
        int tab;
        int pages;
    };
    for (const Row& row : {Row{1, 1, 1}, Row{2, 1, 3}, Row{2, 2, 3}}) {
        SCOPED_TRACE(row.account * 10 + row.tab);
        modAccounts::gCurrentAccount = row.account;
        frmPreview& form = Open(1);
        form.TabStrip.Select(row.tab);
        EXPECT_EQ(form.mTabIndex, row.tab);
        const QString path = QDir::temp().filePath(QStringLiteral("print.pdf"));
        for (int twice = 0; twice < 2; ++twice) {
            std::unique_ptr<QPrinter> printer = platform::desktop::PdfPrinter(path);
            EXPECT_EQ(form.PrintTo(*printer), row.pages);
            EXPECT_EQ(PdfPages(path), row.pages);
        }
        const QString copy = form.rtbPrint.Text();
        const QString text =
            row.tab == 1 ? PlainTextOf(Msg(row.account, 1)) : RawMessageText(Msg(row.account, 1));
        EXPECT_EQ(copy, QStringLiteral("From:  ") + Msg(row.account, 1).From + QStringLiteral("\r\nTo:  ") +
                            Msg(row.account, 1).To + QStringLiteral("\r\nDate:  ") +
                            DateText(Msg(row.account, 1)) + QStringLiteral("\r\nSubject:  ") +
                            Msg(row.account, 1).Subject + QStringLiteral("\r\n") +
                            QString(97, QLatin1Char('_')) + QStringLiteral("\r\n\r\n") + text)
            << "printed twice, no text of the first copy is left";
        // The labels bold, their values not.
        QTextCursor cursor(&form.rtbPrint.Document());
        cursor.setPosition(2);
        EXPECT_TRUE(cursor.charFormat().fontWeight() >= QFont::Bold);
        cursor.setPosition(9);
        EXPECT_LT(cursor.charFormat().fontWeight(), QFont::Bold);
        vb::Forms::Unload<frmPreview>();
    }
}

TEST_F(FrmPreview, NextAndPreviousStepThroughTheAccount) {
    frmPreview& form = Open(1);
    vb::ToolBar& bar = form.tbrButtons(tbrButtons::kMessage);
    const auto enabled = [&bar](const char* key) { return bar.Buttons(QString::fromLatin1(key)).Enabled(); };
    EXPECT_FALSE(enabled("Previous"));
    EXPECT_TRUE(enabled("Next"));
    Click(form, "Next");
    Click(form, "Next");
    EXPECT_EQ(form.txtPrvSubject.Text(), Msg(1, 3).Subject);
    EXPECT_EQ(form.Shown().uid, QStringLiteral("u3"));
    EXPECT_TRUE(enabled("Previous"));
    EXPECT_FALSE(enabled("Next"));
    Click(form, "Previous");
    EXPECT_EQ(form.Shown().uid, QStringLiteral("u2"));
    Click(form, "Exit Preview");
    EXPECT_FALSE(vb::Forms::IsLoaded<frmPreview>());
}

TEST_F(FrmPreview, AHugeMessageShowsItsStartAndSavesWhole) {
    QString big;
    big.reserve(20'100'000);
    while (big.size() < 20'000'000)
        big += QStringLiteral("0123456789 abcdefghijklmnopqrstuvwxyz 0123456789\r\n");
    test_store::Store(2, {{"u9", "a", "Huge", QStringLiteral("short"), big}});
    modAccounts::gCurrentAccount = 2;
    frmPreview& form = Open(1);
    const QString shown = form.rtbRawMsg.Text();
    EXPECT_LE(shown.size(), 1'100'000);
    const QString start = shown.section(QStringLiteral("\r\n[The rest"), 0, 0);
    EXPECT_GT(start.size(), 900'000);
    EXPECT_TRUE(start.endsWith(QStringLiteral("\r\n")) && big.startsWith(start))
        << "cut at the end of a line";
    EXPECT_TRUE(shown.endsWith(QStringLiteral("Save or Open gives the whole message.]")));
    EXPECT_EQ(form.rtbBody.Text(), QStringLiteral("short"));

    vb::ScriptedDialogs dialogs;
    const QString path = QDir::temp().filePath(QStringLiteral("huge.eml"));
    dialogs.ChooseFile(path);
    Click(form, "Save");
    EXPECT_EQ(QFileInfo(path).size(), MessageFileBytes(2, 1)->size());
}

TEST_F(FrmPreview, ToolBarStylesFollowTheOptions) {
    struct Row {
        int16_t buttonStyle;
        int16_t applyStyle;
        int main;  // 1 flat, 0 raised
        int mainTop;
        int exit;
    };
    for (const Row& r : {Row{0, 1, 1, 138, 1}, Row{1, 0, 1, 138, 0}, Row{1, 1, 0, 120, 1},
                         Row{1, 2, 1, 138, 1}, Row{1, 3, 0, 120, 0}}) {
        SCOPED_TRACE(r.buttonStyle * 10 + r.applyStyle);
        modOptions::gOpt.ButtonStyle = r.buttonStyle;
        modOptions::gOpt.ApplyStyle = r.applyStyle;
        frmPreview& form = Open(1);
        EXPECT_EQ(form.tbrButtons(tbrButtons::kMessage).Style(), r.main);
        EXPECT_NEAR(form.tbrButtons(tbrButtons::kMessage).Top(), r.mainTop, 15);
        EXPECT_EQ(form.tbrButtons(tbrButtons::kExit).Style(), r.exit);
        vb::Forms::Unload<frmPreview>();
    }
}

TEST_F(FrmPreview, ResizingMovesTheControlsWithTheWindowAndKeepsAMinimum) {
    frmPreview& form = Open(1);
    const int subject = form.txtPrvSubject.Width();
    const int view = form.rtbBody.Height();
    const int exitLeft = form.tbrButtons(tbrButtons::kExit).Left();
    form.Move(form.Left(), form.Top(), form.Width() + 1500, form.Height() + 900);
    EXPECT_NEAR(form.txtPrvSubject.Width(), subject + 1500, 30);
    EXPECT_NEAR(form.rtbBody.Height(), view + 900, 30);
    EXPECT_NEAR(form.tbrButtons(tbrButtons::kExit).Left(), exitLeft + 1500, 30);
    EXPECT_NEAR(form.TabStrip.Top() + form.TabStrip.Height(),
                form.rtbBody.Top() + form.rtbBody.Height() + form.TabStrip.TabHeight(1), 30)
        << "the views end where the tab row starts";

    form.Move(form.Left(), form.Top(), 1000, 1000);
    EXPECT_GE(form.Width(), 5600 - 30);
    EXPECT_GE(form.Height(), 4000 - 30);
    EXPECT_GT(form.rtbBody.Height(), 0);
}

TEST_F(FrmPreview, PrintWithoutAPrinterOffersAPdfFile) {
    if (platform::desktop::DefaultPrinter()) GTEST_SKIP() << "this computer has a printer";
    frmPreview& form = Open(1);
    vb::ScriptedMsgBoxes boxes;
    vb::ScriptedDialogs dialogs;
    boxes.Answer(vb::vbNo);
    Click(form, "Print");
    EXPECT_TRUE(dialogs.Calls().empty()) << "No prints nothing";

    const QString pdf = QDir::temp().filePath(QStringLiteral("minutes.pdf"));
    boxes.Answer(vb::vbYes);
    dialogs.ChooseFile(pdf);
    const mode_t umask = ::umask(022);  // the usual one, which leaves files readable by all
    Click(form, "Print");
    ::umask(umask);
    ASSERT_EQ(boxes.Calls().size(), 2u);
    EXPECT_EQ(boxes.Calls()[1].title, QStringLiteral("Veltrane - Print"));
    EXPECT_TRUE(boxes.Calls()[1].prompt.startsWith(QStringLiteral("No printer is set up on this computer.")));
    ASSERT_EQ(dialogs.Calls().size(), 1u);
    EXPECT_EQ(dialogs.Calls()[0].fileName, QStringLiteral("Minutes"));
    EXPECT_EQ(PdfPages(pdf), 1);
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(pdf).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u) << "the printed message is the user's alone, as a saved one";
}

// Stepping through the messages in the preview moves the list's highlight
// with it, so a deletion asked for from the list names the row shown.
TEST_F(FrmPreview, TheListHighlightFollowsTheMessageShown) {
    SaveSettings(kAppKey, QStringLiteral("Settings"),
                 {{QStringLiteral("AcntNum"), QStringLiteral("1")},
                  {QStringLiteral("AcntName1"), QStringLiteral("New Account")}});
    frmMain& main = LaidOutMainWindow();
    test_store::Store(1, {{"u1", "Ann <ann@example.org>", "one"},
                          {"u2", "Bob <bob@example.org>", "two"},
                          {"u3", "Cy <cy@example.org>", "three"}});
    main.email().FillMessageList(1);
    modAccounts::gCurrentAccount = 1;
    const auto highlighted = [&main] {
        std::vector<int> rows;
        for (int row = 1; row <= main.controls().lvwEmail.ItemCount(); ++row)
            if (main.controls().lvwEmail.Item(row).Selected()) rows.push_back(row);
        return rows;
    };
    main.controls().lvwEmail.Item(1).SetSelected(true);
    frmPreview& form = Open(1);
    for (const auto& [key, row] : {std::pair{"Next", 2}, {"Next", 3}, {"Previous", 2}}) {
        Click(form, key);
        EXPECT_EQ(highlighted(), std::vector<int>{row}) << key;
        EXPECT_EQ(gCurrentMsg, row);
        EXPECT_EQ(main.controls().lvwEmail.currentItem(), main.controls().lvwEmail.Item(row).QtItem());
    }
    EXPECT_TRUE(main.controls().tbrEmail.Buttons(QStringLiteral("EmailDelete")).Enabled())
        << "the row is chosen";
    main.mQuitting = true;
}

// The main window's message menu and buttons act on the list's current message.
TEST_F(FrmPreview, MessageMenuOfTheMainWindow) {
    testdesktop::InstallViewer("x-scheme-handler/mailto;message/rfc822");
    SaveSettings(kAppKey, QStringLiteral("Settings"),
                 {{QStringLiteral("AcntNum"), QStringLiteral("1")},
                  {QStringLiteral("AcntName1"), QStringLiteral("New Account")}});
    frmMain& main = LaidOutMainWindow();
    test_store::Store(1, {{"u1", "Ann <ann@example.org>", "one"}, {"u2", "Bob <bob@example.org>", "two"}});
    main.email().FillMessageList(1);
    modAccounts::gCurrentAccount = 1;

    gCurrentMsg = 2;
    ASSERT_TRUE(main.tray().Commands().Run(u"tbrEmail", 0, u"EmailPreview"));
    ASSERT_TRUE(vb::Forms::IsLoaded<frmPreview>());
    frmPreview& preview = vb::Forms::Get<frmPreview>();
    EXPECT_EQ(preview.Shown().uid, QStringLiteral("u2"));
    gCurrentMsg = 1;
    main.controls().mnuEmailPreview.Click();
    EXPECT_EQ(&vb::Forms::Get<frmPreview>(), &preview) << "one preview, turned to the message chosen now";
    EXPECT_EQ(preview.txtPrvSubject.Text(), QStringLiteral("one"));

    ASSERT_TRUE(main.tray().Commands().Run(u"tbrEmail", 0, u"EmailReply"));
    main.controls().mnuEmailOpen.Click();
    ASSERT_EQ(opened_.size(), 2);
    EXPECT_TRUE(opened_[0].startsWith(QStringLiteral("mailto:ann@example.org?subject=Re%3A%20one")));
    EXPECT_TRUE(opened_[1].endsWith(QStringLiteral("/temporary.eml")));

    // No current message: nothing happens.
    vb::Forms::Unload<frmPreview>();
    gCurrentMsg = 3;
    for (const char16_t* key : {u"EmailPreview", u"EmailReply", u"EmailOpen"})
        main.tray().Commands().Run(u"tbrEmail", 0, key);
    EXPECT_FALSE(vb::Forms::IsLoaded<frmPreview>());
    EXPECT_EQ(opened_.size(), 2);

    gCurrentMsg = 1;
    main.controls().mnuEmailPreview.Click();
    main.mQuitting = true;
    vb::Forms::Unload<frmMain>();
    EXPECT_FALSE(vb::Forms::IsLoaded<frmPreview>()) << "the main window's end closes the preview";
}

}  // namespace
