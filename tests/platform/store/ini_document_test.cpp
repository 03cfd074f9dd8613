#include "platform/store/ini_document.h"

#include <gtest/gtest.h>

#include <random>

using platform::store::IniDocument;

namespace {

TEST(IniDocument, SectionListsItsLinesInOrder) {
    const IniDocument doc = IniDocument::Parse("[A]\na=1\n; note\n  b = 2 \n\n[B]\nc=3\n");
    EXPECT_EQ(doc.SectionLines("a"), (std::vector<std::string>{"a=1", "b = 2"}));
    EXPECT_EQ(doc.SectionLines("B"), (std::vector<std::string>{"c=3"}));
    EXPECT_TRUE(doc.SectionLines("C").empty());
}

// Every editor's line ends read alike, and a changed file keeps the ends
// it came with.
TEST(IniDocument, LfCrLfAndCrAloneEndLines) {
    struct Case {
        const char* name;
        std::string text;
        std::string written;  // after Rules/Time is set to 5
    };
    const Case cases[] = {
        {"LF", "[Rules]\nRuleCount=2\n[Rule1]\nName=a", "[Rules]\nRuleCount=2\nTime=5\n[Rule1]\nName=a\n"},
        {"CR LF", "[Rules]\r\nRuleCount=2\r\n[Rule1]\r\nName=a\r\n",
         "[Rules]\r\nRuleCount=2\r\nTime=5\r\n[Rule1]\r\nName=a\r\n"},
        {"CR", "[Rules]\rRuleCount=2\r[Rule1]\rName=a\r", "[Rules]\rRuleCount=2\rTime=5\r[Rule1]\rName=a\r"},
        {"mixed", "[Rules]\rRuleCount=2\n[Rule1]\r\nName=a",
         "[Rules]\r\nRuleCount=2\r\nTime=5\r\n[Rule1]\r\nName=a\r\n"},
    };
    for (const Case& c : cases) {
        IniDocument doc = IniDocument::Parse(c.text);
        EXPECT_EQ(doc.Value("Rules", "RuleCount"), "2") << c.name;
        EXPECT_EQ(doc.Value("Rule1", "Name"), "a") << c.name;
        ASSERT_FALSE(doc.Set("Rules", "Time", "5"));
        EXPECT_EQ(doc.Serialize(), c.written) << c.name;
    }
}

// After any run of changes the document must read exactly as its own text
// parsed afresh: the index it keeps in step is the one a reader builds.
TEST(IniDocument, ChangesReadAsTheirTextParsedAgain) {
    const std::vector<std::string> starts = {
        "",
        "; comment before any section\n",
        "[A]\nk1=1\n\n\n[B]\n; note\nk2 = \"two\" \n\n",
        "[a]\r\nK1=x\r\n[b]\r\n[A]\r\nk1=shadowed\r\n",
    };
    const char* sections[] = {"A", "b", "C", " a ", "Rule10"};
    const char* keys[] = {"k1", "K2", "Name", "k3 ", "Description1"};
    const char* values[] = {"", "v", " spaced ", "\"quoted\"", "NA", "a=b"};
    std::mt19937 random(5);
    for (const std::string& start : starts) {
        for (int round = 0; round < 200; ++round) {
            IniDocument doc = IniDocument::Parse(start);
            const int changes = static_cast<int>(random() % 12);
            for (int c = 0; c < changes; ++c)
                ASSERT_FALSE(doc.Set(sections[random() % 5], keys[random() % 5], values[random() % 6]));
            const IniDocument reread = IniDocument::Parse(doc.Serialize());
            for (const char* section : sections) {
                EXPECT_EQ(doc.SectionLines(section), reread.SectionLines(section)) << doc.Serialize();
                for (const char* key : keys)
                    EXPECT_EQ(doc.Value(section, key), reread.Value(section, key))
                        << section << "/" << key << " in\n"
                        << doc.Serialize();
            }
        }
    }
}

}  // namespace
