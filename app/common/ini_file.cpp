#include "app/common/ini_file.h"

#include <QStringDecoder>

#include "platform/store/profile.h"
#include "platform/text/code_page.h"

QString gIniFileName;

namespace store = platform::store;

namespace {

const QString kKeep = QStringLiteral("NA");

std::filesystem::path PathOf(const QString& name) { return std::filesystem::path(name.toStdString()); }

}  // namespace

QString IniText(const std::string& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (!utf8.hasError()) return text;
    const std::u16string ansi = text::FromAnsi(bytes);
    return QString::fromUtf16(ansi.data(), static_cast<qsizetype>(ansi.size()));
}

QString KeptWhole(const QString& value) {
    const auto blank = [](QChar c) { return c == u' ' || c == u'\t'; };
    const bool trimmed = !value.isEmpty() && (blank(value.front()) || blank(value.back()));
    const bool quoted = value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
                        value.back() == value.front();
    return trimmed || quoted ? u'"' + value + u'"' : value;
}

IniFile::IniFile() : configName_(gIniFileName) {}

std::optional<QStringList> IniFile::SectionGet(const QString& section) {
    if (!section.isEmpty()) section_ = section;
    if (section_.isEmpty()) return std::nullopt;
    const std::vector<std::string> lines = Document().SectionLines(section_.toStdString());
    QStringList list;
    if (lines.empty()) return list;
    for (const std::string& line : lines) list.append(IniText(line));
    list.append(QString());  // the list ends with an empty element, as the section buffer does
    return list;
}

QString IniFile::KeyGet(const QString& section, const QString& keyName, const QString& defaultText) {
    if (section != kKeep) section_ = section;
    if (keyName != kKeep) keyName_ = keyName;
    defaultText_ = defaultText;
    const std::optional<std::string> value = Document().Value(section_.toStdString(), keyName_.toStdString());
    keyValue_ = value ? IniText(*value) : defaultText_;
    return keyValue_;
}

void IniFile::KeySave(const QString& keyValue, const QString& section, const QString& keyName) {
    if (section != kKeep) section_ = section;
    if (keyName != kKeep) keyName_ = keyName;
    keyValue_ = keyValue;
    const std::string s = section_.toStdString(), k = keyName_.toStdString(), v = keyValue_.toStdString();
    const std::error_code ec =
        pending_ ? pending_->Set(s, k, v) : store::WritePrivateProfileString(s, k, v, PathOf(configName_));
    if (ec) writeFailed_ = true;
    readOnce_ = false;
}

void IniFile::StartNewFile() { pending_.emplace(); }

bool IniFile::Commit() {
    if (!pending_ || writeFailed_) {  // a key that could not be set: keep the old file whole
        pending_.reset();
        return !writeFailed_;
    }
    if (store::WriteProfileFile(PathOf(configName_), *pending_)) writeFailed_ = true;
    pending_.reset();
    return !writeFailed_;
}

std::error_code IniFile::ReadFileOnce() {
    std::error_code ec;
    read_ = store::ReadProfileFile(PathOf(configName_), ec);
    readOnce_ = true;
    return ec;
}

const store::IniDocument& IniFile::Document() {
    if (pending_) return *pending_;
    if (!readOnce_ || !read_) {
        std::error_code ec;
        read_ = store::ReadProfileFile(PathOf(configName_), ec);
    }
    return *read_;
}
