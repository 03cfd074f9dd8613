#pragma once
// A stored message written to a file: what Save writes and what the mail
// program is given to open.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

namespace modGeneral {

// The file's bytes: the message as the server sent it (the body's 8-bit text
// back to its own bytes), a blank line, the plain text in UTF-8, CR LF; none
// when the message's bytes can no longer be read.
std::optional<QByteArray> MessageFileBytes(int16_t account, int16_t msg);

// Writes MessageFileBytes to path (mode 0600), replacing the file whole only
// once every byte is written; false, with the file untouched, when it fails
// or there are no bytes to write.
bool WriteTextFile(const QString& path, int16_t account, int16_t msg);

// The name Save offers: the subject without the characters
// / ? < > \ : * | " [ ] , ; and control characters, at most 255 bytes;
// empty when nothing but dots and blanks is left (".." names a folder).
QString SaveFileName(const QString& subject);

}  // namespace modGeneral
