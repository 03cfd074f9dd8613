#include "app/forms/checks/component_object.h"

#include <QFile>

#include "platform/com/activation.h"
#include "platform/com/bstr.h"
#include "platform/com/error_info.h"
#include "platform/store/program_folder.h"

namespace forms {

com::ComPtr<IqelPop3Com> gPop3;

namespace {
// The installed component beside the program's other libraries, else the one
// built with the program.
QString DefaultLibraryPath() {
    const std::filesystem::path installed = platform::store::InstallLibraryFolder();
    if (!installed.empty()) return QFile::decodeName((installed / "libqelpop3.so").c_str());
    return QStringLiteral(QELPOP3_BUILD_LIBRARY);
}

QString& LibraryPath() {
    static QString path = DefaultLibraryPath();
    return path;
}
}  // namespace

QString ErrorInfoText() {
    com::ComPtr<com::IErrorInfo> info;
    if (com::GetErrorInfo(0, info.ReleaseAndGetAddressOf()) != com::S_OK || !info) return {};
    com::Bstr text;
    if (com::FAILED(info->GetDescription(text.ReleaseAndGetAddressOf()))) return {};
    return QString::fromStdU16String(text.ToU16String());
}

void SetComponentLibraryPath(const QString& path) { LibraryPath() = path; }
QString ComponentLibraryPath() { return LibraryPath(); }

com::ComPtr<IqelPop3Com> CreateComponent(QString& error) {
    error.clear();
    const QString path = LibraryPath();
    com::HRESULT hr =
        com::RegisterServerLibrary(CLSID_qelPop3Com, {qelpop3::kProgId, qelpop3::kVersionIndependentProgId},
                                   QFile::encodeName(path).toStdString());
    com::ComPtr<IqelPop3Com> pop3;
    if (com::SUCCEEDED(hr))
        hr = com::CoCreateInstance(CLSID_qelPop3Com, nullptr, IqelPop3Com::iid,
                                   pop3.ReleaseAndGetVoidAddress());
    if (com::FAILED(hr)) {
        QString reason = ErrorInfoText();
        if (reason.isEmpty())
            reason = QStringLiteral("error 0x%1").arg(static_cast<unsigned>(hr), 8, 16, QChar('0'));
        error =
            QStringLiteral("The mail component could not be loaded from\r\n%1\r\n\r\n%2").arg(path, reason);
        return {};
    }
    return pop3;
}

com::ComPtr<IPop3Msg> CreateMessageObject() {
    com::ComPtr<IPop3Msg> msg;
    if (com::FAILED(
            com::RegisterServerLibrary(CLSID_Pop3Msg, {}, QFile::encodeName(LibraryPath()).toStdString())) ||
        com::FAILED(
            com::CoCreateInstance(CLSID_Pop3Msg, nullptr, IPop3Msg::iid, msg.ReleaseAndGetVoidAddress())))
        return {};
    return msg;
}

}  // namespace forms
