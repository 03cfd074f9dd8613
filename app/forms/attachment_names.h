#pragma once
// The names of a stored message's attachments, read by the mail component
// from the message's own text: the preview lists them. Nothing is saved or
// fetched; a name is only ever shown.
#include <QString>
#include <QStringList>

namespace forms {

// The attachments' names of the raw message text (8-bit text as the server
// sent it), in message order; empty when it has none or cannot be read.
QStringList AttachmentNames(const QString& rawMessage);

}  // namespace forms
