// The main window checks an account and deletes its messages on the test
// POP3 server: what the store, the list and the boxes show afterwards.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <QRegularExpression>
#include <algorithm>
#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "app/accounts/account_table.h"
#include "app/common/app_settings.h"
#include "app/common/date_text.h"
#include "app/forms/checks/component_calls.h"
#include "app/forms/checks/component_object.h"
#include "app/forms/checks/freed_memory.h"
#include "app/forms/main_window/frm_main.h"
#include "app/forms/main_window/window_slots.h"
#include "app/forms/preview/frm_preview.h"
#include "app/general/check_status.h"
#include "app/general/message_store.h"
#include "app/general/server_operation.h"
#include "app/options/option_values.h"
#include "platform/com/bstr.h"
#include "platform/ui/common_dialog.h"
#include "platform/ui/forms.h"
#include "platform/ui/msg_box.h"
#include "tests/support/line_client.h"
#include "tests/support/pop3d_mailbox.h"

using namespace frmMainElements;  // tbrClient(tbrClient::kAccount)

using namespace modAccounts;
using namespace modGeneral;
using testsupport::Pop3dMailbox;
using testsupport::Pop3dServer;

namespace {

// The server keeps its index by file name across tests sharing a mailbox:
// every test names its messages afresh.
std::string Name(std::string_view suffix) {
    static const std::string prefix = std::to_string(getpid()) + "-" + std::to_string(time(nullptr)) + "-";
    return prefix + std::string(suffix);
}

std::string Plain(const std::string& from, const std::string& subject, const std::string& extra = {}) {
    return "From: " + from + "\r\nTo: box@example.org\r\nSubject: " + subject + "\r\n" + extra +
           "Date: Tue, 08 Dec 2026 21:05:00 +0000\r\n\r\nHello.\r\n";
}

// A local port nothing listens on.
uint16_t ClosedPort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    close(fd);
    return ntohs(address.sin_port);
}

class AccountCheck : public ::testing::Test {
protected:
    void SetUp() override {
        gAppName = QStringLiteral("Veltrane");
        Account(QString::number(server_.port), QString::fromStdString(mailbox_.password()));
    }
    void TearDown() override {
        form().mQuitting = true;
        vb::Forms::Unload<frmMain>();
    }
    static frmMain& form() { return vb::Forms::Get<frmMain>(); }

    // One account "Home" on the test server; the window loaded afresh.
    void Account(const QString& port, const QString& password, bool secure = false) {
        if (vb::Forms::IsLoaded<frmMain>()) TearDown();
        const QString settings = QStringLiteral("Settings");
        const auto save = [&](const char* key, const QString& value) {
            SaveSetting(kAppKey, settings, QString::fromLatin1(key) + "1", value);
        };
        SaveSetting(kAppKey, settings, QStringLiteral("AcntNum"), QStringLiteral("1"));
        save("AcntName", QStringLiteral("Home"));
        save("AcntEnabled", QStringLiteral("1"));
        save("AcntServer", QString::fromStdString(server_.host));
        save("AcntPort", port);
        save("AcntSecure", secure ? QStringLiteral("1") : QStringLiteral("0"));
        save("AcntLoginID", QString::fromStdString(mailbox_.user()));
        save("AcntPassword", password);
        gMessageStore.clear();
        form().Show();
        using namespace modOptions;
        gOpt.UseInterval = 0;
        gOpt.QuickCheck = 0;
        gOpt.MessageSort = 0;
        gOpt.ConnectTimeOut = 10;
        gOpt.DeleteConfirmation = 1;
        gOpt.SuppressConnectErrors = 0;
        gOpt.SuppressRetrieveErrors = 0;
        form().checks().Record().UserStop = false;
        form().checks().Record().IncompleteList.clear();
    }
    void Seed(std::string_view suffix, const std::string& message) {
        const std::string uid = Name(suffix);
        mailbox_.add(uid, message);
        uids_ << QString::fromStdString(uid);
    }
    // Deletes message index (1-based, in UID order) as another mail program would.
    void DeleteElsewhere(int index) const {
        testsupport::LineClient client(server_.host, server_.port);
        client.readLine();
        ASSERT_EQ(client.command("USER " + mailbox_.user()).substr(0, 3), "+OK");
        ASSERT_EQ(client.command("PASS " + mailbox_.password()).substr(0, 3), "+OK");
        ASSERT_EQ(client.command("DELE " + std::to_string(index)).substr(0, 3), "+OK");
        ASSERT_EQ(client.command("QUIT").substr(0, 3), "+OK");
    }
    // A check runs inside the server operation its caller holds, so that no
    // timer tick starts another one while it waits for the server.
    // A check, and what it let go of freed (that goes on off the window's
    // thread).
    static void Check() {
        const ServerOperation operation;
        form().checks().CheckAccount(1);
        forms::AwaitFreed();
    }
    // Opens the preview of the account's first message, saves it as name in
    // the temporary folder and closes it again; what its raw view showed.
    static QString PreviewAndSave(const QString& name) {
        gCurrentAccount = 1;
        gCurrentMsg = 1;
        form().email().mnuEmailPreview_Click();
        if (!vb::Forms::IsLoaded<frmPreview>()) return QStringLiteral("<no preview>");
        frmPreview& preview = vb::Forms::Get<frmPreview>();
        const QString raw = preview.rtbRawMsg.Text();
        vb::ScriptedDialogs dialogs;
        dialogs.ChooseFile(QDir(QDir::tempPath()).filePath(name));
        preview.tbrButtons(frmPreviewElements::tbrButtons::kMessage)
            .Buttons(QStringLiteral("Save"))
            .QtButton()
            .click();
        vb::Forms::Unload<frmPreview>();
        return raw;
    }
    static QString StoredUids() {
        QStringList uids;
        for (int16_t m = 1; m <= gAccounts[1].MsgCount; ++m) uids << Msg(1, m).Uid;
        return uids.join(' ');
    }
    static QString NewFlags() {
        QString flags;
        for (int16_t m = 1; m <= gAccounts[1].MsgCount; ++m) flags += Msg(1, m).New ? 'N' : '.';
        return flags;
    }

    Pop3dServer server_ = Pop3dServer::fromEnvironment();
    Pop3dMailbox mailbox_{server_};
    QStringList uids_;
};

TEST_F(AccountCheck, ACheckFillsTheStoreAndTellsNewMailByUid) {
    Seed("1", Plain("\"Tom & Jerry\" <tj@example.org>", "first"));
    Seed("2",
         "From: b@example.org\r\nSubject: second\r\nDate: 32 Foo 2026 10:00 +0000\r\n"
         "MIME-Version: 1.0\r\nContent-Type: multipart/mixed; boundary=XX\r\n\r\n"
         "--XX\r\nContent-Type: text/plain\r\n\r\nBody two.\r\n"
         "--XX\r\nContent-Type: application/octet-stream; name=a.bin\r\n"
         "Content-Disposition: attachment; filename=a.bin\r\nContent-Transfer-Encoding: base64\r\n\r\n"
         "AAECAw==\r\n--XX--\r\n");
    Seed("3", Plain("c@example.org", "third", "X-Pad: " + std::string(2600, 'x') + "\r\n"));
    vb::ScriptedMsgBoxes boxes;
    Check();
    ASSERT_TRUE(boxes.Calls().empty()) << boxes.Calls().front().prompt.toStdString();

    EXPECT_EQ(gAccounts[1].Result, QStringLiteral("Home - 3 Messages"));
    EXPECT_EQ(StoredUids(), uids_.join(' '));
    EXPECT_EQ(Msg(1, 1).From, QStringLiteral("Tom and Jerry <tj@example.org>"));
    EXPECT_EQ(Msg(1, 2).To, QStringLiteral("Undisclosed-Recipient"));
    EXPECT_EQ(Msg(1, 3).Subject, QStringLiteral("third"));
    EXPECT_EQ(Msg(1, 3).Size, 3);
    EXPECT_TRUE(Msg(1, 2).Attach);
    EXPECT_FALSE(Msg(1, 1).Attach);
    EXPECT_TRUE(PlainTextOf(Msg(1, 1)).startsWith(QStringLiteral("Hello.")));
    EXPECT_TRUE(Msg(1, 1).Body.contains("Subject: first"));
    const QDateTime sent(QDate(2026, 12, 8), QTime(21, 5), Qt::UTC);
    EXPECT_EQ(DateText(Msg(1, 1)), FormatDate(sent.addSecs(QDateTime::currentDateTime().offsetFromUtc()),
                                              "MMM dd, yyyy hh:mm:ss AM/PM"));
    EXPECT_EQ(DateText(Msg(1, 2)), QString()) << "an unreadable date stores none and the account goes on";
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^Checked at: \\d{1,2}:\\d\\d [AP]M$"))
                    .match(gAccounts[1].Status)
                    .hasMatch());
    EXPECT_TRUE(QRegularExpression(
                    QStringLiteral("^Checked: \\d{1,2}:\\d\\d [AP]M on [A-Z][a-z]{2} \\d{1,2}/\\d\\d$"))
                    .match(gAccounts[0].Status)
                    .hasMatch());
    EXPECT_EQ(form().checks().Record().AutoCheckText, QStringLiteral("Auto Check Off"));
    EXPECT_EQ(form().controls().lvwEmail.ItemCount(), 3);
    EXPECT_EQ(form().controls().StatusBar.PanelText(forms::panel::kResult),
              QStringLiteral("Home - 3 Messages"));

    EXPECT_EQ(NewFlags(), QStringLiteral("NNN"));
    EXPECT_EQ(gAccounts[1].NewCount, 3);

    // Later checks: a quick check of the same count downloads nothing;
    // nothing new; one more message; another client empties the mailbox and
    // new mail arrives after.
    struct Step {
        bool quick;
        int deleteElsewhere;  // how many of the first messages go elsewhere
        const char* add;
        const char* flags;
    };
    for (const Step& step : {Step{true, 0, "", "..."}, Step{false, 0, "", "..."}, Step{false, 0, "4", "...N"},
                             Step{true, 4, "5", "N"}}) {
        SCOPED_TRACE(step.flags);
        modOptions::gOpt.QuickCheck = step.quick ? 1 : 0;
        for (int i = 0; i < step.deleteElsewhere; ++i) DeleteElsewhere(1);
        // The last one arrives cut short: no sender, no recipient, tiny.
        if (*step.add)
            Seed(step.add, step.deleteElsewhere ? "Subject: cut\r\n\r\n" : Plain("d@example.org", "more"));
        Msg(1, 1).Subject = QStringLiteral("as stored");
        Check();
        const bool downloaded = !step.quick || step.deleteElsewhere > 0 || *step.add;
        EXPECT_EQ(Msg(1, 1).Subject == QStringLiteral("as stored"), !downloaded);
        EXPECT_EQ(NewFlags(), QString::fromLatin1(step.flags));
        EXPECT_EQ(gAccounts[1].NewCount, NewFlags().count('N'));
        EXPECT_EQ(gAccounts[1].HasNewMail, NewFlags().contains('N'));
        EXPECT_EQ(form().controls().lvwEmail.Item(gAccounts[1].MsgCount).Bold(), NewFlags().endsWith('N'));
        EXPECT_EQ(gAccounts[1].Incomplete, step.deleteElsewhere > 0);
    }
    EXPECT_EQ(form().checks().Record().IncompleteList, QStringLiteral("Home\r\n"));
    EXPECT_TRUE(boxes.Calls().empty());
}

// A later check lists the mailbox as it is then, whatever the list showed
// before: each row's sender, subject, icon and boldness, none of them
// chosen, the first message current.
TEST_F(AccountCheck, ALaterCheckListsTheMailboxAsItIsNow) {
    const std::string attached =
        "MIME-Version: 1.0\r\nContent-Type: multipart/mixed; boundary=XX\r\n\r\n--XX\r\n"
        "Content-Type: text/plain\r\n\r\nText.\r\n--XX\r\nContent-Type: application/octet-stream\r\n"
        "Content-Disposition: attachment; filename=a.bin\r\n\r\nbytes\r\n--XX--\r\n";
    const auto withAttachment = [&](const std::string& from, const std::string& subject) {
        return "From: " + from + "\r\nTo: box@example.org\r\nSubject: " + subject + "\r\n" + attached;
    };
    struct Step {
        const char* what;
        std::vector<int> deleteElsewhere;                      // indexes on the server, deleted in this order
        std::vector<std::pair<std::string, std::string>> add;  // suffix, message
        bool sortBySubject;
        const char* rows;  // sender|subject|icon|bold, one row a line
    };
    const Step steps[] = {
        {"first",
         {},
         {{"a", Plain("a@example.org", "alpha")},
          {"b", Plain("b@example.org", "bravo")},
          {"c", withAttachment("c@example.org", "charlie")}},
         false,
         "a@example.org|alpha|New|B\nb@example.org|bravo|New|B\nc@example.org|charlie|AttachNew|B\n"},
        {"unchanged",
         {},
         {},
         false,
         "a@example.org|alpha|Normal|-\nb@example.org|bravo|Normal|-\nc@example.org|charlie|Attach|-\n"},
        {"removed", {2}, {}, false, "a@example.org|alpha|Normal|-\nc@example.org|charlie|Attach|-\n"},
        {"changed and added",
         {1},
         {{"d", Plain("d@example.org", "delta")}, {"e", withAttachment("a@example.org", "alpha again")}},
         false,
         "c@example.org|charlie|Attach|-\nd@example.org|delta|New|B\na@example.org|alpha "
         "again|AttachNew|B\n"},
        {"reordered",
         {},
         {},
         true,
         "a@example.org|alpha "
         "again|Attach|-\nc@example.org|charlie|Attach|-\nd@example.org|delta|Normal|-\n"},
        {"emptied", {1, 1, 1}, {}, false, ""},
    };
    vb::ListView& list = form().controls().lvwEmail;
    vb::ScriptedMsgBoxes boxes;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        for (const int index : step.deleteElsewhere) DeleteElsewhere(index);
        for (const auto& [suffix, message] : step.add) Seed(suffix, message);
        modOptions::gOpt.MessageSort = step.sortBySubject ? 1 : 0;
        modOptions::gOpt.SortOrder = 0;
        gSortKey = QStringLiteral("Subject");
        // The user chose the last row before the check.
        if (list.ItemCount() > 0) {
            list.Item(list.ItemCount()).SetSelected(true);
            gCurrentMsg = static_cast<int16_t>(list.ItemCount());
        }
        Check();
        QString rows;
        for (int row = 1; row <= list.ItemCount(); ++row) {
            const vb::ListItem item = list.Item(row);
            rows += item.Text() + '|' + item.SubItems(2) + '|' + item.SmallIcon() + '|' +
                    (item.Bold() ? 'B' : '-') + '\n';
        }
        EXPECT_EQ(rows.toStdString(), step.rows);
        EXPECT_EQ(list.ItemCount(), gAccounts[1].MsgCount);
        EXPECT_EQ(list.SelectedItem(), 0) << "no row stays chosen";
        if (gAccounts[1].MsgCount > 0) {
            EXPECT_EQ(gCurrentMsg, 1);
        }
    }
    EXPECT_TRUE(boxes.Calls().empty());
}

// A message of about lines lines as a server might hold it: Latin-1 text
// and dot-stuffed lines after a short header block.
std::string Lines(const std::string& subject, std::size_t lines, const std::string& fill = "caf\xe9 line ") {
    std::string message = "From: a@example.org\r\nTo: box@example.org\r\nSubject: " + subject + "\r\n\r\n";
    for (std::size_t i = 0; i < lines; ++i)
        message += i % 3 ? fill + std::to_string(i) + "\r\n" : ".dotted " + std::to_string(i) + "\r\n";
    return message;
}
constexpr std::size_t kLargeLines = 70000;  // over 1 MB: read from the component's file

// The temporary files of the component that are still there.
QStringList ComponentFiles() {
    return QDir(QDir::tempPath()).entryList({QStringLiteral("POP3*")}, QDir::Files | QDir::Hidden);
}

// While it lives, the kept files hold all the descriptors they may: a
// lower limit of open files for the process, and that many kept files of
// its own.
class KeptFilesFull {
public:
    KeptFilesFull() {
        getrlimit(RLIMIT_NOFILE, &saved_);
        rlimit lower = saved_;
        lower.rlim_cur = std::min<rlim_t>(saved_.rlim_cur, 256);
        setrlimit(RLIMIT_NOFILE, &lower);
        const QString path = QDir(QDir::tempPath()).filePath(QStringLiteral("held.eml"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write("Subject: held\r\n\r\n") < 0)
            ADD_FAILURE() << "no file";
        file.close();
        while (KeptMessageFile::KeptCount() < KeptMessageFile::KeptLimit()) {
            held_.push_back(KeptMessageFile::Keep(path));
            if (!held_.back()) break;
        }
        QFile::remove(path);
    }
    ~KeptFilesFull() {
        held_.clear();
        setrlimit(RLIMIT_NOFILE, &saved_);
    }
    KeptFilesFull(const KeptFilesFull&) = delete;
    KeptFilesFull& operator=(const KeptFilesFull&) = delete;

private:
    rlimit saved_{};
    std::vector<std::shared_ptr<const KeptMessageFile>> held_;
};

// A message is stored as the bytes the server sent, whatever its size: a
// small one in memory; a large one in the component's file, kept open after
// the component removed it, with only its header block in memory; a large
// one when no descriptor is to spare read whole into memory. The preview's
// raw view shows them and Save writes them.
TEST_F(AccountCheck, AMessageIsStoredAsTheBytesSent) {
    struct Row {
        const char* name;
        std::size_t lines;
        bool filesFull;
        bool kept;
    };
    for (const Row& r : {Row{"small", 20, false, false}, Row{"large", kLargeLines, false, true},
                         Row{"large, no descriptor to spare", kLargeLines, true, false}}) {
        SCOPED_TRACE(r.name);
        mailbox_.clear();
        uids_.clear();
        const std::string message = Lines(r.name, r.lines);
        Seed(r.name, message);
        // The last row's message and its file go before the files are counted.
        AccountRow(1).Messages.clear();
        {
            std::optional<KeptFilesFull> full;
            if (r.filesFull) full.emplace();
            Check();
        }
        ASSERT_EQ(gAccounts[1].MsgCount, 1);
        const StoredMessage& m = Msg(1, 1);
        const QByteArray bytes = QByteArray::fromStdString(message);
        EXPECT_EQ(m.File != nullptr, r.kept);
        EXPECT_EQ(m.Body, r.kept ? bytes.left(bytes.indexOf("\r\n\r\n") + 4) : bytes)
            << "a kept message holds its header block alone";
        EXPECT_EQ(MessageByteCount(m), bytes.size());
        EXPECT_TRUE(MessageBytes(m) == bytes) << "the bytes differ";
        EXPECT_EQ(m.Size, static_cast<int64_t>((message.size() + 500) / 1000));
        EXPECT_EQ(ComponentFiles(), QStringList()) << "the component let its files go";

        const QString raw = PreviewAndSave(QStringLiteral("saved.eml"));
        const qsizetype start = std::min<qsizetype>(bytes.size(), 900'000);
        EXPECT_TRUE(raw.startsWith(QString::fromLatin1(bytes.left(start)))) << "the raw view shows its start";
        QFile file(QDir(QDir::tempPath()).filePath(QStringLiteral("saved.eml")));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_TRUE(file.readAll() == bytes + "\r\n\r\n" + PlainTextBytes(Msg(1, 1)).toByteArray() + "\r\n")
            << "Save wrote other bytes";
        file.remove();
    }
}

// A large message's record keeps the bytes it was listed with, whatever the
// component does with its file later: a later check that downloads other
// bytes under the same UID gives a new record, while a copy of the old one
// still reads the old bytes. The last record that shares a file closes it.
TEST_F(AccountCheck, ALargeMessageKeepsTheBytesItWasListedWith) {
    const int keptBefore = KeptMessageFile::KeptCount();
    std::optional<StoredMessage> first;
    std::string firstBytes;
    for (const char* fill : {"first ", "second "}) {
        SCOPED_TRACE(fill);
        mailbox_.clear();
        const std::string message = Lines("same", 2 * kLargeLines, fill);
        Seed("same", message);
        Check();
        ASSERT_EQ(gAccounts[1].MsgCount, 1);
        ASSERT_TRUE(Msg(1, 1).File);
        EXPECT_TRUE(MessageBytes(Msg(1, 1)) == QByteArray::fromStdString(message)) << "the bytes differ";
        EXPECT_EQ(ComponentFiles(), QStringList());
        if (first) continue;
        first = Msg(1, 1);
        firstBytes = message;
    }
    EXPECT_EQ(first->Uid, Msg(1, 1).Uid);
    EXPECT_TRUE(MessageBytes(*first) == QByteArray::fromStdString(firstBytes))
        << "the old record's bytes changed";
    EXPECT_EQ(KeptMessageFile::KeptCount(), keptBefore + 2);
    first.reset();
    EXPECT_EQ(KeptMessageFile::KeptCount(), keptBefore + 1);
    mailbox_.clear();
    Check();
    EXPECT_EQ(KeptMessageFile::KeptCount(), keptBefore) << "the records went, and their files with them";
}

// Only a file the component made itself is kept: one a caller named could be
// rewritten in place later, so the check reads it whole as it stands.
TEST_F(AccountCheck, OnlyAFileTheComponentMadeIsKept) {
    const QDir temp(QDir::tempPath());
    ASSERT_TRUE(temp.mkpath(QStringLiteral("inner")));
    struct Row {
        const char* name;
        QString path;
        bool kept;
    };
    for (const Row& r :
         {Row{"the component's form of name", temp.filePath(QStringLiteral("POP3aBc123")), true},
          Row{"a name of the caller's", temp.filePath(QStringLiteral("mine.eml")), false},
          Row{"another folder", temp.filePath(QStringLiteral("inner/POP3aBc123")), false},
          Row{"another length", temp.filePath(QStringLiteral("POP3aBc1234")), false}}) {
        SCOPED_TRACE(r.name);
        QFile file(r.path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("Subject: a\r\n\r\nb") > 0);
        file.close();
        const com::ComPtr<IPop3Msg> msg = forms::CreateMessageObject();
        ASSERT_TRUE(msg);
        ASSERT_TRUE(com::SUCCEEDED(msg->put_Filename(com::Bstr(r.path.toStdU16String()).Get())));
        EXPECT_EQ(forms::KeepMessageFile(*msg) != nullptr, r.kept);
        EXPECT_EQ(forms::ReadMessageFile(*msg), QByteArray("Subject: a\r\n\r\nb"));
        file.remove();
    }
}

// The descriptor of the kept file whose removed name is in the temporary
// folder; -1 when there is none.
int KeptDescriptor() {
    const QString removed = QDir::tempPath() + QStringLiteral("/POP3");
    for (const QString& fd :
         QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::AllEntries | QDir::System)) {
        const QString target = QFileInfo(QStringLiteral("/proc/self/fd/") + fd).symLinkTarget();
        if (target.startsWith(removed) && target.endsWith(QStringLiteral(" (deleted)"))) return fd.toInt();
    }
    return -1;
}

// A kept file that an outside process shortens after the check gives no
// wrong bytes and no crash: the preview shows the header block and says the
// rest could not be read, and Save says it failed and writes nothing.
TEST_F(AccountCheck, AKeptFileThatChangedFailsWhereItsBytesAreAsked) {
    const std::string message = Lines("cut", kLargeLines);
    Seed("cut", message);
    Check();
    ASSERT_EQ(gAccounts[1].MsgCount, 1);
    ASSERT_TRUE(Msg(1, 1).File);
    const int kept = KeptDescriptor();
    ASSERT_GE(kept, 0);
    const int writer = open(("/proc/self/fd/" + std::to_string(kept)).c_str(), O_WRONLY | O_CLOEXEC);
    ASSERT_GE(writer, 0);
    ASSERT_EQ(ftruncate(writer, 100'000), 0);
    close(writer);

    EXPECT_FALSE(MessageBytes(Msg(1, 1)));
    vb::ScriptedMsgBoxes boxes;
    EXPECT_EQ(PreviewAndSave(QStringLiteral("cut.eml")),
              QString::fromLatin1(Msg(1, 1).Body) +
                  QStringLiteral(
                      "\r\n[The rest of this message could not be read: its file changed after the check.]"));
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls().front().title, QStringLiteral("Veltrane - Save Failed"));
    EXPECT_FALSE(QFile::exists(QDir(QDir::tempPath()).filePath(QStringLiteral("cut.eml"))));
}

// A server that refuses the login or the connection costs one box, or none
// when the options hide its code; the test never hides it.
TEST_F(AccountCheck, FailuresShowTheirCodeUnlessTheOptionsHideIt) {
    struct Row {
        const char* name;
        bool refusedPort;
        bool suppress;
        bool test;         // the Accounts page's connection test instead of a check
        const char* code;  // empty: no box
    };
    for (const Row& r : {Row{"wrong password", false, false, false, "30005"},
                         Row{"wrong password hidden", false, true, false, ""},
                         Row{"refused port", true, true, false, "10061"},
                         Row{"test, wrong password", false, true, true, "30005"},
                         Row{"test, refused port", true, false, true, "10061"}}) {
        SCOPED_TRACE(r.name);
        Account(r.refusedPort ? QString::number(ClosedPort()) : QString::number(server_.port),
                r.refusedPort ? QString::fromStdString(mailbox_.password()) : QStringLiteral("wrong"));
        modOptions::gOpt.SuppressConnectErrors = r.suppress ? 1 : 0;
        vb::ScriptedMsgBoxes boxes;
        if (r.test)
            form().checks().TestAccountConnection(1);
        else
            Check();
        if (!*r.code) {
            EXPECT_TRUE(boxes.Calls().empty());
        } else {
            ASSERT_EQ(boxes.Calls().size(), 1u);
            const vb::MsgBoxCall& box = boxes.Calls().front();
            EXPECT_EQ(box.title, r.test ? QStringLiteral("Veltrane - Test Connection Failure")
                                        : QStringLiteral("Veltrane - Error Establishing Connection"));
            EXPECT_EQ(box.buttons, vb::vbCritical);
            EXPECT_TRUE(box.prompt.contains(QStringLiteral("Account: Home")));
            EXPECT_TRUE(box.prompt.contains(QStringLiteral("Error Message:\r\n") + r.code + " - "))
                << box.prompt.toStdString();
        }
        if (!r.test) {
            EXPECT_EQ(gAccounts[1].Result, QStringLiteral("Home - Error Accessing Account"));
            EXPECT_EQ(gAccounts[1].MsgCount, 0);
            EXPECT_FALSE(gAccounts[1].Connected);
        }
        EXPECT_FALSE(ServerOperation::Running());
    }
}

// Over TLS the server's certificate must pass its check against the system
// trust store, which a user extends the way OpenSSL reads it (here
// SSL_CERT_FILE naming a bundle with the test server's certificate). One
// that fails is refused before the password goes out: the check and the
// connection test end with a box naming the account and the failure.
TEST_F(AccountCheck, AServerCertificateThatFailsItsCheckIsRefused) {
    Seed("1", Plain("a@example.org", "over TLS"));
    struct Row {
        const char* name;
        bool trusted;
        bool test;
    };
    for (const Row& r :
         {Row{"trusted", true, false}, Row{"untrusted", false, false}, Row{"test, untrusted", false, true}}) {
        SCOPED_TRACE(r.name);
        if (r.trusted)
            setenv("SSL_CERT_FILE", server_.certificateFile().c_str(), 1);
        else
            unsetenv("SSL_CERT_FILE");
        Account(QString::number(server_.tlsPort), QString::fromStdString(mailbox_.password()), true);
        vb::ScriptedMsgBoxes boxes;
        if (r.test)
            form().checks().TestAccountConnection(1);
        else
            Check();
        unsetenv("SSL_CERT_FILE");
        if (r.trusted) {
            EXPECT_TRUE(boxes.Calls().empty()) << boxes.Calls().front().prompt.toStdString();
            EXPECT_EQ(gAccounts[1].Result, QStringLiteral("Home - 1 Message"));
            continue;
        }
        ASSERT_EQ(boxes.Calls().size(), 1u);
        const vb::MsgBoxCall& box = boxes.Calls().front();
        EXPECT_EQ(box.title, r.test ? QStringLiteral("Veltrane - Test Connection Failure")
                                    : QStringLiteral("Veltrane - Error Establishing Connection"));
        EXPECT_TRUE(box.prompt.startsWith(QStringLiteral(
            "There was a problem encountered while accessing the Account: Home               \r\n\r\n"
            "Error Message:\r\n50018 - Certificate Error - the server's certificate was refused: "
            "self-signed certificate\r\n")))
            << box.prompt.toStdString();
        if (!r.test) {
            EXPECT_EQ(gAccounts[1].Result, QStringLiteral("Home - Error Accessing Account"));
            EXPECT_EQ(gAccounts[1].MsgCount, 0);
        }
    }
}

TEST_F(AccountCheck, TheConnectionTestReportsSuccess) {
    Seed("1", Plain("a@example.org", "one"));
    vb::ScriptedMsgBoxes boxes;
    form().checks().TestAccountConnection(1);
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls().front().title, QStringLiteral("Veltrane - Test Connection Successfull"));
    EXPECT_EQ(boxes.Calls().front().buttons, vb::vbInformation);
    EXPECT_EQ(mailbox_.messageCount(), 1) << "a test deletes nothing";
}

// Deleting the chosen messages removes exactly those from the server, and
// from the store and the list only once QUIT committed the deletion.
TEST_F(AccountCheck, DeletionRemovesOnlyTheChosenMessages) {
    struct Row {
        const char* name;
        bool spam;           // the Spam command instead of the selection
        int answer;          // to "Ready to Delete"
        bool goneElsewhere;  // message 4 deleted by another client first
        const char* left;    // stored suffixes afterwards
        int onServer;
    };
    int run = 0;
    for (const Row& r : {Row{"answered No", false, vb::vbNo, false, "1 2 3 4 5", 5},
                         Row{"selected 2 and 4", false, vb::vbYes, false, "1 3 5", 3},
                         Row{"4 gone elsewhere", false, vb::vbYes, true, "1 3 5", 3},
                         Row{"spam 1 and 5", true, vb::vbYes, false, "2 3 4", 3}}) {
        SCOPED_TRACE(r.name);
        ++run;
        mailbox_.clear();
        uids_.clear();
        Account(QString::number(server_.port), QString::fromStdString(mailbox_.password()));
        for (const char* n : {"1", "2", "3", "4", "5"})
            Seed(std::to_string(run) + "-" + n, Plain("x@example.org", n));
        Check();
        ASSERT_EQ(gAccounts[1].MsgCount, 5);
        if (r.goneElsewhere) DeleteElsewhere(4);
        if (r.spam) {
            Msg(1, 1).Spam = Msg(1, 5).Spam = true;
            gAccounts[1].SpamCount = 2;
        } else {
            form().controls().lvwEmail.Item(2).SetSelected(true);
            form().controls().lvwEmail.Item(4).SetSelected(true);
        }
        vb::ScriptedMsgBoxes boxes;
        boxes.Answer(r.answer);
        // Choosing a row, or a check that found spam, enables the button.
        vb::ToolButton& button = form().controls().tbrEmail.Buttons(r.spam ? QStringLiteral("EmailSpam")
                                                                           : QStringLiteral("EmailDelete"));
        button.SetEnabled(true);
        button.QtButton().click();
        ASSERT_EQ(boxes.Calls().size(), 1u);
        const QString spamWord = r.spam ? QStringLiteral(" Spam") : QString();
        EXPECT_EQ(boxes.Calls().front().title, "Veltrane - Ready to Delete" + spamWord + " Message(s)");
        EXPECT_TRUE(boxes.Calls().front().prompt.startsWith("Ready to Delete 2" + spamWord +
                                                            " Message(s) from 'Home' "));
        EXPECT_EQ(boxes.Calls().front().buttons, vb::vbCritical + vb::vbYesNo);

        QStringList left;
        for (const QString& n : QString::fromLatin1(r.left).split(' ')) left << uids_[n.toInt() - 1];
        EXPECT_EQ(StoredUids(), left.join(' '));
        EXPECT_EQ(form().controls().lvwEmail.ItemCount(), left.size());
        for (int16_t m = 1; m <= gAccounts[1].MsgCount; ++m)
            EXPECT_EQ(Msg(1, m).Subject, Msg(1, m).Uid.right(1)) << "fields moved apart";
        EXPECT_EQ(mailbox_.messageCount(), r.onServer);
        EXPECT_EQ(gAccounts[1].Result, r.answer == vb::vbYes ? QStringLiteral("Home - 3 Messages")
                                                             : QStringLiteral("Home - 5 Messages"));
        EXPECT_FALSE(ServerOperation::Running());
        EXPECT_TRUE(form().controls().TabStripEmail.Enabled()) << "retrieval mode left";

        // The next check finds exactly the stored messages, none new.
        Check();
        EXPECT_EQ(StoredUids(), left.join(' '));
        EXPECT_EQ(NewFlags(), QString(left.size(), '.'));
    }
}

// Nothing reaches the server while another server operation runs, when
// nothing is chosen, or for UIDs the store does not hold.
TEST_F(AccountCheck, NoSessionWithoutAChosenStoredMessageOrWhileBusy) {
    Seed("1", Plain("a@example.org", "1"));
    Seed("2", Plain("b@example.org", "2"));
    Check();
    ASSERT_EQ(gAccounts[1].MsgCount, 2);
    struct Row {
        const char* name;
        bool busy;
        std::function<void()> run;
        const char* prompt;  // empty: no box
    };
    const QString stored = uids_[1];
    for (const Row& r : {
             Row{"test while busy", true, [] { form().checks().TestAccountConnection(1); }, ""},
             Row{"delete while busy", true, [&] { form().email().DeleteMessagesByUid(1, {stored}, false); },
                 ""},
             Row{"selection while busy", true, [] { form().email().mnuEmailDelete_Click(); },
                 "Messages cannot be deleted while a check or another deletion is talking to a mail server."
                 "\r\n\r\nPlease try again when it has finished."},
             Row{"spam while busy", true, [] { form().email().DeleteSelectedMessages(1, true); }, ""},
             Row{"nothing selected", false, [] { form().email().mnuEmailDelete_Click(); },
                 "No Messages to Delete"},
             Row{"no spam", false, [] { form().email().DeleteSelectedMessages(1, true); },
                 "No Spam Messages to Delete"},
             Row{"UIDs not stored", false,
                 [] { form().email().DeleteMessagesByUid(1, {"elsewhere"}, false); },
                 "No Messages to Delete"},
             Row{"no UID", false,
                 [] {
                     form().email().DeleteMessagesByUid(1, {"", ""}, false);
                 },
                 "The mail server gives these 2 messages no identifier, so they cannot be deleted."},
         }) {
        SCOPED_TRACE(r.name);
        vb::ScriptedMsgBoxes boxes;
        {
            std::optional<ServerOperation> other;
            if (r.busy) other.emplace();
            r.run();
        }
        if (*r.prompt) {
            ASSERT_EQ(boxes.Calls().size(), 1u);
            EXPECT_EQ(boxes.Calls().front().prompt, QString::fromLatin1(r.prompt));
        } else {
            EXPECT_TRUE(boxes.Calls().empty());
        }
        EXPECT_EQ(mailbox_.messageCount(), 2);
        EXPECT_EQ(gAccounts[1].MsgCount, 2);
        EXPECT_FALSE(ServerOperation::Running());
    }
    // A UID the caller names deletes that message alone; a chosen message
    // without one is named to the user.
    modOptions::gOpt.DeleteConfirmation = 0;
    vb::ScriptedMsgBoxes boxes;
    form().email().DeleteMessagesByUid(1, {stored, QString()}, false);
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].prompt,
              "The mail server gives 1 of the chosen messages no identifier, so it cannot be deleted. "
              "The others can be.");
    EXPECT_EQ(mailbox_.messageCount(), 1);
    EXPECT_EQ(StoredUids(), uids_[0]);
    EXPECT_EQ(gAccounts[1].Result, QStringLiteral("Home - 1 Message")) << "the words a check uses";
}

// Delete in the preview deletes the message it shows, not the rows the list
// selects meanwhile, and closes the preview.
TEST_F(AccountCheck, PreviewDeletesTheMessageItShows) {
    for (const char* n : {"1", "2", "3"}) Seed(std::string("p") + n, Plain("x@example.org", n));
    Check();
    ASSERT_EQ(gAccounts[1].MsgCount, 3);
    gCurrentAccount = 1;
    gCurrentMsg = 2;
    form().email().mnuEmailPreview_Click();
    ASSERT_TRUE(vb::Forms::IsLoaded<frmPreview>());
    form().controls().lvwEmail.Item(3).SetSelected(true);
    gCurrentMsg = 3;

    vb::ScriptedMsgBoxes boxes;
    boxes.Answer(vb::vbYes);
    vb::Forms::Get<frmPreview>()
        .tbrButtons(tbrButtons::kEmailHelp)
        .Buttons(QStringLiteral("Delete"))
        .QtButton()
        .click();
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_TRUE(boxes.Calls().front().prompt.startsWith("Ready to Delete 1 Message(s) from 'Home' "));
    EXPECT_EQ(StoredUids(), uids_[0] + ' ' + uids_[2]);
    EXPECT_EQ(mailbox_.messageCount(), 2);
    EXPECT_FALSE(vb::Forms::IsLoaded<frmPreview>());
    EXPECT_FALSE(ServerOperation::Running());
    EXPECT_TRUE(form().controls().TabStripEmail.Enabled()) << "retrieval mode left";
}

}  // namespace
