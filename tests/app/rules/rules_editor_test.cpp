// The Rules page's edits of the edit set: description lines built, their
// connector kept the same after the first line, undo and redo.
#include "app/rules/rules_editor.h"

#include "app/rules/description_editor.h"
#include "app/rules/rule_description.h"
#include "tests/app/rules/rules_fixture.h"

using namespace modRules;

namespace {

LineChoice Choice(const char* where, const char* condition, bool negated, const char* criteria,
                  const char* connector) {
    return {where, condition, negated, criteria, connector};
}

TEST(DescriptionLines, BuiltLinesReadBackAsTheirChoices) {
    struct Row {
        int line;
        LineChoice choice;
        const char* text;
    };
    const Row rows[] = {
        {1, Choice("From", "Contains", false, "  newsletter ", "OR"), "From Contains newsletter "},
        {2, Choice("Subject", "Equals", true, "Weekly report", "OR"), "OR Subject Equals NOT Weekly report "},
        {3, Choice("Attachment", "IsPresent", false, "", "AND"), "AND Attachment IsPresent  "},
        {2, Choice("Size", "GreaterThan", false, "500", "AND"), "AND Size GreaterThan 500 "},
    };
    for (const Row& row : rows) {
        const QString text = BuildDescriptionLine(row.line, row.choice);
        EXPECT_EQ(text, QString::fromLatin1(row.text));
        const auto parsed = ParseDescriptionLine(text);
        ASSERT_TRUE(parsed) << row.text;
        EXPECT_EQ(parsed->where, row.choice.where);
        EXPECT_EQ(parsed->negated, row.choice.negated);
        EXPECT_EQ(parsed->criteria, row.choice.criteria.trimmed());
    }
}

TEST(DescriptionLines, OnlyALeadingConnectorWordIsRewrittenAndCriteriaMustMeanSomething) {
    for (const auto& [line, rewritten] : {std::pair{"AND To Contains ANDROID ", "OR To Contains ANDROID "},
                                          {"OR Body Contains AND ", "OR Body Contains AND "},
                                          {"From Contains OR ", "From Contains OR "},
                                          {"ANDROID Contains x ", "ANDROID Contains x "}})
        EXPECT_EQ(WithConnector(QString::fromLatin1(line), "OR"), QString::fromLatin1(rewritten)) << line;

    struct Row {
        const char* where;
        const char* criteria;
        bool complete;
    };
    for (const Row& row : {Row{"Subject", "   ", false},
                           {"From", "a", true},
                           {"Attachment", "", true},
                           {"Size", "500", true},
                           {"Size", "abc", false},
                           {"Size", "-5", false},
                           {"Size", " ", false}})
        EXPECT_EQ(CriteriaComplete(row.where, row.criteria), row.complete)
            << row.where << " '" << row.criteria << "'";
}

class RulesEditor : public RulesTest {
protected:
    void SetUp() override {
        RulesTest::SetUp();
        gEditRules.Count = 0;
        gCurrentRule = AddEditRule();
        gCurrentLine = 0;
    }
    QStringList Lines() const {
        QStringList lines;
        for (int j = 1; j <= gEditRules[gCurrentRule].DescCount; ++j)
            lines << gEditRules[gCurrentRule].Desc[j];
        EXPECT_EQ(gEditRules[gCurrentRule].Desc[0], lines.join(QString()));
        EXPECT_EQ(gCurrentLine, lines.size());
        return lines;
    }
    void Add(const char* criteria, const char* connector = "AND") {
        ASSERT_TRUE(AddRuleLine(Choice("Subject", "Contains", false, criteria, connector)));
    }
};

TEST_F(RulesEditor, UndoneLinesComeBackUntilAClear) {
    // Five lines, two undone, one added: the old fifth line can still come back.
    for (const char* c : {"a", "b", "c", "d", "e"}) Add(c);
    UndoRuleLine();
    UndoRuleLine();
    Add("x");
    ASSERT_TRUE(CanRedoRuleLine());
    RedoRuleLine();
    EXPECT_EQ(Lines().mid(3), QStringList({"AND Subject Contains x ", "AND Subject Contains e "}));
    UndoRuleLine();
    ClearRuleLines();
    EXPECT_EQ(Lines(), QStringList());
    EXPECT_FALSE(CanRedoRuleLine()) << "cleared lines are gone";
    EXPECT_FALSE(UndoRuleLine());
}

TEST_F(RulesEditor, ARuleAddedAfterADeletionStartsClean) {
    Add("old");
    gEditRules.Show = 1;
    RemoveEditRule(1);
    EXPECT_EQ(gEditRules.Count, 0);
    gCurrentRule = AddEditRule();
    EXPECT_EQ(gEditRules[1].Name, "Rule1");
    EXPECT_EQ(gEditRules[1].Account, "All Accounts");
    EXPECT_EQ(gEditRules[1].Action, 2);
    EXPECT_EQ(gEditRules.Show, gRules.Show) << "the notification values go back to the saved ones";
    gCurrentLine = 0;
    EXPECT_EQ(Lines(), QStringList());
    EXPECT_FALSE(CanRedoRuleLine());
    EXPECT_EQ(gEditRules[1].Desc[1], QString());
}

}  // namespace
