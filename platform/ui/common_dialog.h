#pragma once
// The common dialogs for opening and saving a file and choosing a colour,
// driven by properties (Filter, FileName, InitDir, Flags, Color). A filter is
// written "description|pattern|description|pattern|". Tests script the
// answers; off screen an unscripted dialog stops the program rather than wait.
#include <QString>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "platform/ui/ole_color.h"

class QWidget;

namespace vb {

enum : long {
    cdlOFNReadOnly = 0x1,
    cdlOFNOverwritePrompt = 0x2,
    cdlOFNHideReadOnly = 0x4,
    cdlOFNPathMustExist = 0x800,
    cdlOFNFileMustExist = 0x1000,
    cdlOFNLongNames = 0x200000,
    cdlCCRGBInit = 0x1,
    cdlCCFullOpen = 0x2,
};
constexpr int cdlCancel = 32755;

class CommonDialog {
public:
    QString FileName;
    QString InitDir;
    QString Filter;
    int FilterIndex = 1;
    long Flags = 0;
    OleColor Color = 0;
    QString DialogTitle;
    bool CancelError = false;  // a cancel raises cdlCancel instead of returning false

    // Each returns true when the user chose; on a cancel FileName and Color
    // keep their values. While the program ends (ProgramEnding) each is
    // cancelled unshown.
    bool ShowOpen(QWidget* owner = nullptr) { return ShowFile(owner, false); }
    bool ShowSave(QWidget* owner = nullptr) { return ShowFile(owner, true); }
    bool ShowColor(QWidget* owner = nullptr);

    // "(*.exe)|*.exe|" -> "(*.exe)"; the pattern is added where the
    // description does not already end with it.
    static QString QtFilter(const QString& vbFilter);

private:
    bool ShowFile(QWidget* owner, bool save);
};

// What a scripted dialog was asked.
struct DialogCall {
    enum Kind { Open, Save, Color } kind;
    QString initDir;
    QString filter;
    QString fileName;
    OleColor color;
};

class ScriptedDialogs {
public:
    ScriptedDialogs();
    ~ScriptedDialogs();
    ScriptedDialogs(const ScriptedDialogs&) = delete;
    ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;

    void ChooseFile(const QString& path) { answers_.push_back(Answer{path, 0, false}); }
    void ChooseColor(OleColor c) { answers_.push_back(Answer{QString(), c, false}); }
    void Cancel() { answers_.push_back(Answer{QString(), 0, true}); }
    const std::vector<DialogCall>& Calls() const { return calls_; }
    // Runs as each dialog is shown, before it is answered: what the program
    // does while its user chooses; it may throw, as a dialog that fails.
    std::function<void(const DialogCall&)> WhileShown;

    struct Answer {
        QString path;
        OleColor color;
        bool cancel;
    };
    // Unscripted calls are cancelled.
    Answer Respond(const DialogCall& call);

private:
    std::deque<Answer> answers_;
    std::vector<DialogCall> calls_;
    ScriptedDialogs* previous_ = nullptr;
};

}  // namespace vb
