#include "app/rules/rules_file_change.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "app/common/app_settings.h"
#include "app/common/ini_file.h"
#include "app/common/stored_number.h"
#include "app/general/check_status.h"
#include "app/rules/rule_description.h"
#include "app/rules/rule_set.h"
#include "app/rules/rules_editor.h"
#include "platform/store/program_folder.h"

namespace modRules {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// Both rule sets and the file name, kept while a change is tried and put
// back whole when it fails.
struct RuleSetCopy {
    RuleSet live = gRules;
    RuleSet edit = gEditRules;
    QString fileName = gRulesFileName;
    QString iniFileName = gIniFileName;

    void PutBack() const {
        gRules = live;
        gEditRules = edit;
        gRulesFileName = fileName;
        gIniFileName = iniFileName;
    }
};

// Removes the first `most` occurrences of word in one pass from the left;
// what the removals join together is not searched again.
QString RemoveOccurrences(const QString& text, const QString& word, int most) {
    QString out;
    qsizetype from = 0;
    for (int removed = 0; removed < most; ++removed) {
        const qsizetype at = text.indexOf(word, from);
        if (at < 0) break;
        out += text.mid(from, at - from);
        from = at + word.size();
    }
    return out + text.mid(from);
}

std::filesystem::path PathInDataFolder(const QString& name) {
    return platform::store::UserDataFolder() / name.toStdString();
}

QString PathText(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

// The new rules file's name taken for this change: a name no file has is
// claimed by creating the file empty, so that no other file can appear
// there meanwhile; unless Keep() is called the claim is given up again at
// the end (the empty file removed). A file that has the name already is
// replaced only when the user agrees; it is never removed.
class NameClaim {
public:
    NameClaim(const QString& name, const ReplaceQuestion& replace, RulesFileOutcome& outcome)
        : path_(PathInDataFolder(name)) {
        if (name == gRulesFileName) return;  // the program's own file: replacing it is a save
        const int fd = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) {
            ::close(fd);
            created_ = true;
            return;
        }
        if (errno == EEXIST) {
            if (replace && replace(name)) return;
            outcome.status = RulesFileStatus::Kept;
        } else {
            outcome.status = RulesFileStatus::WriteFailed;
            outcome.detail = QString::fromLocal8Bit(std::strerror(errno));
        }
        failed_ = true;
    }
    ~NameClaim() {
        if (created_ && !kept_) {
            std::error_code ec;
            std::filesystem::remove(path_, ec);
        }
    }
    NameClaim(const NameClaim&) = delete;
    NameClaim& operator=(const NameClaim&) = delete;

    [[nodiscard]] bool Failed() const { return failed_; }
    [[nodiscard]] QString Path() const { return PathText(path_); }
    void Keep() { kept_ = true; }

private:
    std::filesystem::path path_;
    bool created_ = false;
    bool failed_ = false;
    bool kept_ = false;
};

// The rules are written: the name becomes the rules file's and is stored
// for the next start. False when it could not be stored.
bool TakeName(const QString& name) {
    if (name != gRulesFileName &&
        !SaveSetting(kAppKey, QStringLiteral("Settings\\Options"), QStringLiteral("RulesIniFileName"), name))
        return false;
    gRulesFileName = name;
    ShowFileName();
    return true;
}

// Writes under the claimed name with write, then takes the name; on failure
// everything is put back.
void WriteAndTakeName(NameClaim& claim, const RuleSetCopy& before, bool (*write)(const QString&),
                      RulesFileOutcome& outcome) {
    if (write(claim.Path()) && TakeName(outcome.name)) {
        claim.Keep();
        return;
    }
    outcome.status = RulesFileStatus::WriteFailed;
    // A file of the name that could not be read is never replaced: say so.
    if (const QString unread = RulesFileReadProblem(claim.Path()); !unread.isEmpty()) outcome.detail = unread;
    before.PutBack();
    ShowFileName();
}

bool IsPlainName(const QString& given) {
    for (const QChar c : given)
        if (c == u'/' || c == u'\\' || c.category() == QChar::Other_Control) return false;
    return true;
}

// Whether every one of the file's count rules is there as the program
// writes it: its section, a known action, 0 to 10 lines, and each line
// present with one of the six Where words. A file edited by hand that is
// not is refused whole rather than imported in part.
bool HoldsWholeRules(IniFile& ini, int16_t count) {
    for (int i = 1; i <= count; ++i) {
        const QString section = QStringLiteral("Rule") + QString::number(i);
        const std::optional<QStringList> keys = ini.SectionGet(section);
        if (!keys || keys->isEmpty()) return false;
        const int16_t action =
            StoredInteger(ini.KeyGet(section, QStringLiteral("Action"), QStringLiteral("2")), 0);
        const int16_t lines =
            StoredInteger(ini.KeyGet(section, QStringLiteral("DescCount"), QStringLiteral("0")), -1);
        if (action < 1 || action > 3 || lines < 0 || lines > kMaxDescLines) return false;
        for (int j = 1; j <= lines; ++j) {
            const std::optional<DescriptionLine> line = ParseDescriptionLine(
                ini.KeyGet(section, QStringLiteral("Description") + QString::number(j), QString()) + u' ');
            if (!line || !IsWhereWord(line->where)) return false;
        }
    }
    return true;
}

QString FileNameOf(const QString& name) { return QStringLiteral("'") + name + QStringLiteral("'"); }

}  // namespace

QString RulesFileNameFrom(const QString& given, bool appendIni) {
    QString name =
        QStringLiteral("Rules") +
        RemoveOccurrences(RemoveOccurrences(given, QStringLiteral("Rules"), 5), QStringLiteral("Rule"), 4);
    if (appendIni && !name.endsWith(QStringLiteral(".ini"))) name += QStringLiteral(".ini");
    return name;
}

RulesFileOutcome ImportRulesFile(const QString& path, const QStringList& accountNames,
                                 const ReplaceQuestion& replace) {
    RulesFileOutcome outcome;
    if (path.isEmpty()) {
        outcome.status = RulesFileStatus::Cancelled;
        return outcome;
    }
    IniFile ini;
    ini.ConfigName(path);
    ini.ReadFileOnce();
    const int16_t count =
        StoredInteger(ini.KeyGet(QStringLiteral("Rules"), QStringLiteral("RuleCount"), QString()), 0);
    if (count < 1 || !HoldsWholeRules(ini, count)) {
        outcome.status = RulesFileStatus::NotRules;
        return outcome;
    }
    outcome.name = RulesFileNameFrom(
        QString::fromStdString(std::filesystem::path(path.toStdString()).filename()), false);
    NameClaim claim(outcome.name, replace, outcome);
    if (claim.Failed()) return outcome;

    const RuleSetCopy before;
    ReadRulesFile(path);
    if (gRules.Count < 1) {  // the file changed after its count was read
        before.PutBack();
        outcome.status = RulesFileStatus::NotRules;
        return outcome;
    }
    // Rules of the user's own accounts keep them; only names no account has
    // are bound to every account.
    for (int i = 1; i <= gRules.Count; ++i) {
        QString& account = gRules[i].Account;
        if (account == QStringView(kAllAccounts) || accountNames.contains(account)) continue;
        account = QString::fromUtf16(kAllAccounts);
        ++outcome.rebound;
    }
    WriteAndTakeName(claim, before, &WriteLiveRulesFile, outcome);
    return outcome;
}

RulesFileOutcome SaveRulesFileAs(const QString& given, const ReplaceQuestion& replace) {
    RulesFileOutcome outcome;
    if (!IsPlainName(given)) {
        outcome.status = RulesFileStatus::NotAName;
        return outcome;
    }
    outcome.name = RulesFileNameFrom(given, true);
    NameClaim claim(outcome.name, replace, outcome);
    if (claim.Failed()) return outcome;
    const RuleSetCopy before;
    WriteAndTakeName(claim, before, &WriteRulesFile, outcome);
    return outcome;
}

RulesFileMessage ReplaceQuestionText(const QString& name, bool import) {
    return {modGeneral::gAppName +
                (import ? QStringLiteral(" - Rule Import") : QStringLiteral(" - Rename Rules File")),
            QStringLiteral("A file named ") + FileNameOf(name) + QStringLiteral(" exists already.") + kCrLf +
                kCrLf +
                (import ? QStringLiteral("Replace it with the imported Rules?")
                        : QStringLiteral("Replace it with the current Rules?")) +
                kCrLf};
}

RulesFileMessage ImportMessage(const RulesFileOutcome& outcome) {
    const QString& app = modGeneral::gAppName;
    switch (outcome.status) {
        case RulesFileStatus::Done: {
            QString text =
                QStringLiteral("The Rule File has been successfully imported.          ") + kCrLf + kCrLf;
            if (outcome.rebound > 0)
                text += QStringLiteral("Some Account modifications were made to") + kCrLf +
                        QStringLiteral("ensure compatibility with your current Accounts.") + kCrLf +
                        QStringLiteral("You may need to adjust these.") + kCrLf + kCrLf;
            return {app + QStringLiteral(" - Rule Import Successful"), text};
        }
        case RulesFileStatus::NotRules:
            return {app + QStringLiteral(" - Rule Import Failed"),
                    QStringLiteral("Rule Import Failed.") + kCrLf + kCrLf +
                        QStringLiteral("The Imported Rule File does not appear          ") + kCrLf +
                        QStringLiteral("to be the correct format or it does not") + kCrLf +
                        QStringLiteral("contain any Rules.") + kCrLf + kCrLf +
                        QStringLiteral("Try Help for further information.") + kCrLf};
        case RulesFileStatus::WriteFailed:
            return {app + QStringLiteral(" - Rule Import Failed"),
                    QStringLiteral("The imported Rules could not be saved as ") + FileNameOf(outcome.name) +
                        kCrLf + (outcome.detail.isEmpty() ? QString() : outcome.detail + kCrLf) + kCrLf +
                        QStringLiteral("Your Rules and the Rules FileName are unchanged.") + kCrLf};
        case RulesFileStatus::Cancelled:
        case RulesFileStatus::Kept:
        case RulesFileStatus::NotAName:
            break;
    }
    return {};
}

RulesFileMessage RenameMessage(const RulesFileOutcome& outcome) {
    const QString title = modGeneral::gAppName + QStringLiteral(" - Rename Rules File");
    switch (outcome.status) {
        case RulesFileStatus::NotAName:
            return {title,
                    QStringLiteral("The FileName cannot contain \"/\", \"\\\" or control characters:") +
                        kCrLf + QStringLiteral("the Rules file always stays in its folder.") + kCrLf + kCrLf +
                        QStringLiteral("Please enter another FileName.") + kCrLf};
        case RulesFileStatus::WriteFailed:
            return {title, QStringLiteral("The Rules could not be saved as ") + FileNameOf(outcome.name) +
                               kCrLf + (outcome.detail.isEmpty() ? QString() : outcome.detail + kCrLf) +
                               kCrLf + QStringLiteral("Your Rules and the Rules FileName are unchanged.") +
                               kCrLf};
        case RulesFileStatus::Done:
        case RulesFileStatus::Cancelled:
        case RulesFileStatus::Kept:
        case RulesFileStatus::NotRules:
            break;
    }
    return {};
}

}  // namespace modRules
