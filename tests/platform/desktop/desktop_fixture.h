#pragma once
// The test program's QApplication and a desktop of its own: the XDG data
// folders hold only the applications and icons made here, so that what the
// tests find registered does not depend on the machine.

#include <QString>

#include <ostream>

// Readable values in failure messages.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace desktop_test {

// <share>/applications/... and icons; the only XDG data folder.
QString Share();
// A PNG icon file.
QString IconFile();
// An executable script that an installed desktop entry runs, with IconFile.
QString MailerProgram();
// An executable script no desktop entry names.
QString BareProgram();
// A folder for a test's own files.
QString Scratch();

}  // namespace desktop_test
