#pragma once
// Reply to a stored message and open it in the user's mail program: the
// commands of the main window's message menu and of the preview window.
#include <QString>
#include <cstdint>

namespace forms {

// Hands a reply to message (account, msg) to the user's mail program as a
// mailto: address, which shows its compose window filled in; no login or
// password goes anywhere. A message says so when no program writes mail.
void ReplyToMessage(int16_t account, int16_t msg);

// Writes message (account, msg) as "temporary.eml" in the program's private
// temporary folder and opens it with the program the desktop has for that
// type, else as "temporary.msg"; a message says so when neither opens or the
// file cannot be written.
void OpenInMailClient(int16_t account, int16_t msg);

// The temporary message files, deleted when the preview closes and at the end.
QString TemporaryMessageFile(const QString& name);
void DeleteTemporaryMessageFiles();

}  // namespace forms
