#include "platform/desktop/autostart_entry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <filesystem>
#include <string_view>
#include <utility>

#include "platform/store/atomic_file.h"

namespace platform::desktop {
namespace {

namespace store = platform::store;

const QLatin1String kGroup("[Desktop Entry]");

// The escapes of a desktop entry's string values.
QString EscapeString(const QString& value) {
    QString out;
    for (const QChar c : value) {
        switch (c.unicode()) {
            case '\\':
                out += QLatin1String("\\\\");
                break;
            case '\n':
                out += QLatin1String("\\n");
                break;
            case '\t':
                out += QLatin1String("\\t");
                break;
            case '\r':
                out += QLatin1String("\\r");
                break;
            default:
                out += c;
        }
    }
    return out;
}

QString UnescapeString(const QString& value) {
    QString out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != QLatin1Char('\\') || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        switch (value[++i].unicode()) {
            case 's':
                out += QLatin1Char(' ');
                break;
            case 'n':
                out += QLatin1Char('\n');
                break;
            case 't':
                out += QLatin1Char('\t');
                break;
            case 'r':
                out += QLatin1Char('\r');
                break;
            case '\\':
                out += QLatin1Char('\\');
                break;
            default:
                out += QLatin1Char('\\') + value[i];
        }
    }
    return out;
}

// The value of key in the [Desktop Entry] group of the file's text.
std::optional<QString> ReadKey(const QString& text, const QString& key) {
    bool inGroup = false;
    for (const QString& raw : text.split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inGroup = line == kGroup;
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (inGroup && equals > 0 && line.left(equals).trimmed() == key)
            return line.mid(equals + 1).trimmed();
    }
    return std::nullopt;
}

}  // namespace

AutostartEntry::AutostartEntry(QString name) : name_(std::move(name)) {}

QString AutostartEntry::path() const {
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return QDir(config).filePath(QStringLiteral("autostart/") + name_ + QStringLiteral(".desktop"));
}

bool AutostartEntry::write(const QString& program) const {
    if (!QFileInfo(program).isAbsolute()) return false;
    // The entry names a command the session runs: no other user may change
    // it, whatever the umask. Missing folders are the user's alone (0700),
    // the entry is readable by all and writable by the user only (0644).
    const std::filesystem::path file(QFile::encodeName(path()).toStdString());
    if (store::CreateFolders(file.parent_path())) return false;
    const QString text = kGroup + QStringLiteral("\nType=Application\nName=") + EscapeString(name_) +
                         QStringLiteral("\nExec=") + ExecValue(program) + QLatin1Char('\n');
    const store::FileLock lock(file);
    if (lock.error()) return false;
    const QByteArray bytes = text.toUtf8();
    return !store::WriteFileAtomically(file, std::string_view(bytes.constData(), bytes.size()), 0644);
}

std::optional<QString> AutostartEntry::program() const {
    QFile in(path());
    if (!in.open(QIODevice::ReadOnly)) return std::nullopt;
    const std::optional<QString> exec = ReadKey(QString::fromUtf8(in.readAll()), QStringLiteral("Exec"));
    return exec ? ProgramOfExec(*exec) : std::nullopt;
}

bool AutostartEntry::remove() const {
    const QString file = path();
    QFile::remove(file);
    return !QFileInfo::exists(file);
}

QString AutostartEntry::ExecValue(const QString& program) {
    // Quoting rule first (inside double quotes, " ` $ \ take a backslash),
    // then "%" doubled so it is no field code, then the string escapes.
    QString quoted = QStringLiteral("\"");
    for (const QChar c : program) {
        if (QStringView(u"\"`$\\").contains(c)) quoted += QLatin1Char('\\');
        quoted += c;
    }
    quoted += QLatin1Char('"');
    quoted.replace(QLatin1Char('%'), QLatin1String("%%"));
    return EscapeString(quoted);
}

std::optional<QString> AutostartEntry::ProgramOfExec(const QString& exec) {
    const QString line = UnescapeString(exec).trimmed();
    QString program;
    if (line.startsWith(QLatin1Char('"'))) {
        qsizetype i = 1;
        for (; i < line.size() && line[i] != QLatin1Char('"'); ++i) {
            if (line[i] == QLatin1Char('\\') && i + 1 < line.size()) ++i;
            program += line[i];
        }
        if (i == line.size()) return std::nullopt;  // no closing quote
    } else {
        program = line.section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty);
    }
    program.replace(QLatin1String("%%"), QLatin1String("%"));
    if (program.isEmpty()) return std::nullopt;
    return program;
}

}  // namespace platform::desktop
