#include "app/rules/rule_report.h"

#include <algorithm>

#include "app/accounts/account_table.h"
#include "app/general/message_store.h"
#include "app/rules/rule_set.h"

namespace modRules {

namespace {

int16_t MarkCount(int16_t account, RuleMark mark) {
    return mark == RuleMark::Delete ? modAccounts::gAccounts[account].DeleteCount
                                    : modAccounts::gAccounts[account].SpamCount;
}

}  // namespace

ReportedAccounts gRuleReportAccounts;

ReportedAccounts RuleReportAccounts(const std::vector<int16_t>& checked) {
    using namespace modAccounts;
    ReportedAccounts accounts;
    for (const int16_t i : checked)
        if (i >= 1 && i <= gAccountCount && gAccounts[i].Enabled == 1)
            accounts.push_back({gAccounts[i].Id, gAccounts[i].Name});
    return accounts;
}

int16_t ReportedAccountIndex(const ReportedAccount& account) {
    using namespace modAccounts;
    for (int i = 1; i <= gAccountCount; ++i)
        if (gAccounts[i].Id == account.id) return i;
    return 0;
}

bool RuleReportWanted(const ReportedAccounts& accounts) {
    using namespace modAccounts;
    if (gRules.Show != 1 || (gRules.ShowNew != 0 && gRules.ShowNew != 1)) return false;
    for (const ReportedAccount& account : accounts) {
        const int16_t i = ReportedAccountIndex(account);
        if (i == 0 || gAccounts[i].Enabled != 1 ||
            (gAccounts[i].DeleteCount <= 0 && gAccounts[i].SpamCount <= 0))
            continue;
        // Any marked account with new mail opens it, not only the first one.
        if (gRules.ShowNew == 0 || gAccounts[i].HasNewMail) return true;
    }
    return false;
}

RuleReportList BuildRuleReportList(RuleMark mark, const ReportedAccounts& accounts) {
    RuleReportList list;
    for (const ReportedAccount& account : accounts) {
        const int16_t i = ReportedAccountIndex(account);
        if (i == 0) continue;
        const int16_t count = MarkCount(i, mark);
        if (count <= 0) continue;
        ++list.accounts;
        list.listed.push_back(account.id);
        // The last line a list label shows says that more accounts follow.
        if (list.accounts > kRuleReportMaxLines) continue;
        list.text += modAccounts::gAccounts[i].Name + QStringLiteral(" has ") + QString::number(count) +
                     (count == 1 ? QStringLiteral(" message") : QStringLiteral(" messages")) +
                     QStringLiteral("\r\n");
    }
    if (list.accounts == 0) {
        list.text = mark == RuleMark::Delete ? QStringLiteral("No Messages to Delete")
                                             : QStringLiteral("No Spam Messages to Delete");
        list.lines = 1;
    } else if (list.accounts > kRuleReportMaxLines) {
        list.text += QStringLiteral("more Accounts...");
        list.lines = kRuleReportMaxLines + 1;
    } else {
        list.lines = list.accounts;
    }
    return list;
}

int RuleReportListLines(const RuleReportList& deletions, const RuleReportList& spam) {
    return std::max(deletions.lines, spam.lines);
}

QStringList MarkedMessageUids(int16_t account, RuleMark mark, int* withoutUid) {
    QStringList uids;
    int unnamed = 0;
    for (int j = 1; j <= modAccounts::gAccounts[account].MsgCount; ++j) {
        const modGeneral::StoredMessage& m = modGeneral::Msg(account, j);
        if (!(mark == RuleMark::Delete ? m.Delete : m.Spam)) continue;
        if (m.Uid.isEmpty())
            ++unnamed;
        else
            uids.append(m.Uid);
    }
    if (withoutUid) *withoutUid = unnamed;
    return uids;
}

QString LeftOnServerLine(LeftOnServer why, const QString& account, int count) {
    const QString messages = QString::number(count) + (count == 1 ? QStringLiteral(" marked message")
                                                                  : QStringLiteral(" marked messages"));
    const QString named = QStringLiteral("'") + account + QStringLiteral("'");
    switch (why) {
        case LeftOnServer::AccountGone:
            return named + QStringLiteral(
                               " is no longer one of your accounts: its marked messages stay on its server.");
        case LeftOnServer::SwitchedOff:
            return named + QStringLiteral(" is switched off: its ") + messages +
                   (count == 1 ? QStringLiteral(" stays") : QStringLiteral(" stay")) +
                   QStringLiteral(" on its server.");
        case LeftOnServer::NoIdentifier:
            return named + QStringLiteral(": its server gives ") + messages +
                   QStringLiteral(" no identifier, so ") +
                   (count == 1 ? QStringLiteral("it cannot") : QStringLiteral("they cannot")) +
                   QStringLiteral(" be deleted.");
    }
    return {};
}

QString LeftOnServerPrompt(const QStringList& lines) {
    const QString crlf = QStringLiteral("\r\n");
    return QStringLiteral("Delete Now left these messages on the server:") + crlf + crlf + lines.join(crlf) +
           crlf;
}

bool RuleReportCountdown::Tick() {
    if (ticks_ >= std::max(seconds_, 0)) return false;
    ++ticks_;
    --left_;
    return true;
}

}  // namespace modRules
