#include "app/forms/checks/component_calls.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <exception>
#include <stdexcept>

#include "app/forms/checks/component_object.h"
#include "platform/com/bstr.h"
#include "platform/com/ole_date.h"
#include "platform/text/code_page.h"

namespace forms {

namespace {

QString ComponentLastErrorText() {
    com::Bstr text;
    if (!gPop3 || com::FAILED(gPop3->get_LastErrorText(text.ReleaseAndGetAddressOf()))) return {};
    return QString::fromStdU16String(text.ToU16String());
}

}  // namespace

void Check(com::HRESULT hr) {
    if (com::SUCCEEDED(hr)) return;
    QString text = ErrorInfoText();
    if (com::IsCtlError(hr) && com::HresultCode(hr) != 0) {
        if (text.isEmpty()) text = ComponentLastErrorText();
        throw CallFailure{true, com::HresultCode(hr), text};
    }
    throw CallFailure{false, static_cast<int32_t>(hr),
                      text.isEmpty() ? QStringLiteral("Automation error") : text};
}

CallFailure CurrentFailure() {
    try {
        throw;
    } catch (const CallFailure& failure) {
        return failure;
    } catch (const std::out_of_range&) {
        return {false, 9, QStringLiteral("Subscript out of range")};
    } catch (const std::exception& e) {
        return {false, 5, QString::fromLocal8Bit(e.what())};
    } catch (...) {
        return {false, 5, QStringLiteral("Invalid procedure call or argument")};
    }
}

IqelPop3Com& Pop3() {
    if (!gPop3)
        throw CallFailure{false, 91, QStringLiteral("Object variable or With block variable not set")};
    return *gPop3;
}

com::ComPtr<IPop3Msgs> Messages() {
    com::ComPtr<IPop3Msgs> messages;
    Check(Pop3().get_Messages(messages.ReleaseAndGetAddressOf()));
    return messages;
}

int16_t MessageCount() {
    int16_t count = 0;
    Check(Messages()->get_Count(&count));
    return count;
}

com::ComPtr<IPop3Msg> Message(int16_t m) {
    com::ComPtr<IPop3Msg> message;
    Check(Messages()->get_Item(static_cast<int16_t>(m - 1), message.ReleaseAndGetAddressOf()));
    return message;
}

namespace {

QStringView Call(IPop3Msg& message, com::HRESULT (IPop3Msg::*member)(com::BSTR*), com::Bstr& value) {
    Check((message.*member)(value.ReleaseAndGetAddressOf()));
    return QStringView(value.Get(), static_cast<qsizetype>(value.Length()));
}

}  // namespace

QString ReadText(IPop3Msg& message, com::HRESULT (IPop3Msg::*member)(com::BSTR*)) {
    com::Bstr value;
    return Call(message, member, value).toString();
}

QByteArray ReadUtf8(IPop3Msg& message, com::HRESULT (IPop3Msg::*member)(com::BSTR*)) {
    com::Bstr value;
    return Call(message, member, value).toUtf8();
}

QByteArray ReadBytes(IPop3Msg& message, com::HRESULT (IPop3Msg::*member)(com::BSTR*)) {
    com::Bstr value;
    const QStringView text = Call(message, member, value);
    QByteArray bytes(text.size(), Qt::Uninitialized);
    text::NarrowToAnsi(std::u16string_view(text.utf16(), static_cast<size_t>(text.size())), bytes.data());
    return bytes;
}

namespace {

QString MessageFileName(IPop3Msg& message) {
    com::Bstr name;
    if (com::FAILED(message.get_Filename(name.ReleaseAndGetAddressOf()))) return {};
    return QString::fromStdU16String(name.ToU16String());
}

}  // namespace

std::optional<QByteArray> ReadMessageFile(IPop3Msg& message) {
    const QString name = MessageFileName(message);
    if (name.isEmpty()) return std::nullopt;
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    // Exactly the file's size: a large message is held once, with no room to spare.
    QByteArray bytes(file.size(), Qt::Uninitialized);
    if (file.read(bytes.data(), bytes.size()) != bytes.size()) return std::nullopt;
    return bytes;
}

std::shared_ptr<const modGeneral::KeptMessageFile> KeepMessageFile(IPop3Msg& message) {
    const QString name = MessageFileName(message);
    const QFileInfo file(name);
    // mkstemp's six characters after the prefix.
    if (name.isEmpty() || QDir::cleanPath(file.path()) != QDir::cleanPath(QDir::tempPath()) ||
        !file.fileName().startsWith(QLatin1String("POP3")) || file.fileName().size() != 10)
        return nullptr;
    return modGeneral::KeptMessageFile::Keep(name);
}

bool MarkedForDeletion(IPop3Msg& message) {
    com::VARIANT_BOOL marked = com::VARIANT_FALSE;
    Check(message.get_MarkDelete(&marked));
    return marked != com::VARIANT_FALSE;
}

CallFailure LastError() {
    int32_t code = 0;
    if (gPop3) gPop3->get_LastError(&code);
    return {true, code, ComponentLastErrorText()};
}

std::optional<QDateTime> ReadDate(IPop3Msg& message) {
    com::DATE date = 0;
    if (com::FAILED(message.get_Date(&date))) return std::nullopt;
    const std::optional<com::DateParts> parts = com::OleDateToParts(date);
    if (!parts) return std::nullopt;
    return QDateTime(QDate(parts->year, parts->month, parts->day),
                     QTime(parts->hour, parts->minute, parts->second));
}

}  // namespace forms
