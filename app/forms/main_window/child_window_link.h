#pragma once
// The main window's side of the link its child windows hold: each request
// goes to the page that does the work.
#include "app/forms/main_window/main_window_link.h"
#include "platform/ui/tab_strip.h"

class CheckRuns;
class EmailPage;
class RulesPage;

namespace forms {

class OperationWindow;

class ChildWindowLink final : public MainWindowLink {
public:
    // Binds the parts of the main window; none is reached before the window
    // is loaded.
    ChildWindowLink(OperationWindow& window, vb::TabStrip& emailTabs, EmailPage& email, RulesPage& rules,
                    CheckRuns& checks);

    CheckPauses& Checks() override;
    bool DeletionRefusedWhileBusy() override;
    void DeleteOneMessage(int16_t account, const QString& uid) override;
    bool RunServerOperation(const std::string& doing,
                            const std::function<void(OperationScope&)>& body) override;
    void DeleteMessages(const OperationScope& operation, int16_t account, const QStringList& uids,
                        bool spamMode) override;
    void RulesChanged() override;
    void ShowEmailTab(int16_t account) override;
    void FollowShownMessage(int16_t account, int16_t msg) override;

private:
    OperationWindow& window_;
    vb::TabStrip& emailTabs_;
    EmailPage& email_;
    RulesPage& rules_;
    CheckRuns& checks_;
};

}  // namespace forms
