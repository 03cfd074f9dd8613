#pragma once
// The texts of a reply to a stored message, for the user's mail program to
// show in its compose window: the address, "Re: " and the subject, and the
// original message quoted under its header lines.
#include <QString>
#include <cstdint>

namespace modGeneral {

struct ReplyText {
    QString recipient;
    QString subject;
    QString noteText;
};

// The reply to message (account, msg) of the store, which must exist.
ReplyText ReplyToStored(int16_t account, int16_t msg);

// The address to write to: the text inside the last "<...>" of a sender such
// as "Smith, John <js@example.org>", else the whole text trimmed. A display
// name may hold commas, which a mailto: address list would split on.
QString ReplyAddress(const QString& from);

// "-----Original Message-----", the From, To, Sent and Subject lines, a blank
// line, then every line of the plain text after ">"; CR LF line breaks.
QString ReplyNoteText(const QString& from, const QString& to, const QString& date, const QString& subject,
                      const QString& plainText);

// A list date ("Mar 05, 2024 03:07:09 PM") as "Tuesday, March 5, 2024 at
// 3:07 PM"; a text that is no such date is given back as it is.
QString SentDateText(const QString& listDate);

}  // namespace modGeneral
