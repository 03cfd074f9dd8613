#pragma once
// Changing which rules file the program uses: importing the rules of another
// file and giving the rules file a new name. The file always lies in the
// user's data folder and its name begins with "Rules". An existing file of
// the new name is replaced only when the user agrees, and the rules are
// never lost when the file cannot be written.

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

namespace modRules {

// The name rule: up to 5 "Rules", then up to 4 "Rule" removed (one pass from
// the left each, case-sensitive) and "Rules" put in front; with appendIni
// ".ini" is added unless the name already ends in exactly ".ini".
QString RulesFileNameFrom(const QString& given, bool appendIni);

enum class RulesFileStatus {
    Done,
    Cancelled,    // no file was chosen
    NotRules,     // the chosen file holds no rules, or not all it counts (or cannot be read)
    NotAName,     // the name holds a folder separator or a control character
    Kept,         // a file has the name already and the user keeps it
    WriteFailed,  // the new file or the stored name could not be written
};

struct RulesFileOutcome {
    RulesFileStatus status = RulesFileStatus::Done;
    QString name;         // the new rules file's name
    QString detail;       // the system's reason for a failed write
    int16_t rebound = 0;  // imported rules of unknown accounts, now "All Accounts"
};

// Asked when a file other than the rules file has the new name: true to
// replace it with the rules (given the name).
using ReplaceQuestion = std::function<bool(const QString& name)>;

// Reads the rules of the file at path into the live set, binds the rules of
// accounts that are not among accountNames to "All Accounts", and writes them
// as the program's rules file under the name rule's name of the chosen file
// (its own extension kept). On success gRulesFileName and "RulesIniFileName"
// hold the new name and the edit set is to be reset from the live set; on
// any other outcome both sets, the name and the files are as they were.
RulesFileOutcome ImportRulesFile(const QString& path, const QStringList& accountNames,
                                 const ReplaceQuestion& replace);

// Writes the edit set (pending Rules page edits included, which become the
// live set) under the name rule's name of given and makes it the rules file.
// The file under the old name stays. On any outcome but Done both sets, the
// name and the files are as they were.
RulesFileOutcome SaveRulesFileAs(const QString& given, const ReplaceQuestion& replace);

// The message a user sees for an outcome: title (after the program's name)
// and text. Cancelled and Kept have none.
struct RulesFileMessage {
    QString title;
    QString text;
};
RulesFileMessage ImportMessage(const RulesFileOutcome& outcome);
RulesFileMessage RenameMessage(const RulesFileOutcome& outcome);
// The question before an existing file is replaced with the rules (the
// imported ones with import).
RulesFileMessage ReplaceQuestionText(const QString& name, bool import);

}  // namespace modRules
