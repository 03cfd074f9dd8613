#include "platform/ui/msg_box.h"

#include "platform/ui/app_info.h"
#include "platform/ui/control.h"
#include "platform/ui/modal_windows.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>

namespace vb {
namespace {

ScriptedMsgBoxes* gScript = nullptr;

struct ButtonSpec {
    int answer;
    QMessageBox::StandardButton button;
};

std::vector<ButtonSpec> buttonSet(int buttons) {
    switch (buttons & 7) {
        case vbOKCancel:
            return {{vbOK, QMessageBox::Ok}, {vbCancel, QMessageBox::Cancel}};
        case vbAbortRetryIgnore:
            return {{vbAbort, QMessageBox::Abort},
                    {vbRetry, QMessageBox::Retry},
                    {vbIgnore, QMessageBox::Ignore}};
        case vbYesNoCancel:
            return {{vbYes, QMessageBox::Yes}, {vbNo, QMessageBox::No}, {vbCancel, QMessageBox::Cancel}};
        case vbYesNo:
            return {{vbYes, QMessageBox::Yes}, {vbNo, QMessageBox::No}};
        case vbRetryCancel:
            return {{vbRetry, QMessageBox::Retry}, {vbCancel, QMessageBox::Cancel}};
        default:
            return {{vbOK, QMessageBox::Ok}};
    }
}

QMessageBox::Icon iconOf(int buttons) {
    switch (buttons & 0x70) {
        case vbCritical:
            return QMessageBox::Critical;
        case vbQuestion:
            return QMessageBox::Question;
        case vbExclamation:
            return QMessageBox::Warning;
        case vbInformation:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

// A box closed unanswered gives the answer that does least.
int leastAnswer(const std::vector<ButtonSpec>& set) {
    for (const int least : {vbCancel, vbNo}) {
        if (std::any_of(set.begin(), set.end(), [least](const ButtonSpec& b) { return b.answer == least; }))
            return least;
    }
    return set.front().answer;
}

int defaultIndex(int buttons, std::size_t count) {
    const int wanted = (buttons >> 8) & 3;  // 0, 1 or 2
    return std::min<int>(wanted, static_cast<int>(count) - 1);
}

}  // namespace

std::vector<int> MsgBoxAnswers(int buttons) {
    std::vector<int> out;
    for (const ButtonSpec& b : buttonSet(buttons)) out.push_back(b.answer);
    return out;
}

int MsgBoxDefaultAnswer(int buttons) {
    const auto set = buttonSet(buttons);
    return set[static_cast<std::size_t>(defaultIndex(buttons, set.size()))].answer;
}

int MsgBox(const QString& prompt, int buttons, const QString& title) {
    if (ProgramEnding::Active()) return leastAnswer(buttonSet(buttons));
    const MsgBoxCall call{prompt, buttons, title};
    if (gScript) return gScript->Respond(call);
    RefuseUnscripted(QStringLiteral("MsgBox ") + title + QStringLiteral(": ") + prompt);
    QMessageBox box(iconOf(buttons), ToQtLines(title.isEmpty() ? App::Title() : title), ToQtLines(prompt),
                    QMessageBox::NoButton, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    const auto set = buttonSet(buttons);
    std::vector<QPushButton*> pushed;
    for (const ButtonSpec& b : set) pushed.push_back(box.addButton(b.button));
    box.setDefaultButton(pushed[static_cast<std::size_t>(defaultIndex(buttons, set.size()))]);
    const bool hasCancel =
        std::any_of(set.begin(), set.end(), [](const ButtonSpec& b) { return b.answer == vbCancel; });
    if (set.size() == 1)
        box.setEscapeButton(pushed.front());
    else if (!hasCancel)
        box.setEscapeButton(static_cast<QAbstractButton*>(nullptr));
    box.exec();
    for (std::size_t i = 0; i < set.size(); ++i) {
        if (box.clickedButton() == pushed[i]) return set[i].answer;
    }
    return leastAnswer(set);  // closed unanswered: the program is ending
}

ScriptedMsgBoxes::ScriptedMsgBoxes() : previous_(gScript) { gScript = this; }

ScriptedMsgBoxes::~ScriptedMsgBoxes() { gScript = previous_; }

int ScriptedMsgBoxes::Respond(const MsgBoxCall& call) {
    calls_.push_back(call);
    if (answers_.empty()) return MsgBoxDefaultAnswer(call.buttons);
    const int answer = answers_.front();
    answers_.pop_front();
    const auto possible = MsgBoxAnswers(call.buttons);
    if (std::find(possible.begin(), possible.end(), answer) == possible.end()) {
        mismatched_.push_back(call);
        return MsgBoxDefaultAnswer(call.buttons);
    }
    return answer;
}

}  // namespace vb
