// The texts an account check and a deletion leave for the user.
#include <gtest/gtest.h>

#include <QRegularExpression>

#include "app/check/check_texts.h"
#include "app/general/check_status.h"

using namespace modCheck;

namespace {

const QString kTail =
    QStringLiteral("There could be other possiblities for this error. Please ensure all Account") +
    QString(10, ' ') +
    QStringLiteral(
        "\r\n"
        "Information is accurate and your connection is established.\r\n\r\n"
        "For further assistance please try Help or contact your Service Provider\r\n"
        "if this problem persists.\r\n\r\n");

QString Head(const QString& codeAndText) {
    return QStringLiteral("There was a problem encountered while accessing the Account: Home") +
           QString(15, ' ') + QStringLiteral("\r\n\r\nError Message:\r\n") + codeAndText +
           QStringLiteral("\r\n\r\n");
}

TEST(CheckTexts, ResultTextsFirstMatchWins) {
    struct Row {
        bool connected;
        int16_t count;
        bool stop;
        const char* result;
    };
    for (const Row& r :
         {Row{true, 3, false, "Home - 3 Messages"}, Row{true, 1, true, "Home - 1 Message"},
          Row{true, 0, false, "Home - No Messages"}, Row{false, 4, true, "Home - User Stopped Retrieval"},
          Row{false, 4, false, "Home - Error Accessing Account"}}) {
        SCOPED_TRACE(r.result);
        EXPECT_EQ(CheckResultText(QStringLiteral("Home"), r.connected, r.count, r.stop),
                  QString::fromLatin1(r.result));
    }
}

TEST(CheckTexts, SuppressionCoversOnlyItsCodes) {
    struct Row {
        int32_t code;
        bool connect;
        bool load;
    };
    for (const Row& r : {Row{30001, true, false}, Row{30005, true, false}, Row{30007, false, false},
                         Row{30009, true, false}, Row{10054, true, false}, Row{10060, true, false},
                         Row{10061, false, false}, Row{11001, true, false}, Row{30012, false, true},
                         Row{30014, false, true}, Row{30015, false, false}, Row{60000, false, false}}) {
        SCOPED_TRACE(r.code);
        EXPECT_EQ(SuppressedOnConnect(r.code), r.connect);
        EXPECT_EQ(SuppressedOnLoad(r.code), r.load);
    }
}

TEST(CheckTexts, ComponentErrorPromptRewritesSomeCodesAndNotesAFailedDeletion) {
    struct Row {
        int32_t code;
        const char* text;
        const char* title;
        const char* shownText;
        bool note;
    };
    const char* ssl = "SSL Handshake Error: This may be caused by using SSL on the\r\nwrong Port.";
    for (const Row& r :
         {Row{10060, "Timeout", "Error Establishing Connection", "Winsock Error - Connection Timed Out",
              false},
          Row{10054, "Reset", "Test Connection Failure", "Winsock Error - Connection Reset by Peer", false},
          Row{60000, "TLS", "Error Establishing Connection", ssl, false},
          Row{30005, "Login ERROR", "Delete Connection Failure", "Login ERROR", true},
          Row{10061, "Refused", "delete connection failure", "Refused", false}}) {
        SCOPED_TRACE(r.code);
        QString text = QString::fromLatin1(r.text);
        const QString prompt =
            ComponentErrorPrompt(QStringLiteral("Home"), r.code, text, QString::fromLatin1(r.title));
        EXPECT_EQ(text, QString::fromLatin1(r.shownText)) << "the caller's text is rewritten";
        const QString note =
            r.note
                ? QStringLiteral("Note:  Message(s) were NOT Deleted because the connection failed.\r\n\r\n")
                : QString();
        EXPECT_EQ(prompt, Head(QString::number(r.code) + " - " + r.shownText) + note + kTail);
    }
}

TEST(CheckTexts, UnexpectedErrorAndQuestionTexts) {
    const QString prompt = UnexpectedErrorPrompt(QStringLiteral("Home"), 13, QStringLiteral("Type mismatch"));
    EXPECT_TRUE(prompt.startsWith(Head(QStringLiteral("13 - Type mismatch")) +
                                  "Please report this error to Quorvane with the Number\r\n"
                                  "and Description of the error.\r\n\r\nNote: This is an unexpected error."));
    EXPECT_TRUE(prompt.contains(QRegularExpression(QStringLiteral("\r\nEmail: \\S+@\\S+\r\n\r\n$"))));

    modGeneral::gAppName = QStringLiteral("Veltrane");
    EXPECT_EQ(DeleteQuestionPrompt(QStringLiteral("Home"), 2, true),
              QStringLiteral("Ready to Delete 2 Spam Message(s) from 'Home' ") + QString(15, ' ') +
                  QStringLiteral("\r\n\r\n"
                                 "This operation is NOT reversible!\r\n\r\nWould you like to proceed?\r\n"));
    EXPECT_EQ(DeleteQuestionTitle(true), QStringLiteral("Veltrane - Ready to Delete Spam Message(s)"));
    EXPECT_EQ(DeleteQuestionTitle(false), QStringLiteral("Veltrane - Ready to Delete Message(s)"));
    EXPECT_EQ(TestSucceededPrompt(),
              QStringLiteral("The Connection Succeeded.\r\n\r\nYou should be able to connect to your") +
                  QString(15, ' ') + QStringLiteral("\r\nMail Server to check for messages.\r\n\r\n"));
}

}  // namespace
