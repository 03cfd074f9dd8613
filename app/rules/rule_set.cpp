#include "app/rules/rule_set.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "app/common/ini_file.h"
#include "app/common/stored_number.h"
#include "platform/store/program_folder.h"

namespace modRules {

RuleSet gRules;
RuleSet gEditRules;

QString gRulesFileName = QStringLiteral("Rules.ini");
ViewSlot<RulesView> gRulesView;

namespace {

const QString kRules = QStringLiteral("Rules");
const QString kAllAccounts = QStringLiteral("All Accounts");

QString RuleSection(int i) { return QStringLiteral("Rule") + QString::number(i); }
QString DescriptionKey(int j) { return QStringLiteral("Description") + QString::number(j); }

int16_t ReadNumber(IniFile& ini, const QString& section, const QString& key, int16_t fallback) {
    return StoredInteger(ini.KeyGet(section, key, QString::number(fallback)), fallback);
}

// The file's rule count, 0 when it gives none; nullopt when the count it
// gives is no number from 0 to 32767: such a file is not read as rules.
std::optional<int16_t> RuleCountOf(IniFile& ini) {
    const std::optional<int64_t> count = ParseStoredNumber(ini.KeyGet(kRules, "RuleCount", "0"));
    if (!count || *count < 0 || *count > std::numeric_limits<int16_t>::max()) return std::nullopt;
    return static_cast<int16_t>(*count);
}

// Writes the live set as a whole new file; never over a file that could not
// be read as rules, which may hold rules the set lacks.
bool WriteLiveSet(const QString& path) {
    gIniFileName = path;
    ShowFileName();
    if (!RulesFileReadProblem(path).isEmpty()) return false;
    IniFile ini;
    ini.ConfigName(path);
    ini.StartNewFile();
    ini.KeySave(QString::number(gRules.Count), kRules, "RuleCount");
    ini.KeySave(QString::number(gRules.Show), kRules, "Show");
    ini.KeySave(QString::number(gRules.ShowNew), kRules, "ShowNew");
    ini.KeySave(QString::number(gRules.Time), kRules, "Time");
    for (int i = 1; i <= gRules.Count; ++i) {
        const Rule& rule = gRules[i];
        // Names come back whole: an account named with blanks around keeps its rules.
        ini.KeySave(KeptWhole(rule.Name), RuleSection(i), "Name");
        ini.KeySave(QString::number(rule.Enabled), "NA", "Enabled");
        ini.KeySave(KeptWhole(rule.Account), "NA", "Account");
        ini.KeySave(QString::number(rule.Action), "NA", "Action");
        ini.KeySave(QString::number(rule.DescCount), "NA", "DescCount");
        for (int j = 1; j <= rule.DescCount; ++j) ini.KeySave(rule.Desc.at(j), "NA", DescriptionKey(j));
    }
    return ini.Commit();
}

}  // namespace

Rule CountedLinesOf(const Rule& rule) {
    Rule copy;
    copy.Name = rule.Name;
    copy.Enabled = rule.Enabled;
    copy.Account = rule.Account;
    copy.Action = rule.Action;
    copy.DescCount = std::clamp<int16_t>(rule.DescCount, 0, kMaxDescLines);
    copy.DescHigh = copy.DescCount;
    for (int j = 1; j <= copy.DescCount; ++j) {
        copy.Desc[j] = rule.Desc[j];
        copy.Desc[0] += rule.Desc[j];
    }
    return copy;
}

void ShowFileName() {
    if (RulesView* view = gRulesView.Get())
        view->ShowRulesFileName(QStringLiteral("FileName: ") + gRulesFileName);
}

QString RulesFilePath() {
    return QString::fromStdString(
        (platform::store::UserDataFolder() / gRulesFileName.toStdString()).string());
}

void ResizeRuleArrays(int16_t n) {
    const int upper = std::max<int>(n, 0);
    gRules.Rules.RedimPreserve(upper);
    gEditRules.Rules.RedimPreserve(upper);
}

std::error_code ReadRulesFile(const QString& path) {
    gIniFileName = path;
    ShowFileName();
    IniFile ini;
    ini.ConfigName(path);
    // Every rule from one version, even while another process rewrites it.
    std::error_code unreadable = ini.ReadFileOnce();
    const std::optional<int16_t> count = RuleCountOf(ini);
    if (!count && !unreadable) unreadable = std::make_error_code(std::errc::invalid_argument);
    gRules.Count = unreadable ? 0 : *count;
    gRules.Show = ReadNumber(ini, kRules, "Show", 0);
    gRules.ShowNew = ReadNumber(ini, kRules, "ShowNew", 0);
    gRules.Time = ReadNumber(ini, kRules, "Time", 30);
    ResizeRuleArrays(gRules.Count);
    for (int i = 1; i <= gRules.Count; ++i) {
        const QString section = RuleSection(i);
        Rule& rule = gRules[i];
        rule.Name = ini.KeyGet(section, "Name", "Rule");
        rule.Enabled = ReadNumber(ini, section, "Enabled", 1);
        rule.Account = ini.KeyGet(section, "Account", kAllAccounts);
        rule.Action = ReadNumber(ini, section, "Action", 2);
        rule.DescCount = std::clamp<int16_t>(ReadNumber(ini, section, "DescCount", 0), 0, kMaxDescLines);
        rule.Desc.fill(QString());
        for (int j = 1; j <= rule.DescCount; ++j) {
            rule.Desc[j] = ini.KeyGet(section, DescriptionKey(j), "") + u' ';
            rule.Desc[0] += rule.Desc[j];
        }
    }
    return unreadable;
}

QString RulesFileReadProblem(const QString& path) {
    IniFile ini;
    ini.ConfigName(path);
    if (const std::error_code ec = ini.ReadFileOnce())
        return path + QStringLiteral("\r\ncould not be read: ") +
               QString::fromLocal8Bit(ec.message().c_str()) + QStringLiteral(".");
    if (!RuleCountOf(ini))
        return path + QStringLiteral("\r\ncould not be read: its RuleCount \"") + ini.KeyValue().left(40) +
               QStringLiteral("\" is not a number from 0 to 32767.");
    return {};
}

bool WriteRulesFile(const QString& path) {
    // The live set always matches the file: a failed write puts it back.
    const RuleSet before = gRules;
    gRules.Show = gEditRules.Show;
    gRules.ShowNew = gEditRules.ShowNew;
    gRules.Time = gEditRules.Time;
    gRules.Count = gEditRules.Count;
    for (int i = 1; i <= gRules.Count; ++i) gRules[i] = CountedLinesOf(gEditRules[i]);
    if (WriteLiveSet(path)) return true;
    gRules = before;
    return false;
}

bool WriteLiveRulesFile(const QString& path) { return WriteLiveSet(path); }

bool RenameRuleAccount(const QString& oldName, const QString& newName) {
    for (int i = 1; i <= gEditRules.Count && gEditRules.Rules.Contains(i); ++i)
        if (gEditRules[i].Account == oldName) gEditRules[i].Account = newName;
    bool liveChanged = false;
    for (int i = 1; i <= gRules.Count; ++i) {
        if (gRules[i].Account == oldName) {
            gRules[i].Account = newName;
            liveChanged = true;
        }
    }
    return !liveChanged || WriteLiveSet(RulesFilePath());
}

}  // namespace modRules
