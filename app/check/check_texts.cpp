#include "app/check/check_texts.h"

#include <algorithm>
#include <array>

#include "app/general/check_status.h"

namespace modCheck {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kBlanks15 = QString(15, QLatin1Char(' '));

QString ErrorHead(const QString& account, int32_t number, const QString& text) {
    return QStringLiteral("There was a problem encountered while accessing the") +
           QStringLiteral(" Account: ") + account + kBlanks15 + kCrLf + kCrLf +
           QStringLiteral("Error Message:") + kCrLf + QString::number(number) + QStringLiteral(" - ") + text +
           kCrLf + kCrLf;
}

QString SpamWord(bool spam) { return spam ? QStringLiteral(" Spam") : QString(); }

}  // namespace

QString CheckResultText(const QString& name, bool connected, int16_t count, bool userStop) {
    if (connected && count > 1)
        return name + QStringLiteral(" - ") + QString::number(count) + QStringLiteral(" Messages");
    if (connected && count == 1) return name + QStringLiteral(" - 1 Message");
    if (connected && count == 0) return name + QStringLiteral(" - No Messages");
    if (userStop) return name + QStringLiteral(" - User Stopped Retrieval");
    return name + QStringLiteral(" - Error Accessing Account");
}

bool SuppressedOnConnect(int32_t code) {
    static constexpr std::array<int32_t, 11> kCodes = {30001, 30002, 30003, 30004, 30005, 30006,
                                                       30008, 30009, 10054, 10060, 11001};
    return std::find(kCodes.begin(), kCodes.end(), code) != kCodes.end();
}

bool SuppressedOnLoad(int32_t code) { return code == 30012 || code == 30013 || code == 30014; }

QString ComponentErrorPrompt(const QString& account, int32_t code, QString& text, const QString& title) {
    if (code > 10000 && code < 30000) {
        if (code == 10054) text = QStringLiteral("Winsock Error - Connection Reset by Peer");
        if (code == 10060) text = QStringLiteral("Winsock Error - Connection Timed Out");
    }
    if (code == 60000)
        text = QStringLiteral("SSL Handshake Error: This may be caused by using SSL on the") + kCrLf +
               QStringLiteral("wrong Port.");
    QString prompt = ErrorHead(account, code, text);
    if (title == QStringView(kDeleteFailureTitle))
        prompt += QStringLiteral("Note:  Message(s) were NOT Deleted because") +
                  QStringLiteral(" the connection failed.") + kCrLf + kCrLf;
    prompt += QStringLiteral("There could be other possiblities for this error. Please") +
              QStringLiteral(" ensure all Account") + QString(10, QLatin1Char(' ')) + kCrLf +
              QStringLiteral("Information is accurate and your connection is established.") + kCrLf + kCrLf +
              QStringLiteral("For further assistance please try Help or contact your Service Provider") +
              kCrLf + QStringLiteral("if this problem persists.") + kCrLf + kCrLf;
    return prompt;
}

QString CertificateRefusedText(const QString& reason) {
    return QStringLiteral("Certificate Error - the server's certificate was refused: ") + reason;
}

QString UnexpectedErrorPrompt(const QString& account, int32_t number, const QString& description) {
    return ErrorHead(account, number, description) +
           QStringLiteral("Please report this error to Quorvane with the Number") + kCrLf +
           QStringLiteral("and Description of the error.") + kCrLf + kCrLf +
           QStringLiteral("Note: This is an unexpected error. It would be very helpful to also include") +
           kCrLf +
           QStringLiteral("the Title Bar text and any relevant details that might assist in tracking the") +
           kCrLf + QStringLiteral("cause of this error. Thank you for your assistance.") + kCrLf + kCrLf +
           QStringLiteral("Email: support@veltrane.example") + kCrLf + kCrLf;
}

QString TestSucceededPrompt() {
    return QStringLiteral("The Connection Succeeded.") + kCrLf + kCrLf +
           QStringLiteral("You should be able to connect to your") + kBlanks15 + kCrLf +
           QStringLiteral("Mail Server to check for messages.") + kCrLf + kCrLf;
}

QString DeleteQuestionPrompt(const QString& account, int16_t count, bool spam) {
    return QStringLiteral("Ready to Delete ") + QString::number(count) + SpamWord(spam) +
           QStringLiteral(" Message(s) from '") + account + QStringLiteral("' ") + kBlanks15 + kCrLf + kCrLf +
           QStringLiteral("This operation is NOT reversible!") + kCrLf + kCrLf +
           QStringLiteral("Would you like to proceed?") + kCrLf;
}

QString DeleteQuestionTitle(bool spam) {
    return modGeneral::gAppName + QStringLiteral(" - Ready to Delete") + SpamWord(spam) +
           QStringLiteral(" Message(s)");
}

QString NothingToDeletePrompt(bool spam) {
    return spam ? QStringLiteral("No Spam Messages to Delete") : QStringLiteral("No Messages to Delete");
}

QString NoIdentifierPrompt(qsizetype unnamed, bool others) {
    const QString which =
        others         ? QString::number(unnamed) + QStringLiteral(" of the chosen messages")
        : unnamed == 1 ? QStringLiteral("this message")
                       : QStringLiteral("these ") + QString::number(unnamed) + QStringLiteral(" messages");
    return QStringLiteral("The mail server gives ") + which + QStringLiteral(" no identifier, so ") +
           (unnamed == 1 ? QStringLiteral("it cannot") : QStringLiteral("they cannot")) +
           QStringLiteral(" be deleted.") + (others ? QStringLiteral(" The others can be.") : QString());
}

QString DeleteRefusedPrompt(const QString& account, int16_t count, int32_t code, const QString& text) {
    const QString crlf = QStringLiteral("\r\n");
    return QStringLiteral("The mail server of '") + account + QStringLiteral("' did not delete ") +
           QString::number(count) + QStringLiteral(" of the Message(s); they are still listed.") + crlf +
           crlf + QStringLiteral("Error Message:") + crlf + QString::number(code) + QStringLiteral(" - ") +
           text + crlf;
}

QString DeleteWhileBusyPrompt() {
    return QStringLiteral(
        "Messages cannot be deleted while a check or another deletion is talking to a "
        "mail server.\r\n\r\nPlease try again when it has finished.");
}

}  // namespace modCheck
