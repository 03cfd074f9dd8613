#include "app/forms/preview/message_commands.h"

#include <QDir>
#include <QFile>

#include "app/common/private_temp_folder.h"
#include "app/general/check_status.h"
#include "app/general/message_file.h"
#include "app/general/reply_text.h"
#include "platform/desktop/mail_compose.h"
#include "platform/desktop/shell.h"
#include "platform/ui/msg_box.h"

namespace forms {
namespace {

const char16_t* const kTemporaryNames[] = {u"temporary.eml", u"temporary.msg"};

}  // namespace

void ReplyToMessage(int16_t account, int16_t msg) {
    const modGeneral::ReplyText reply = modGeneral::ReplyToStored(account, msg);
    // A line of the quoted text, where the quote had to end.
    const QString cutMark = QStringLiteral(
        ">[... the rest of the message is left out here: it is too long "
        "to hand to your Email program. ...]");
    if (platform::desktop::ComposeMail(reply.recipient, reply.subject, reply.noteText, cutMark)) return;
    vb::MsgBox(QStringLiteral("The reply could not be handed to your Email program:\r\n"
                              "no program on this computer is set up to write Email\r\n"
                              "(to open \"mailto:\" addresses)."),
               vb::vbExclamation, modGeneral::gAppName + QStringLiteral(" - Reply Failed"));
}

void OpenInMailClient(int16_t account, int16_t msg) {
    const QString title = modGeneral::gAppName + QStringLiteral(" - Open Message Failed");
    for (const char16_t* name : kTemporaryNames) {
        const QString path = TemporaryMessageFile(QString::fromUtf16(name));
        // A file that could not be written is never opened: it could be an
        // older message's.
        if (path.isEmpty() || !modGeneral::WriteTextFile(path, account, msg)) {
            vb::MsgBox(QStringLiteral("The message could not be written to the temporary folder\r\n") +
                           QDir::toNativeSeparators(PrivateTempFolderPath()) + QStringLiteral("."),
                       vb::vbExclamation, title);
            return;
        }
        if (platform::desktop::OpenFile(path)) return;
    }
    vb::MsgBox(QStringLiteral("The message failed to open using\r\nyour Default Email Client.\r\n\r\n"
                              "No program on this computer is set up to open\r\n"
                              "Email message files (.eml or .msg)."),
               vb::vbInformation, title);
}

QString TemporaryMessageFile(const QString& name) {
    const QString folder = PrivateTempFolder();
    return folder.isEmpty() ? QString() : QDir(folder).filePath(name);
}

void DeleteTemporaryMessageFiles() {
    const QString folder = PrivateTempFolder();
    if (folder.isEmpty()) return;
    for (const char16_t* name : kTemporaryNames)
        QFile::remove(QDir(folder).filePath(QString::fromUtf16(name)));
    // The private folder goes too once nothing is left in it.
    QDir().rmdir(folder);
}

}  // namespace forms
