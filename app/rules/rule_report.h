#pragma once
// What the rule report shows after a check: whether it opens, the accounts
// with messages the rules marked for deletion or as spam, the countdown that
// closes it, and the marked messages that its Delete Now removes.

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace modRules {

// An account a report covers: the account record's Id, which follows it
// through a rename and a move, and its name when the report opened.
struct ReportedAccount {
    uint64_t id = 0;
    QString name;
};
using ReportedAccounts = std::vector<ReportedAccount>;

// The accounts a report covers: of those the check run checked, the enabled
// ones. Marks and new-mail flags of the others are from an older check, and a
// disabled account is never connected to.
ReportedAccounts RuleReportAccounts(const std::vector<int16_t>& checked);
// Where the account stands now; 0 when it has been deleted.
int16_t ReportedAccountIndex(const ReportedAccount& account);

// The accounts of the run that opened the report (RuleReportAccounts); the
// window lists and deletes for these only.
extern ReportedAccounts gRuleReportAccounts;

// After a check run: true when the live set asks for the report ("Show" 1)
// and one of the accounts has messages marked by the rules; with "ShowNew" 1
// one of those accounts must also have received new mail in the run, and any
// other "ShowNew" than 0 or 1 never opens it.
bool RuleReportWanted(const ReportedAccounts& accounts);

// Which marks a list or a deletion is about.
enum class RuleMark { Delete, Spam };

// One tab's list: a line "<account> has <n> message(s)" for each of the
// accounts with marks (by their names now, switched off or not), at most kRuleReportMaxLines of them and then
// "more Accounts..."; "No Messages to Delete" or "No Spam Messages to Delete" when none has any.
struct RuleReportList {
    QString text;
    int16_t accounts = 0;          // accounts with marks
    int lines = 0;                 // lines the text shows
    std::vector<uint64_t> listed;  // the Ids of the accounts with marks
};
inline constexpr int kRuleReportMaxLines = 16;
RuleReportList BuildRuleReportList(RuleMark mark, const ReportedAccounts& accounts);

// The report's two list labels are as high as the longer list.
int RuleReportListLines(const RuleReportList& deletions, const RuleReportList& spam);

// The UIDs of the account's messages that carry the mark, in list order;
// messages without a UID are never chosen, only counted in withoutUid.
QStringList MarkedMessageUids(int16_t account, RuleMark mark, int* withoutUid = nullptr);

// Why Delete Now left an account's marked messages on its server, and the
// line that tells the user so: the account was deleted, is switched off
// (count marked messages), or count of its marked messages have no UID.
enum class LeftOnServer { AccountGone, SwitchedOff, NoIdentifier };
QString LeftOnServerLine(LeftOnServer why, const QString& account, int count);
// The box that tells them all, one line each.
QString LeftOnServerPrompt(const QStringList& lines);

// The report's countdown from "Time" seconds: each tick shows one second
// less, the tick after 0 closes the window. A negative Time closes it at
// the first tick.
class RuleReportCountdown {
public:
    explicit RuleReportCountdown(int16_t seconds) : seconds_(seconds), left_(seconds < 0 ? 0 : seconds) {}
    // False when the window is to close now.
    bool Tick();
    [[nodiscard]] int SecondsLeft() const { return left_; }

private:
    int seconds_;
    int ticks_ = 0;
    int left_;
};

}  // namespace modRules
