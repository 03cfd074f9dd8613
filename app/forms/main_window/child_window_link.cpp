#include "app/forms/main_window/child_window_link.h"

#include "app/forms/checks/check_runs.h"
#include "app/forms/checks/operation_scope.h"
#include "app/forms/email/email_page.h"
#include "app/forms/rules/rules_page.h"

namespace forms {

ChildWindowLink::ChildWindowLink(OperationWindow& window, vb::TabStrip& emailTabs, EmailPage& email,
                                 RulesPage& rules, CheckRuns& checks)
    : window_(window), emailTabs_(emailTabs), email_(email), rules_(rules), checks_(checks) {}

CheckPauses& ChildWindowLink::Checks() { return checks_; }

bool ChildWindowLink::DeletionRefusedWhileBusy() { return email_.DeletionRefusedWhileBusy(); }

void ChildWindowLink::DeleteOneMessage(int16_t account, const QString& uid) {
    email_.DeleteOneMessage(account, uid);
}

bool ChildWindowLink::RunServerOperation(const std::string& doing,
                                         const std::function<void(OperationScope&)>& body) {
    return forms::RunServerOperation(window_, doing, body);
}

void ChildWindowLink::DeleteMessages(const OperationScope& operation, int16_t account,
                                     const QStringList& uids, bool spamMode) {
    email_.DeleteMessagesOnServer(operation, account, uids, spamMode, /*confirm=*/false);
}

void ChildWindowLink::RulesChanged() { rules_.CheckRulesChanged(); }

void ChildWindowLink::ShowEmailTab(int16_t account) { emailTabs_.Select(account); }

void ChildWindowLink::FollowShownMessage(int16_t account, int16_t msg) {
    email_.FollowShownMessage(account, msg);
}

}  // namespace forms
