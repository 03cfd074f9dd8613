#include "app/rules/rule_engine.h"

#include <array>
#include <optional>

#include "app/accounts/account_table.h"
#include "app/accounts/stored_number.h"
#include "app/check/message_store.h"
#include "app/rules/rule_description.h"
#include "app/rules/rule_set.h"

namespace modRules {
namespace {

enum class TextField { From, To, Subject, Body };

// The message under test. The upper-case copies of its texts are made once
// per message, when a rule first needs them, not once per line.
class StoredMessage {
public:
    StoredMessage(int16_t account, int16_t message) : account_(account), message_(message) {}

    const QString& Text(TextField field) const {
        using namespace modGeneral;
        switch (field) {
            case TextField::From: return gMsgFrom(account_, message_);
            case TextField::To: return gMsgTo(account_, message_);
            case TextField::Subject: return gMsgSubject(account_, message_);
            case TextField::Body: return gMsgPlainText(account_, message_);
        }
        return gMsgBody(account_, message_);  // not reached: every field is listed
    }
    const QString& Upper(TextField field) const {
        auto& cached = upper_[static_cast<size_t>(field)];
        if (!cached) cached = Text(field).toUpper();
        return *cached;
    }
    bool HasAttachment() const { return modGeneral::gMsgAttach(account_, message_); }
    const QString& SizeText() const { return modGeneral::gMsgSize(account_, message_); }

private:
    int16_t account_, message_;
    mutable std::array<std::optional<QString>, 4> upper_;
};

enum class LineResult { NoMatch, Match, RuleFails };

LineResult Result(bool matched, bool negated) {
    return matched != negated ? LineResult::Match : LineResult::NoMatch;
}

// An empty text is found in any non-empty field, and in no empty one.
bool Occurs(QStringView field, QStringView text) {
    return text.isEmpty() ? !field.isEmpty() : field.contains(text);
}

// left, then any one character, then right, somewhere in the field.
bool OccursAroundOneCharacter(QStringView field, QStringView left, QStringView right) {
    const qsizetype span = left.size() + 1 + right.size();
    for (qsizetype p = field.indexOf(left); p >= 0 && p + span <= field.size(); p = field.indexOf(left, p + 1))
        if (field.mid(p + left.size() + 1, right.size()) == right) return true;
    return false;
}

LineResult TestText(const StoredMessage& msg, TextField field, const DescriptionLine& line) {
    const bool contains = line.condition == u"Contains";
    if (!contains && line.condition != u"Equals") return LineResult::NoMatch;
    const QString& criteria = line.criteria;
    qsizetype wild = criteria.indexOf(u'?');
    const bool question = wild >= 0;
    if (!question) wild = criteria.indexOf(u'*');
    if (contains) {
        const QString upper = criteria.toUpper();
        const QStringView hay = msg.Upper(field);
        if (wild < 0) return Result(Occurs(hay, upper), line.negated);
        const QStringView left = QStringView(upper).left(wild), right = QStringView(upper).mid(wild + 1);
        if (question) return Result(OccursAroundOneCharacter(hay, left, right), line.negated);
        return Result(Occurs(hay, left) && Occurs(hay, right), line.negated);
    }
    const QString& text = msg.Text(field);
    if (wild < 0) return Result(text == criteria, line.negated);
    const QStringView left = QStringView(criteria).left(wild), right = QStringView(criteria).mid(wild + 1);
    const qsizetype least = left.size() + right.size();
    const bool lengthFits = question ? text.size() == least + 1 : text.size() >= least;
    return Result(lengthFits && text.startsWith(left) && text.endsWith(right), line.negated);
}

LineResult TestSize(const StoredMessage& msg, const DescriptionLine& line) {
    const auto limit = ParseStoredNumber(line.criteria);
    if (!limit) return LineResult::RuleFails;
    const auto size = ParseStoredNumber(msg.SizeText());
    if (!size) return LineResult::RuleFails;
    const int64_t s = *size, n = *limit;
    if (line.condition == u"Equals") return Result(s == n, line.negated);
    // A negated comparison is its plain complement: NOT GreaterThan is "at most".
    if (line.condition == u"GreaterThan") return Result(s > n, line.negated);
    if (line.condition == u"LessThan") return Result(s < n, line.negated);
    return LineResult::NoMatch;
}

LineResult TestLine(const StoredMessage& msg, const DescriptionLine& line) {
    if (line.where == u"From") return TestText(msg, TextField::From, line);
    if (line.where == u"To") return TestText(msg, TextField::To, line);
    if (line.where == u"Subject") return TestText(msg, TextField::Subject, line);
    if (line.where == u"Body") return TestText(msg, TextField::Body, line);
    if (line.where == u"Attachment") return Result(msg.HasAttachment(), line.negated);
    if (line.where == u"Size") return TestSize(msg, line);
    return LineResult::RuleFails;
}

bool Matches(int rule, const StoredMessage& msg) {
    const int count = gRuleDescCount[rule];
    if (count < 1 || count > kMaxDescLines) return false;
    std::array<DescriptionLine, kMaxDescLines + 1> lines;
    for (int j = 1; j <= count; ++j) {
        auto parsed = ParseDescriptionLine(gRuleDesc(rule, j));
        if (!parsed) return false;
        lines[j] = std::move(*parsed);
    }
    const QString& connector = lines[count].connector;  // the last line's connector rules
    std::array<bool, kMaxDescLines + 1> matched{};
    for (int j = 1; j <= count; ++j) {
        const LineResult r = TestLine(msg, lines[j]);
        if (r == LineResult::RuleFails) return false;
        matched[j] = r == LineResult::Match;
        if (matched[j] && count == 1) return true;
    }
    int matchedCount = 0;
    for (int j = 1; j <= count; ++j) {
        if (connector == u"OR" && matched[j]) return true;
        if (connector == u"AND" && matched[j]) ++matchedCount;
    }
    return connector == u"AND" && matchedCount == count;
}

}  // namespace

bool RuleMatchesMessage(int16_t rule, int16_t account, int16_t message) {
    return Matches(rule, StoredMessage(account, message));
}

void ApplyRulesToMessage(int16_t account, int16_t message) {
    using namespace modGeneral;
    gMsgDelete(account, message) = false;
    gMsgSpam(account, message) = false;
    const int count = gRuleCount;
    if (count == 0) return;
    const QString& accountName = modAccounts::gAcntName[account];
    const StoredMessage msg(account, message);
    for (int i = 1; i <= count; ++i) {
        if (gRuleAccount[i] != accountName && gRuleAccount[i] != u"All Accounts") continue;
        if (gRuleEnabled[i] != 1) continue;
        if (!Matches(i, msg)) continue;
        if (gRuleAction[i] == 1) {
            gMsgDelete(account, message) = true;
            ++modAccounts::gAcntDeleteCount[account];
            return;
        }
        if (gRuleAction[i] == 2) {
            gMsgSpam(account, message) = true;
            ++modAccounts::gAcntSpamCount[account];
            return;
        }
    }
}

}  // namespace modRules
