#pragma once
// The rule set: a live copy that the rule engine and the rule report use, and
// an edit copy behind the Rules page, both indexed 0 to the rule count with
// slot 0 unused; and the rules file they are read from and written to.

#include <QString>
#include <array>
#include <cstdint>
#include <system_error>

#include "app/common/vb_array.h"
#include "app/common/view_slot.h"

namespace modRules {

inline constexpr int kMaxDescLines = 10;

// One rule as the rules file stores it under its section "Rule" and its
// number; the fields carry the names of its keys.
struct Rule {
    QString Name;
    int16_t Enabled = 0;
    QString Account;
    int16_t Action = 0;     // 1 delete, 2 spam, 3 ignore
    int16_t DescCount = 0;  // the lines that count: 1 to DescCount
    // The edit set only: lines up to DescHigh were undone and can be redone.
    int16_t DescHigh = 0;
    // Desc[j] holds line j; Desc[0] the counted lines joined.
    std::array<QString, kMaxDescLines + 1> Desc;
};

// A whole rule set: the values of section "Rules" and rules 0 to at least
// Count, slot 0 unused.
struct RuleSet {
    int16_t Count = 0;  // "RuleCount"
    int16_t Show = 0;
    int16_t ShowNew = 0;
    int16_t Time = 30;
    VbArray<Rule> Rules;

    Rule& operator[](int i) { return Rules[i]; }
    const Rule& operator[](int i) const { return Rules[i]; }
};

// The live set, as the rules file holds it, and the Rules page's edit copy.
extern RuleSet gRules;
extern RuleSet gEditRules;

// rule as the other set takes it: its values and its first DescCount lines
// (at most 10), line 0 their join, no line after them, and no line undone.
Rule CountedLinesOf(const Rule& rule);

// The rules file's name in the user's data folder ("RulesIniFileName").
extern QString gRulesFileName;

// What the rules module shows in a window: the rules file's name ("FileName: "
// and the name) after every read of the rules file.
class RulesView {
public:
    virtual void ShowRulesFileName(const QString& caption) = 0;

protected:
    ~RulesView() = default;
};
// The main window registers itself here for its lifetime.
extern ViewSlot<RulesView> gRulesView;

// The rules file's full path: the user's data folder and gRulesFileName.
QString RulesFilePath();

// The main window's file-name label shows gRulesFileName.
void ShowFileName();

// Fills the live set from the file at path; a missing file is an empty set.
// A file that exists but cannot be read (no permission, no regular file,
// too large, binary) is an empty set too, and its error is returned, as is
// invalid_argument for a RuleCount that is no number from 0 to 32767: no
// write replaces such a file.
std::error_code ReadRulesFile(const QString& path);

// The text a user is shown for a rules file that exists but could not be
// read as rules: its path and why; empty when it can be read or does not
// exist.
QString RulesFileReadProblem(const QString& path);

// Copies the edit set into the live set and writes the whole file in one
// step. False when the file could not be written; the old file and the live
// set are then unchanged.
bool WriteRulesFile(const QString& path);

// Writes the live set as it is (no edit copied) as a whole new file at path;
// false when it could not be written, the old file then unchanged.
bool WriteLiveRulesFile(const QString& path);

// Resizes both sets to rules 0 to n, keeping every rule both sizes hold;
// each set keeps its own description lines.
void ResizeRuleArrays(int16_t n);

// An account was renamed: the rules of both sets bound to oldName (exact
// case) are bound to newName, and the live set is written to the rules file
// so that the binding survives; unsaved Rules page edits are not written.
// False when the file could not be written.
bool RenameRuleAccount(const QString& oldName, const QString& newName);

}  // namespace modRules
