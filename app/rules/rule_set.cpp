#include "app/rules/rule_set.h"

#include <algorithm>

#include "app/common/ini_file.h"
#include "app/common/stored_number.h"
#include "platform/store/program_folder.h"

namespace modRules {

int16_t gRuleCount = 0;
int16_t gRuleShow = 0;
int16_t gRuleShowNew = 0;
int16_t gRuleTime = 30;
VbArray<QString> gRuleName;
VbArray<int16_t> gRuleEnabled;
VbArray<QString> gRuleAccount;
VbArray<int16_t> gRuleAction;
VbArray<int16_t> gRuleDescCount;
VbArray2<QString> gRuleDesc;

int16_t gEditRuleCount = 0;
int16_t gEditRuleShow = 0;
int16_t gEditRuleShowNew = 0;
int16_t gEditRuleTime = 30;
VbArray<QString> gEditRuleName;
VbArray<int16_t> gEditRuleEnabled;
VbArray<QString> gEditRuleAccount;
VbArray<int16_t> gEditRuleAction;
VbArray<int16_t> gEditRuleDescCount;
VbArray<int16_t> gEditRuleDescHigh;
VbArray2<QString> gEditRuleDesc;

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

// Writes the live set as a whole new file.
bool WriteLiveSet(const QString& path) {
    gIniFileName = path;
    ShowFileName();
    IniFile ini;
    ini.ConfigName(path);
    ini.StartNewFile();
    ini.KeySave(QString::number(gRuleCount), kRules, "RuleCount");
    ini.KeySave(QString::number(gRuleShow), kRules, "Show");
    ini.KeySave(QString::number(gRuleShowNew), kRules, "ShowNew");
    ini.KeySave(QString::number(gRuleTime), kRules, "Time");
    for (int i = 1; i <= gRuleCount; ++i) {
        // Names come back whole: an account named with blanks around keeps its rules.
        ini.KeySave(KeptWhole(gRuleName[i]), RuleSection(i), "Name");
        ini.KeySave(QString::number(gRuleEnabled[i]), "NA", "Enabled");
        ini.KeySave(KeptWhole(gRuleAccount[i]), "NA", "Account");
        ini.KeySave(QString::number(gRuleAction[i]), "NA", "Action");
        ini.KeySave(QString::number(gRuleDescCount[i]), "NA", "DescCount");
        for (int j = 1; j <= gRuleDescCount[i]; ++j) ini.KeySave(gRuleDesc(i, j), "NA", DescriptionKey(j));
    }
    return ini.Commit();
}

// The live set as it stood before a write, put back when the write fails so
// that the live set always matches the file.
struct LiveSnapshot {
    int16_t count = gRuleCount, show = gRuleShow, showNew = gRuleShowNew, time = gRuleTime;
    VbArray<QString> name = gRuleName, account = gRuleAccount;
    VbArray<int16_t> enabled = gRuleEnabled, action = gRuleAction, descCount = gRuleDescCount;
    VbArray2<QString> desc = gRuleDesc;

    void Restore() const {
        gRuleCount = count;
        gRuleShow = show;
        gRuleShowNew = showNew;
        gRuleTime = time;
        gRuleName = name;
        gRuleAccount = account;
        gRuleEnabled = enabled;
        gRuleAction = action;
        gRuleDescCount = descCount;
        gRuleDesc = desc;
    }
};

}  // namespace

void ShowFileName() {
    if (RulesView* view = gRulesView.Get()) view->ShowRulesFileName(QStringLiteral("FileName: ") + gRulesFileName);
}

QString RulesFilePath() {
    return QString::fromStdString((platform::store::UserDataFolder() / gRulesFileName.toStdString()).string());
}

void ResizeRuleArrays(int16_t n) {
    const int upper = std::max<int>(n, 0);
    for (auto* a : {&gRuleName, &gRuleAccount, &gEditRuleName, &gEditRuleAccount}) a->RedimPreserve(upper);
    for (auto* a : {&gRuleEnabled, &gRuleDescCount, &gRuleAction, &gEditRuleEnabled, &gEditRuleDescCount,
                    &gEditRuleDescHigh, &gEditRuleAction})
        a->RedimPreserve(upper);
    gRuleDesc.RedimPreserve(upper, kMaxDescLines);
    gEditRuleDesc.RedimPreserve(upper, kMaxDescLines);
}

std::error_code ReadRulesFile(const QString& path) {
    gIniFileName = path;
    ShowFileName();
    IniFile ini;
    ini.ConfigName(path);
    // Every rule from one version, even while another process rewrites it.
    const std::error_code unreadable = ini.ReadFileOnce();
    gRuleCount = std::max<int16_t>(ReadNumber(ini, kRules, "RuleCount", 0), 0);
    gRuleShow = ReadNumber(ini, kRules, "Show", 0);
    gRuleShowNew = ReadNumber(ini, kRules, "ShowNew", 0);
    gRuleTime = ReadNumber(ini, kRules, "Time", 30);
    ResizeRuleArrays(gRuleCount);
    for (int i = 1; i <= gRuleCount; ++i) {
        const QString section = RuleSection(i);
        gRuleName[i] = ini.KeyGet(section, "Name", "Rule");
        gRuleEnabled[i] = ReadNumber(ini, section, "Enabled", 1);
        gRuleAccount[i] = ini.KeyGet(section, "Account", kAllAccounts);
        gRuleAction[i] = ReadNumber(ini, section, "Action", 2);
        gRuleDescCount[i] = std::clamp<int16_t>(ReadNumber(ini, section, "DescCount", 0), 0, kMaxDescLines);
        for (int j = 0; j <= kMaxDescLines; ++j) gRuleDesc(i, j).clear();
        for (int j = 1; j <= gRuleDescCount[i]; ++j) {
            gRuleDesc(i, j) = ini.KeyGet(section, DescriptionKey(j), "") + u' ';
            gRuleDesc(i, 0) += gRuleDesc(i, j);
        }
    }
    return unreadable;
}

QString RulesFileReadProblem(const QString& path) {
    IniFile ini;
    ini.ConfigName(path);
    const std::error_code ec = ini.ReadFileOnce();
    if (!ec) return {};
    return path + QStringLiteral("\r\ncould not be read: ") + QString::fromLocal8Bit(ec.message().c_str()) +
           QStringLiteral(".");
}

bool WriteRulesFile(const QString& path) {
    const LiveSnapshot before;
    gRuleShow = gEditRuleShow;
    gRuleShowNew = gEditRuleShowNew;
    gRuleTime = gEditRuleTime;
    gRuleCount = gEditRuleCount;
    for (int i = 1; i <= gRuleCount; ++i) {
        gRuleEnabled[i] = gEditRuleEnabled[i];
        gRuleName[i] = gEditRuleName[i];
        gRuleAccount[i] = gEditRuleAccount[i];
        gRuleDescCount[i] = std::clamp<int16_t>(gEditRuleDescCount[i], 0, kMaxDescLines);
        gRuleAction[i] = gEditRuleAction[i];
        gRuleDesc(i, 0).clear();
        for (int j = 1; j <= gRuleDescCount[i]; ++j) {
            gRuleDesc(i, j) = gEditRuleDesc(i, j);
            gRuleDesc(i, 0) += gRuleDesc(i, j);
        }
    }
    if (WriteLiveSet(path)) return true;
    before.Restore();
    return false;
}

bool WriteLiveRulesFile(const QString& path) { return WriteLiveSet(path); }

bool RenameRuleAccount(const QString& oldName, const QString& newName) {
    for (int i = 1; i <= gEditRuleCount && gEditRuleAccount.Contains(i); ++i)
        if (gEditRuleAccount[i] == oldName) gEditRuleAccount[i] = newName;
    bool liveChanged = false;
    for (int i = 1; i <= gRuleCount; ++i) {
        if (gRuleAccount[i] == oldName) {
            gRuleAccount[i] = newName;
            liveChanged = true;
        }
    }
    return !liveChanged || WriteLiveSet(RulesFilePath());
}

}  // namespace modRules
