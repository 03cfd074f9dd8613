#include "app/forms/preview/attachment_names.h"

#include <QFile>

#include "app/common/private_temp_folder.h"
#include "app/forms/checks/component_object.h"
#include "platform/com/bstr.h"
#include "platform/store/atomic_file.h"

namespace forms {

QStringList AttachmentNames(IPop3Msg& msg) {
    QStringList names;
    com::ComPtr<IPop3Attachments> attachments;
    std::int16_t count = 0;
    if (com::FAILED(msg.get_Attachments(attachments.ReleaseAndGetAddressOf())) || !attachments ||
        com::FAILED(attachments->get_Count(&count)))
        return names;
    for (std::int16_t i = 0; i < count; ++i) {  // items count from 0
        com::ComPtr<IPop3Attachment> attachment;
        com::Bstr name;
        if (com::FAILED(attachments->get_Item(i, attachment.ReleaseAndGetAddressOf())) || !attachment ||
            com::FAILED(attachment->get_Name(name.ReleaseAndGetAddressOf())))
            continue;
        names << QString::fromStdU16String(name.ToU16String());
    }
    return names;
}

QStringList AttachmentNames(const QByteArray& message) {
    const QString folder = PrivateTempFolder();
    if (folder.isEmpty() || message.isEmpty()) return {};
    // The component reads a message from a file: one of fixed name in the
    // program's private folder, removed again at once.
    const QString path = folder + QStringLiteral("/preview.eml");
    const std::string_view bytes(message.constData(), static_cast<size_t>(message.size()));
    if (platform::store::WriteFileAtomically(QFile::encodeName(path).toStdString(), bytes, 0600)) return {};
    QStringList names;
    if (com::ComPtr<IPop3Msg> msg = CreateMessageObject()) {
        const com::Bstr file(path.toStdU16String());
        if (com::SUCCEEDED(msg->put_Filename(file.Get()))) names = AttachmentNames(*msg);
    }
    QFile::remove(path);
    return names;
}

}  // namespace forms
