#pragma once
#include <QString>
#include <deque>
#include <functional>
#include <vector>

class QWidget;

namespace vb {

// Button sets, icons and default buttons, added together into one style value.
enum : int {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbAbortRetryIgnore = 2,
    vbYesNoCancel = 3,
    vbYesNo = 4,
    vbRetryCancel = 5,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
    vbDefaultButton1 = 0,
    vbDefaultButton2 = 256,
    vbDefaultButton3 = 512,
};

// Answers.
enum : int { vbOK = 1, vbCancel = 2, vbAbort = 3, vbRetry = 4, vbIgnore = 5, vbYes = 6, vbNo = 7 };

// One message box as it was asked for; what a test hook sees.
struct MsgBoxCall {
    QString prompt;  // as given, CR LF line breaks kept
    int buttons = vbOKOnly;
    QString title;
};

// Shows a message box and returns the answer. The prompt and title are shown
// as plain text (never rich text, "&" literal); CR LF breaks lines. Owned by
// the active window. A box closed without an answer (see CloseModalWindows)
// gives the answer that does least: vbCancel, else vbNo, else its first
// button; so does one asked for while the program ends (ProgramEnding),
// unshown. With a test hook installed, the hook answers instead.
int MsgBox(const QString& prompt, int buttons = vbOKOnly, const QString& title = QString());

// The answers a style's buttons can give, in button order, and the one its
// default button gives.
std::vector<int> MsgBoxAnswers(int buttons);
int MsgBoxDefaultAnswer(int buttons);

// Tests: while an object lives, message boxes are answered from its queue
// (or by the default button when the queue is empty) and recorded.
class ScriptedMsgBoxes {
public:
    ScriptedMsgBoxes();
    ~ScriptedMsgBoxes();
    ScriptedMsgBoxes(const ScriptedMsgBoxes&) = delete;
    ScriptedMsgBoxes& operator=(const ScriptedMsgBoxes&) = delete;

    // Queues the next answer; it must be one the box's buttons can give.
    void Answer(int answer) { answers_.push_back(answer); }
    const std::vector<MsgBoxCall>& Calls() const { return calls_; }
    // Answers scripted but not asked for; an answer the buttons cannot give
    // is reported here too (as a failed call).
    std::size_t Unused() const { return answers_.size(); }
    const std::vector<MsgBoxCall>& Mismatched() const { return mismatched_; }

private:
    friend int MsgBox(const QString&, int, const QString&);
    int Respond(const MsgBoxCall& call);

    std::deque<int> answers_;
    std::vector<MsgBoxCall> calls_;
    std::vector<MsgBoxCall> mismatched_;
    ScriptedMsgBoxes* previous_ = nullptr;
};

}  // namespace vb
