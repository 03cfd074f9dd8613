#pragma once
// A new message in the user's own mail program, through a "mailto:" URL
// (RFC 6068): the program shows its compose window with the fields filled
// in, and the user sends or discards the message there.

#include <QString>

namespace platform::desktop {

// The URL is handed to other programs as one argument, and Linux limits a
// single argument to 128 KiB; a body that would make the URL longer than
// this is cut after its last whole line that fits (inside a line, at a whole
// character, rather than leave more than 1 KiB unused), and cutMark follows
// as a line of its own, so that the reader sees where the text ends.
inline constexpr qsizetype kMaxMailtoLength = 64 * 1024;

// Every character outside RFC 3986's unreserved set is percent-encoded from
// UTF-8 ("@" of the address excepted), so that no text of the message can
// add a field; line breaks of the body become %0D%0A. Empty fields are left
// out: all empty gives "mailto:".
QString MailtoUrl(const QString& to, const QString& subject, const QString& body,
                  const QString& cutMark = {});

// Opens MailtoUrl(...) with the user's mail program; false when no program
// handles "mailto:" or it could not be started.
bool ComposeMail(const QString& to, const QString& subject, const QString& body, const QString& cutMark = {});

}  // namespace platform::desktop
