#pragma once
// What the child windows (first use, the new-mail pop-up, the preview, the
// rule report, the rules file's name) ask of the main window. The page that
// opens a child window gives it the link; a child window shown alone has
// none and leaves the main window alone. The link goes with the main window,
// which a child window holding it sees.
#include <QObject>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <string>

namespace forms {

class CheckPauses;
class OperationScope;

class MainWindowLink : public QObject {
public:
    // The checks' pauses, which a child window holds while it is loaded.
    virtual CheckPauses& Checks() = 0;

    // ---- delete these messages ----
    // While a server operation runs a deletion cannot start: true, after
    // telling the user so.
    virtual bool DeletionRefusedWhileBusy() = 0;
    // Exactly the message with this UID, as a server operation of its own.
    virtual void DeleteOneMessage(int16_t account, const QString& uid) = 0;
    // body as one server operation of the main window, named doing in the
    // report of a failure; false, with nothing done, while another one runs.
    virtual bool RunServerOperation(const std::string& doing,
                                    const std::function<void(OperationScope&)>& body) = 0;
    // The account's messages with these UIDs, inside that operation, without
    // a question.
    virtual void DeleteMessages(const OperationScope& operation, int16_t account, const QStringList& uids,
                                bool spamMode) = 0;

    // ---- the rules changed ----
    // The rules file was written: the Rules page has no edits left to save.
    virtual void RulesChanged() = 0;

    // ---- show this Email tab ----
    // The Email page shows account's list, as after the user's click on its tab.
    virtual void ShowEmailTab(int16_t account) = 0;
    // The list's highlight follows the message a child window shows.
    virtual void FollowShownMessage(int16_t account, int16_t msg) = 0;
};

}  // namespace forms
