#pragma once
// The names of a stored message's attachments, read by the mail component
// from the message's own text: the preview lists them. Nothing is saved or
// fetched; a name is only ever shown.
#include <QByteArray>
#include <QStringList>

#include "qelpop3/qelpop3.h"

namespace forms {

// The attachments' names of a message (its bytes as the server sent them),
// in message order; empty when it has none or cannot be read.
QStringList AttachmentNames(const QByteArray& message);
// The attachments' names of a component message, in message order.
QStringList AttachmentNames(IPop3Msg& message);

}  // namespace forms
