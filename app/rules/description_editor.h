#pragma once
// Building a rule's description lines from the page's choices, and the
// line edits of the current rule (gCurrentRule, gCurrentLine): add, clear,
// undo, redo and the connector of the lines after the first. Only the edit
// set changes.

#include <QString>
#include <cstdint>

namespace modRules {

// What one description line is made of, as the page's controls show it.
struct LineChoice {
    QString where = QStringLiteral("From");
    QString condition = QStringLiteral("Contains");
    bool negated = false;
    QString criteria;
    QString connector = QStringLiteral("AND");
    bool operator==(const LineChoice&) const = default;
};

// Line number line (from 1) built from choice: the connector and a space from
// the second line on, the Where, the Condition, "NOT " when negated, the
// criteria without surrounding blanks, and a final space.
QString BuildDescriptionLine(int line, const LineChoice& choice);
// line with its first word replaced by connector when it begins with "AND "
// or "OR "; any other line unchanged.
QString WithConnector(const QString& line, const QString& connector);
// Whether criteria completes a line for where: "Attachment" needs none,
// "Size" a whole number of KB, every other Where a text that is not blank.
bool CriteriaComplete(const QString& where, const QString& criteria);

// Whether the line built from choice reads back from the rules file with the
// meaning chosen. Not so a criteria whose first word is "NOT" without the
// NOT choice: the stored line would read as negated, the rest as criteria
// (files written so keep that meaning), so such a line is never built.
bool ReadsBackAsChosen(const LineChoice& choice);

// Appends line gCurrentLine + 1 to the current rule, built from choice, and
// gives every line after the first the choice's connector. False, changing
// nothing, when the rule has 10 lines already or the line would not read
// back as chosen.
bool AddRuleLine(const LineChoice& choice);
// The current rule loses all its lines and its redo history.
void ClearRuleLines();
// The last line no longer counts; it stays for RedoRuleLine. False at 0.
bool UndoRuleLine();
// The next undone line counts again, with the connector of the lines before
// it. False when there is none.
bool RedoRuleLine();
// Whether the current rule has an undone line to bring back.
bool CanRedoRuleLine();
// Gives the current rule's counted lines after the first this connector.
void SetRuleConnector(const QString& connector);
// Line number line of the current rule read back into its parts (the
// connector empty for a line without one); for line 0,
// or a line that does not follow the syntax or names no known Where, the
// defaults of LineChoice.
LineChoice ShownRuleLine(int16_t line);

}  // namespace modRules
