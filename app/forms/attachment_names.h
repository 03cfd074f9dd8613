#pragma once
// The names of a stored message's attachments, read by the mail component
// from the message's own text: the preview lists them. Nothing is saved or
// fetched; a name is only ever shown.
#include <QByteArray>
#include <QStringList>

namespace forms {

// The attachments' names of a message (its bytes as the server sent them),
// in message order; empty when it has none or cannot be read.
QStringList AttachmentNames(const QByteArray& message);

}  // namespace forms
