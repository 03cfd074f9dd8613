#include "app/rules/rule_engine.h"

#include <QStringList>
#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <vector>

#include "app/accounts/account_table.h"
#include "app/common/stored_number.h"
#include "app/general/message_store.h"
#include "app/rules/rule_description.h"
#include "app/rules/rule_set.h"
#include "app/rules/text_finder.h"

namespace modRules {
namespace {

enum class TextField { From, To, Subject, Body };

// The message under test. The upper-case copies of its texts are made once
// per message, when a rule first needs them, not once per line.
class MessageUnderTest {
public:
    explicit MessageUnderTest(const modGeneral::StoredMessage& message) : message_(message) {}

    const QString& Text(TextField field) const {
        switch (field) {
            case TextField::From:
                return message_.From;
            case TextField::To:
                return message_.To;
            case TextField::Subject:
                return message_.Subject;
            case TextField::Body:
                break;
        }
        // The plain text is made into text once, when a rule first reads it.
        if (!plainText_) plainText_ = modGeneral::PlainTextOf(message_);
        return *plainText_;
    }
    const QString& Upper(TextField field) const {
        auto& cached = upper_[static_cast<size_t>(field)];
        if (!cached) cached = UpperCased(Text(field));
        return *cached;
    }
    bool HasAttachment() const { return message_.Attach; }
    // The size in KB.
    int64_t Size() const { return message_.Size; }

private:
    const modGeneral::StoredMessage& message_;
    mutable std::array<std::optional<QString>, 4> upper_;
    mutable std::optional<QString> plainText_;
};

// A description line with everything that does not depend on the message
// worked out once: the field, the wildcard split, the upper-case criteria.
struct CompiledLine {
    enum class Kind { Text, Attachment, Size } kind = Kind::Text;
    TextField field = TextField::From;
    bool negated = false;
    enum class Condition { Unknown, Contains, Equals, GreaterThan, LessThan } condition = Condition::Unknown;
    QChar wildcard;  // '?', '*' or none
    QString criteria;
    qsizetype wildAt = -1;
    TextFinder whole, left, right;  // upper-case criteria, and its parts around the wildcard
    int64_t limit = 0;
    int cost = 0;  // cheap tests first: the result does not depend on the order
};

// A rule's description ready for testing, valid while its lines stay the same.
struct CompiledRule {
    QStringList source;
    bool neverMatches = false;  // no lines, too many, a syntax error, an unknown Where or a bad size
    enum class Connector { None, And, Or } connector = Connector::None;
    std::vector<CompiledLine> lines;
};

CompiledLine CompileText(TextField field, const DescriptionLine& d) {
    CompiledLine c;
    c.field = field;
    c.negated = d.negated;
    if (d.condition == u"Contains") c.condition = CompiledLine::Condition::Contains;
    if (d.condition == u"Equals") c.condition = CompiledLine::Condition::Equals;
    c.criteria = d.criteria;
    c.wildAt = d.criteria.indexOf(u'?');
    if (c.wildAt < 0) c.wildAt = d.criteria.indexOf(u'*');
    const QString upper = d.criteria.toUpper();
    c.whole = TextFinder(upper);
    if (c.wildAt >= 0) {
        c.wildcard = d.criteria[c.wildAt];
        // Upper-casing never moves the wildcard: "?" and "*" have no case.
        const qsizetype at = upper.indexOf(c.wildcard);
        c.left = TextFinder(upper.left(at));
        c.right = TextFinder(upper.mid(at + 1));
    }
    c.cost = field == TextField::Body ? 3 : 2;
    return c;
}

std::optional<CompiledLine> CompileLine(const DescriptionLine& d) {
    if (d.where == u"From") return CompileText(TextField::From, d);
    if (d.where == u"To") return CompileText(TextField::To, d);
    if (d.where == u"Subject") return CompileText(TextField::Subject, d);
    if (d.where == u"Body") return CompileText(TextField::Body, d);
    CompiledLine c;
    c.negated = d.negated;
    if (d.where == u"Attachment") {
        c.kind = CompiledLine::Kind::Attachment;
        return c;
    }
    if (d.where != u"Size") return std::nullopt;
    const auto limit = ParseStoredNumber(d.criteria);
    if (!limit) return std::nullopt;
    c.kind = CompiledLine::Kind::Size;
    c.limit = *limit;
    if (d.condition == u"Equals") c.condition = CompiledLine::Condition::Equals;
    if (d.condition == u"GreaterThan") c.condition = CompiledLine::Condition::GreaterThan;
    if (d.condition == u"LessThan") c.condition = CompiledLine::Condition::LessThan;
    c.cost = 1;
    return c;
}

CompiledRule Compile(const QStringList& source) {
    CompiledRule rule;
    rule.source = source;
    for (const QString& text : source) {
        const auto parsed = ParseDescriptionLine(text);
        auto line = parsed ? CompileLine(*parsed) : std::nullopt;
        if (!line) {
            rule.neverMatches = true;
            return rule;
        }
        // The last line's connector rules.
        rule.connector = parsed->connector == u"AND"  ? CompiledRule::Connector::And
                         : parsed->connector == u"OR" ? CompiledRule::Connector::Or
                                                      : CompiledRule::Connector::None;
        rule.lines.push_back(std::move(*line));
    }
    std::stable_sort(rule.lines.begin(), rule.lines.end(),
                     [](const CompiledLine& a, const CompiledLine& b) { return a.cost < b.cost; });
    return rule;
}

const CompiledRule& CompiledRuleFor(int rule) {
    const Rule& live = gRules[rule];
    const int count = live.DescCount;
    if (count < 1 || count > kMaxDescLines) {
        static const CompiledRule never = [] {
            CompiledRule r;
            r.neverMatches = true;
            return r;
        }();
        return never;
    }
    static std::vector<CompiledRule> cache;
    if (cache.size() <= static_cast<size_t>(rule)) cache.resize(static_cast<size_t>(rule) + 1);
    CompiledRule& cached = cache[static_cast<size_t>(rule)];
    bool same = cached.source.size() == count;
    for (int j = 1; same && j <= count; ++j) {
        const QString& line = live.Desc[j];
        same = cached.source[j - 1].isSharedWith(line) || cached.source[j - 1] == line;
    }
    if (!same) {
        QStringList source;
        for (int j = 1; j <= count; ++j) source.append(live.Desc[j]);
        cached = Compile(source);
    }
    return cached;
}

// Exact equality of the code units, inline: the engine compares texts for
// every rule and message, and most comparisons fail on the length alone.
bool Same(QStringView a, QStringView b) {
    return a.size() == b.size() &&
           std::memcmp(a.utf16(), b.utf16(), static_cast<size_t>(a.size()) * sizeof(char16_t)) == 0;
}

// An empty text is found in any non-empty field, and in no empty one.
bool Occurs(QStringView field, const TextFinder& text) {
    return text.Text().isEmpty() ? !field.isEmpty() : text.IndexIn(field) >= 0;
}

// left, then any one character, then right, somewhere in the field.
bool OccursAroundOneCharacter(QStringView field, const TextFinder& left, const TextFinder& right) {
    const qsizetype leftSize = left.Text().size(), rightSize = right.Text().size();
    const qsizetype span = leftSize + 1 + rightSize;
    for (qsizetype p = left.IndexIn(field); p >= 0 && p + span <= field.size();
         p = left.IndexIn(field, p + 1))
        if (Same(field.mid(p + leftSize + 1, rightSize), right.Text())) return true;
    return false;
}

bool TextMatches(const MessageUnderTest& msg, const CompiledLine& c) {
    if (c.condition == CompiledLine::Condition::Contains) {
        const QStringView hay = msg.Upper(c.field);
        if (c.wildAt < 0) return Occurs(hay, c.whole);
        if (c.wildcard == u'?') return OccursAroundOneCharacter(hay, c.left, c.right);
        return Occurs(hay, c.left) && Occurs(hay, c.right);
    }
    const QString& text = msg.Text(c.field);
    if (c.wildAt < 0) return Same(text, c.criteria);
    const QStringView left = QStringView(c.criteria).left(c.wildAt),
                      right = QStringView(c.criteria).mid(c.wildAt + 1);
    const qsizetype least = left.size() + right.size();
    const bool lengthFits = c.wildcard == u'?' ? text.size() == least + 1 : text.size() >= least;
    return lengthFits && Same(QStringView(text).left(left.size()), left) &&
           Same(QStringView(text).right(right.size()), right);
}

bool SizeMatches(int64_t size, const CompiledLine& c) {
    switch (c.condition) {
        case CompiledLine::Condition::Equals:
            return size == c.limit;
        case CompiledLine::Condition::GreaterThan:
            return size > c.limit;
        case CompiledLine::Condition::LessThan:
            return size < c.limit;
        case CompiledLine::Condition::Contains:
        case CompiledLine::Condition::Unknown:
            break;
    }
    return false;
}

// A negated line matches exactly when the plain one does not (so NOT
// GreaterThan means "at most"); a condition the Where lacks never matches.
bool LineMatches(const MessageUnderTest& msg, const CompiledLine& c, int64_t size) {
    switch (c.kind) {
        case CompiledLine::Kind::Attachment:
            return msg.HasAttachment() != c.negated;
        case CompiledLine::Kind::Text:
            return c.condition != CompiledLine::Condition::Unknown && TextMatches(msg, c) != c.negated;
        case CompiledLine::Kind::Size:
            return c.condition != CompiledLine::Condition::Unknown && SizeMatches(size, c) != c.negated;
    }
    return false;
}

// One line decides alone; otherwise "OR" needs one matching line, "AND" all
// of them, and lines without a connector never match.
bool Matches(int rule, const MessageUnderTest& msg) {
    const CompiledRule& r = CompiledRuleFor(rule);
    if (r.neverMatches) return false;
    const int64_t size = msg.Size();
    if (r.lines.size() == 1) return LineMatches(msg, r.lines.front(), size);
    if (r.connector == CompiledRule::Connector::Or)
        return std::any_of(r.lines.begin(), r.lines.end(),
                           [&](const auto& l) { return LineMatches(msg, l, size); });
    if (r.connector == CompiledRule::Connector::And)
        return std::all_of(r.lines.begin(), r.lines.end(),
                           [&](const auto& l) { return LineMatches(msg, l, size); });
    return false;
}

}  // namespace

bool RuleMatchesMessage(int16_t rule, int16_t account, int16_t message) {
    return Matches(rule, MessageUnderTest(modGeneral::Msg(account, message)));
}

void ApplyRulesToMessage(int16_t account, int16_t message) {
    modGeneral::StoredMessage& stored = modGeneral::Msg(account, message);
    stored.Delete = false;
    stored.Spam = false;
    const int count = gRules.Count;
    if (count == 0) return;
    static const QString kAllAccounts = QStringLiteral("All Accounts");
    const QString& accountName = modAccounts::gAccounts[account].Name;
    const MessageUnderTest msg(stored);
    for (int i = 1; i <= count; ++i) {
        const Rule& rule = gRules[i];
        if (!Same(rule.Account, accountName) && !Same(rule.Account, kAllAccounts)) continue;
        if (rule.Enabled != 1) continue;
        if (!Matches(i, msg)) continue;
        if (rule.Action == 1) {
            stored.Delete = true;
            ++modAccounts::gAccounts[account].DeleteCount;
            return;
        }
        if (rule.Action == 2) {
            stored.Spam = true;
            ++modAccounts::gAccounts[account].SpamCount;
            return;
        }
    }
}

}  // namespace modRules
