#include "app/rules/rule_engine.h"

#include "app/rules/rule_description.h"
#include "tests/app/rules/rules_fixture.h"

using namespace modRules;

namespace {

// --- text fields: every row runs for From, To, Subject and Body, plain and negated

struct TextCase {
    const char* name;
    QString field;
    const char* condition;
    QString criteria;
    bool matches;         // not negated
    bool negatedMatches;  // with NOT
};

void PrintTo(const TextCase& c, std::ostream* os) { *os << c.name; }

TextCase Row(const char* name, const char* field, const char* condition, const char* criteria, bool matches) {
    return {name, QString::fromUtf8(field), condition, QString::fromUtf8(criteria), matches, !matches};
}

class TextMatching : public RulesTest, public testing::WithParamInterface<TextCase> {};

TEST_P(TextMatching, EveryTextWhereAndNegation) {
    const TextCase& c = GetParam();
    for (const char* where : {"From", "To", "Subject", "Body"}) {
        for (const bool negated : {false, true}) {
            TestMessage m{"zzz", "zzz", "zzz", "zzz", 1, false};
            QString* field = QString(where) == "From"      ? &m.from
                             : QString(where) == "To"      ? &m.to
                             : QString(where) == "Subject" ? &m.subject
                                                           : &m.body;
            *field = c.field;
            StoreMessage(1, 1, m);
            const QString line =
                QString("%1 %2 %3%4 ").arg(where, c.condition, negated ? "NOT " : "", c.criteria);
            SetLiveRules({{.lines = {line}}});
            EXPECT_EQ(RuleMatchesMessage(1, 1, 1), negated ? c.negatedMatches : c.matches)
                << "line \"" << line.toStdString() << "\" on " << where;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TextMatching,
    testing::Values(Row("ContainsIgnoresCase", "Latest news", "Contains", "NEWS", true),
                    Row("ContainsAbsent", "Latest news", "Contains", "sport", false),
                    Row("ContainsWithSpaces", "Latest news today", "Contains", "news to", true),
                    Row("ContainsEmptyCriteriaInText", "abc", "Contains", "", true),
                    Row("ContainsEmptyCriteriaInEmptyField", "", "Contains", "", false),
                    Row("ContainsNonAsciiCase", "Grüße aus Köln", "Contains", "KÖLN", true),
                    Row("EqualsIsCaseSensitive", "news", "Equals", "News", false),
                    Row("EqualsExact", "News", "Equals", "News", true),
                    Row("EqualsEmpty", "", "Equals", "", true),
                    Row("QuestionEqualsOneCharacter", "abcd", "Equals", "ab?d", true),
                    Row("QuestionEqualsAnyCharacter", "abXd", "Equals", "ab?d", true),
                    Row("QuestionEqualsNeedsACharacter", "abd", "Equals", "ab?d", false),
                    Row("QuestionEqualsTooLong", "abcde", "Equals", "ab?d", false),
                    Row("QuestionEqualsAtTheEndNeedsACharacter", "ab", "Equals", "ab?", false),
                    Row("QuestionEqualsCaseSensitive", "ABcd", "Equals", "ab?d", false),
                    Row("OnlyTheQuestionIsAWildcard", "aXb*c", "Equals", "a?b*c", true),
                    Row("LaterStarIsLiteral", "aXbYc", "Equals", "a?b*c", false),
                    Row("StarEqualsNothingBetween", "abyz", "Equals", "ab*yz", true),
                    Row("StarEqualsSomethingBetween", "ab123yz", "Equals", "ab*yz", true),
                    Row("StarEqualsWrongEnd", "ab123y", "Equals", "ab*yz", false),
                    Row("StarEqualsNoOverlap", "abc", "Equals", "ab*bc", false),
                    Row("StarEqualsCaseSensitive", "AB123yz", "Equals", "ab*yz", false),
                    Row("QuestionContainsInside", "xx abcd yy", "Contains", "ab?d", true),
                    Row("QuestionContainsIgnoresCase", "XX ABZD", "Contains", "ab?d", true),
                    Row("QuestionContainsNeedsAdjacentParts", "dab", "Contains", "ab?d", false),
                    Row("QuestionContainsLaterOccurrence", "ab ab!d", "Contains", "ab?d", true),
                    Row("QuestionContainsAtTheEnd", "xab", "Contains", "ab?", false),
                    Row("StarContainsBoth", "first ... last", "Contains", "FIRST*LAST", true),
                    Row("StarContainsEitherOrder", "last ... first", "Contains", "first*last", true),
                    Row("StarContainsOneMissing", "first only", "Contains", "first*last", false),
                    Row("StarAloneInText", "anything", "Contains", "*", true),
                    Row("StarAloneInEmptyField", "", "Contains", "*", false),
                    TextCase{"UnknownConditionNeverMatches", "abc", "Matches", "abc", false, false},
                    TextCase{"LowerCaseConditionIsUnknown", "abc", "contains", "abc", false, false}),
    [](const auto& info) { return std::string(info.param.name); });

// --- sizes

struct SizeCase {
    const char* name;
    int64_t size;
    const char* condition;
    const char* criteria;
    bool matches, negatedMatches;
};

void PrintTo(const SizeCase& c, std::ostream* os) { *os << c.name; }

class SizeMatching : public RulesTest, public testing::WithParamInterface<SizeCase> {};

TEST_P(SizeMatching, PlainAndNegated) {
    const SizeCase& c = GetParam();
    for (const bool negated : {false, true}) {
        StoreMessage(1, 1, {.size = c.size});
        SetLiveRules(
            {{.lines = {QString("Size %1 %2%3 ").arg(c.condition, negated ? "NOT " : "", c.criteria)}}});
        EXPECT_EQ(RuleMatchesMessage(1, 1, 1), negated ? c.negatedMatches : c.matches)
            << (negated ? "NOT" : "");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SizeMatching,
    testing::Values(SizeCase{"EqualsBelow", 499, "Equals", "500", false, true},
                    SizeCase{"EqualsSame", 500, "Equals", "500", true, false},
                    SizeCase{"EqualsAbove", 501, "Equals", "500", false, true},
                    SizeCase{"GreaterBelow", 499, "GreaterThan", "500", false, true},
                    SizeCase{"GreaterSameIsAtMost", 500, "GreaterThan", "500", false, true},
                    SizeCase{"GreaterAbove", 501, "GreaterThan", "500", true, false},
                    SizeCase{"LessBelow", 499, "LessThan", "500", true, false},
                    SizeCase{"LessSameIsAtLeast", 500, "LessThan", "500", false, true},
                    SizeCase{"LessAbove", 501, "LessThan", "500", false, true},
                    SizeCase{"BeyondSixteenBits", 40000, "GreaterThan", "5000", true, false},
                    SizeCase{"LargeCriteria", 40000, "LessThan", "70000", true, false},
                    SizeCase{"FractionRoundsHalfToEven", 500, "Equals", "500.5", true, false},
                    SizeCase{"CriteriaNotANumber", 500, "Equals", "abc", false, false},
                    SizeCase{"EmptyCriteria", 500, "GreaterThan", "", false, false},
                    SizeCase{"UnknownCondition", 500, "AtLeast", "500", false, false}),
    [](const auto& info) { return std::string(info.param.name); });

// --- whole rules: attachments, connectors, syntax

struct RuleCase {
    const char* name;
    QStringList lines;
    bool matches;
};

void PrintTo(const RuleCase& c, std::ostream* os) { *os << c.name; }

class RuleMatching : public RulesTest, public testing::WithParamInterface<RuleCase> {};

TEST_P(RuleMatching, AgainstTheStandardMessage) {
    StoreMessage(1, 1, TestMessage{});  // attachment present, size 500
    SetLiveRules({{.lines = GetParam().lines}});
    EXPECT_EQ(RuleMatchesMessage(1, 1, 1), GetParam().matches);
}

const QString kYes = "From Contains alice ";
const QString kNo = "From Contains carol ";

INSTANTIATE_TEST_SUITE_P(
    Rows, RuleMatching,
    testing::Values(RuleCase{"AttachmentPresent", {"Attachment IsPresent "}, true},
                    RuleCase{"AttachmentNegated", {"Attachment IsPresent NOT "}, false},
                    RuleCase{"AttachmentIgnoresCondition", {"Attachment Whatever "}, true},
                    RuleCase{"EditorLineWithTwoSpaces", {"Attachment IsPresent  "}, true},
                    RuleCase{"OrFirstMatches", {kYes, "OR " + kNo}, true},
                    RuleCase{"OrSecondMatches", {kNo, "OR " + kYes}, true},
                    RuleCase{"OrNoneMatches", {kNo, "OR " + kNo}, false},
                    RuleCase{"AndBothMatch", {kYes, "AND Subject Contains weekly "}, true},
                    RuleCase{"AndOneFails", {kYes, "AND " + kNo}, false},
                    RuleCase{
                        "AndThreeLines", {kYes, "AND Size Equals 500 ", "AND Attachment IsPresent "}, true},
                    RuleCase{"LastConnectorDecides", {kNo, "AND " + kNo, "OR " + kYes}, true},
                    RuleCase{"NoConnectorOnTwoLines", {kYes, kYes}, false},
                    RuleCase{"SingleLineWithConnector", {"AND " + kYes}, true},
                    RuleCase{"NoLines", {}, false},
                    RuleCase{"UnknownWhereFailsAnOrRule", {kYes, "OR Header Contains x "}, false},
                    RuleCase{"UnknownWhereFailsFirst", {"Sender Contains alice "}, false},
                    RuleCase{"LowerCaseWhereIsUnknown", {"from Contains alice "}, false},
                    RuleCase{"BadSizeFailsAnOrRule", {kYes, "OR Size GreaterThan many "}, false},
                    RuleCase{"LineWithoutTrailingSpace", {"From Contains alice"}, false},
                    RuleCase{"ElevenLinesNeverMatch",
                             {kYes, "OR " + kYes, "OR " + kYes, "OR " + kYes, "OR " + kYes, "OR " + kYes,
                              "OR " + kYes, "OR " + kYes, "OR " + kYes, "OR " + kYes, "OR " + kYes},
                             false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RuleDescription, ParsesEveryPart) {
    struct Case {
        QString line;
        std::optional<DescriptionLine> expected;
    };
    const std::vector<Case> cases{
        {"From Contains newsletter ", DescriptionLine{"", "From", "Contains", false, "newsletter"}},
        {"AND Subject Equals NOT Weekly report ",
         DescriptionLine{"AND", "Subject", "Equals", true, "Weekly report"}},
        {"OR Size GreaterThan 500 ", DescriptionLine{"OR", "Size", "GreaterThan", false, "500"}},
        {"Attachment IsPresent  ", DescriptionLine{"", "Attachment", "IsPresent", false, ""}},
        {"Attachment IsPresent ", DescriptionLine{"", "Attachment", "IsPresent", false, ""}},
        {"Body Contains NOT spam ", DescriptionLine{"", "Body", "Contains", true, "spam"}},
        {"Body Contains NOTICE ", DescriptionLine{"", "Body", "Contains", false, "NOTICE"}},
        {"Body Contains not spam ", DescriptionLine{"", "Body", "Contains", false, "not spam"}},
        {"and From Contains x ", DescriptionLine{"", "and", "From", false, "Contains x"}},
        {"From Contains", std::nullopt},
        {"From", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) {
        const auto parsed = ParseDescriptionLine(c.line);
        ASSERT_EQ(parsed.has_value(), c.expected.has_value()) << c.line.toStdString();
        if (parsed) {
            EXPECT_EQ(parsed->connector, c.expected->connector) << c.line.toStdString();
            EXPECT_EQ(parsed->where, c.expected->where) << c.line.toStdString();
            EXPECT_EQ(parsed->condition, c.expected->condition) << c.line.toStdString();
            EXPECT_EQ(parsed->negated, c.expected->negated) << c.line.toStdString();
            EXPECT_EQ(parsed->criteria, c.expected->criteria) << c.line.toStdString();
        }
    }
}

// --- applying the set

struct Marks {
    bool del, spam;
    int deleteCount, spamCount;
    bool operator==(const Marks&) const = default;
};

void PrintTo(const Marks& m, std::ostream* os) {
    *os << "{delete " << m.del << ", spam " << m.spam << ", counts " << m.deleteCount << "/" << m.spamCount
        << "}";
}

Marks MarksOf(int16_t account) {
    return {modGeneral::Msg(account, 1).Delete, modGeneral::Msg(account, 1).Spam,
            modAccounts::gAccounts[account].DeleteCount, modAccounts::gAccounts[account].SpamCount};
}

struct ApplyCase {
    const char* name;
    std::vector<TestRule> rules;
    Marks expected;  // for account 1, "Home"
};

void PrintTo(const ApplyCase& c, std::ostream* os) { *os << c.name; }

class ApplyRules : public RulesTest, public testing::WithParamInterface<ApplyCase> {};

TEST_P(ApplyRules, MarksAndCounts) {
    StoreMessage(1, 1, TestMessage{});
    modGeneral::Msg(1, 1).Delete = true;  // left over from an earlier check
    modGeneral::Msg(1, 1).Spam = true;
    modAccounts::gAccounts[1].DeleteCount = 0;
    modAccounts::gAccounts[1].SpamCount = 0;
    SetLiveRules(GetParam().rules);
    ApplyRulesToMessage(1, 1);
    EXPECT_EQ(MarksOf(1), GetParam().expected);
}

const QStringList kMatch = {"Subject Contains news "};
const QStringList kMiss = {"Subject Contains sport "};

INSTANTIATE_TEST_SUITE_P(
    Rows, ApplyRules,
    testing::Values(
        ApplyCase{"NoRulesClearsTheMarks", {}, {false, false, 0, 0}},
        ApplyCase{"DeleteRule", {{.action = 1, .lines = kMatch}}, {true, false, 1, 0}},
        ApplyCase{"SpamRule", {{.action = 2, .lines = kMatch}}, {false, true, 0, 1}},
        ApplyCase{"FirstMatchDecides",
                  {{.action = 2, .lines = kMatch}, {.action = 1, .lines = kMatch}},
                  {false, true, 0, 1}},
        ApplyCase{"NonMatchingRuleIsPassed",
                  {{.action = 2, .lines = kMiss}, {.action = 1, .lines = kMatch}},
                  {true, false, 1, 0}},
        ApplyCase{"IgnoreRuleLetsLaterRulesDecide",
                  {{.action = 3, .lines = kMatch}, {.action = 1, .lines = kMatch}},
                  {true, false, 1, 0}},
        ApplyCase{"IgnoreRuleAloneChangesNothing", {{.action = 3, .lines = kMatch}}, {false, false, 0, 0}},
        ApplyCase{"UnknownActionActsAsIgnore",
                  {{.action = 7, .lines = kMatch}, {.action = 2, .lines = kMatch}},
                  {false, true, 0, 1}},
        ApplyCase{
            "DisabledRuleSkipped", {{.enabled = 0, .action = 1, .lines = kMatch}}, {false, false, 0, 0}},
        ApplyCase{"EnabledMustBeOne", {{.enabled = -1, .action = 1, .lines = kMatch}}, {false, false, 0, 0}},
        ApplyCase{"OwnAccount", {{.account = "Home", .action = 1, .lines = kMatch}}, {true, false, 1, 0}},
        ApplyCase{"OtherAccount", {{.account = "Work", .action = 1, .lines = kMatch}}, {false, false, 0, 0}},
        ApplyCase{"AccountNameCaseCounts",
                  {{.account = "home", .action = 1, .lines = kMatch}},
                  {false, false, 0, 0}},
        ApplyCase{"AllAccountsCaseCounts",
                  {{.account = "all accounts", .action = 1, .lines = kMatch}},
                  {false, false, 0, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RulesTest, CountsAddUpOverAnAccountsMessages) {
    StoreMessage(2, 1, {.subject = "news 1"});
    StoreMessage(2, 2, {.subject = "other"});
    StoreMessage(2, 3, {.subject = "news 3"});
    modAccounts::gAccounts[2].DeleteCount = 0;
    modAccounts::gAccounts[2].SpamCount = 0;
    SetLiveRules({{.account = "Work", .action = 2, .lines = kMatch}});
    for (int16_t m = 1; m <= 3; ++m) ApplyRulesToMessage(2, m);
    EXPECT_EQ(modAccounts::gAccounts[2].SpamCount, 2);
    EXPECT_EQ(modAccounts::gAccounts[2].DeleteCount, 0);
    EXPECT_TRUE(modGeneral::Msg(2, 1).Spam);
    EXPECT_FALSE(modGeneral::Msg(2, 2).Spam);
    EXPECT_TRUE(modGeneral::Msg(2, 3).Spam);
}

TEST_F(RulesTest, WithNoRulesTheCountsStayAsTheyWere) {
    StoreMessage(1, 1, TestMessage{});
    modAccounts::gAccounts[1].DeleteCount = 4;
    modAccounts::gAccounts[1].SpamCount = 2;
    ApplyRulesToMessage(1, 1);
    EXPECT_EQ(MarksOf(1), (Marks{false, false, 4, 2}));
}

}  // namespace
