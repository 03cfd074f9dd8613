#pragma once
// Calls on the one component object for the check and the deletion: a failed
// call becomes a CallFailure that the operation's handler shows, the way a
// run-time error reaches an error handler.
#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

#include "app/general/kept_message_file.h"
#include "platform/com/com_ptr.h"
#include "qelpop3/qelpop3.h"

namespace forms {

// A numbered error of the component (its code and table text), or a failure
// of the program itself (a number and a description).
struct CallFailure {
    bool component = false;
    int32_t number = 0;
    QString text;
};

// Throws the CallFailure of a failed result; the thread's error information
// gives the text, else the component's LastErrorText.
void Check(com::HRESULT hr);
// The CallFailure of the exception being handled (inside a catch block).
CallFailure CurrentFailure();

// The current component object; throws when there is none.
IqelPop3Com& Pop3();
// The message collection, fetched afresh from the current object.
com::ComPtr<IPop3Msgs> Messages();
int16_t MessageCount();
// Message m (1-based) of the current object's collection.
com::ComPtr<IPop3Msg> Message(int16_t m);

QString ReadText(IPop3Msg& message, com::HRESULT (IPop3Msg::*member)(com::BSTR*));
// The same text in UTF-8.
QByteArray ReadUtf8(IPop3Msg& message, com::HRESULT (IPop3Msg::*member)(com::BSTR*));
// A text the component gives as one character per byte (a message's Body),
// as those bytes.
QByteArray ReadBytes(IPop3Msg& message, com::HRESULT (IPop3Msg::*member)(com::BSTR*));
// The bytes of the message's own file (Filename), which are its Body's;
// none when it names no file or the file cannot be read whole.
std::optional<QByteArray> ReadMessageFile(IPop3Msg& message);
// The message's file kept open, for a file the component made itself (a
// temporary file "POP3..." of the system's temporary folder, which it
// removes when the message object goes): none for a file a caller named,
// which could be rewritten in place, or one that cannot be kept.
std::shared_ptr<const modGeneral::KeptMessageFile> KeepMessageFile(IPop3Msg& message);
// Whether the message is marked for deletion: after a Disconnect that
// succeeded, whether the server kept it (it refused its DELE or one before,
// or QUIT did not commit).
bool MarkedForDeletion(IPop3Msg& message);
// The current object's last error, LastError and LastErrorText.
CallFailure LastError();
// The message's date as local wall-clock time; none when it cannot be read.
std::optional<QDateTime> ReadDate(IPop3Msg& message);

}  // namespace forms
