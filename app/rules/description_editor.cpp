#include "app/rules/description_editor.h"

#include <algorithm>

#include "app/rules/rule_description.h"
#include "app/rules/rule_set.h"
#include "app/rules/rules_editor.h"

namespace modRules {

namespace {

bool IsConnector(const QString& word) { return word == u"AND" || word == u"OR"; }

// The rule the page shows, in the edit set.
Rule& Current() { return gEditRules[gCurrentRule]; }

// Line 0 of the current rule: its counted lines joined.
void JoinCurrentLines() {
    QString joined;
    for (int j = 1; j <= Current().DescCount; ++j) joined += Current().Desc[j];
    Current().Desc[0] = joined;
}

void SetLineCount(int16_t count) {
    gCurrentLine = count;
    Current().DescCount = count;
    JoinCurrentLines();
}

bool HaveRule() { return gCurrentRule >= 1 && gCurrentRule <= gEditRules.Count; }

}  // namespace

QString BuildDescriptionLine(int line, const LineChoice& choice) {
    QString text;
    if (line >= 2) text += choice.connector + u' ';
    text += choice.where + u' ' + choice.condition +
            (choice.negated ? QStringLiteral(" NOT ") : QStringLiteral(" "));
    return text + choice.criteria.trimmed() + u' ';
}

QString WithConnector(const QString& line, const QString& connector) {
    const qsizetype space = line.indexOf(u' ');
    if (space < 0 || !IsConnector(line.left(space))) return line;
    return connector + line.mid(space);
}

bool CriteriaComplete(const QString& where, const QString& criteria) {
    const QString text = criteria.trimmed();
    if (where == u"Attachment") return true;
    if (where == u"Size")
        return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
    return !text.isEmpty();
}

bool ReadsBackAsChosen(const LineChoice& choice) {
    // As the file gives it back: without the blanks at its end, one space added.
    const auto read = ParseDescriptionLine(BuildDescriptionLine(1, choice).trimmed() + u' ');
    return read && read->where == choice.where && read->condition == choice.condition &&
           read->negated == choice.negated && read->criteria == choice.criteria.trimmed();
}

bool AddRuleLine(const LineChoice& choice) {
    if (!HaveRule() || gCurrentLine >= kMaxDescLines || !ReadsBackAsChosen(choice)) return false;
    const int16_t k = static_cast<int16_t>(gCurrentLine + 1);
    Current().Desc[k] = BuildDescriptionLine(k, choice);
    Current().DescHigh = std::max(Current().DescHigh, k);
    for (int j = 1; j <= k; ++j) Current().Desc[j] = WithConnector(Current().Desc[j], choice.connector);
    SetLineCount(k);
    return true;
}

void ClearRuleLines() {
    if (!HaveRule()) return;
    for (int j = 1; j <= kMaxDescLines; ++j) Current().Desc[j].clear();
    // Cleared lines are gone: a later Redo must not bring back an empty line.
    Current().DescHigh = 0;
    SetLineCount(0);
}

bool UndoRuleLine() {
    if (!HaveRule() || gCurrentLine < 1) return false;
    SetLineCount(static_cast<int16_t>(gCurrentLine - 1));
    return true;
}

bool CanRedoRuleLine() {
    return HaveRule() && gCurrentLine < std::min<int>(Current().DescHigh, kMaxDescLines);
}

bool RedoRuleLine() {
    if (!CanRedoRuleLine()) return false;
    const int16_t k = static_cast<int16_t>(gCurrentLine + 1);
    // All lines after the first carry one connector, even when it changed
    // after this line was undone.
    if (k >= 3) {
        const QString second = Current().Desc[2];
        Current().Desc[k] = WithConnector(Current().Desc[k], second.left(second.indexOf(u' ')));
    }
    SetLineCount(k);
    return true;
}

void SetRuleConnector(const QString& connector) {
    if (!HaveRule()) return;
    for (int j = 1; j <= gCurrentLine; ++j) Current().Desc[j] = WithConnector(Current().Desc[j], connector);
    JoinCurrentLines();
}

LineChoice ShownRuleLine(int16_t line) {
    LineChoice shown;
    if (!HaveRule() || line < 1 || line > kMaxDescLines) return shown;
    const auto parsed = ParseDescriptionLine(Current().Desc[line]);
    if (!parsed || !IsWhereWord(parsed->where)) return shown;
    shown.where = parsed->where;
    shown.condition = parsed->condition;
    shown.negated = parsed->negated;
    shown.criteria = parsed->criteria;
    shown.connector = parsed->connector;
    return shown;
}

}  // namespace modRules
