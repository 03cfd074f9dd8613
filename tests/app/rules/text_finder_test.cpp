#include "app/rules/text_finder.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// The block-wise search must agree with a plain search at every length,
// offset and alignment, near the end of the text above all, with the wide
// registers and without.
class TextFinderVectors : public testing::TestWithParam<bool> {
protected:
    void SetUp() override { TextFinder::UseWideVectors(GetParam()); }
    void TearDown() override { TextFinder::UseWideVectors(true); }
};

INSTANTIATE_TEST_SUITE_P(Widths, TextFinderVectors, testing::Bool(),
                         [](const auto& info) { return std::string(info.param ? "Wide" : "Sse2"); });

TEST_P(TextFinderVectors, AgreesWithAPlainSearch) {
    std::mt19937 random(7);
    const QString alphabet = QStringLiteral("abAB é€");
    const auto randomText = [&](int length) {
        QString s;
        for (int i = 0; i < length; ++i) s += alphabet[static_cast<qsizetype>(random() % alphabet.size())];
        return s;
    };
    int found = 0;
    for (int round = 0; round < 20000; ++round) {
        const QString hay = randomText(static_cast<int>(random() % 60));
        const QString needle = random() % 4 == 0 && !hay.isEmpty()
                                   ? hay.mid(random() % hay.size(), 1 + random() % 12)
                                   : randomText(static_cast<int>(random() % 6));
        const qsizetype from = static_cast<qsizetype>(random() % (hay.size() + 2));
        const qsizetype expected =
            needle.isEmpty() ? (from < hay.size() ? from : -1) : hay.indexOf(needle, from);
        ASSERT_EQ(TextFinder(needle).IndexIn(hay, from), expected)
            << "needle \"" << needle.toStdString() << "\" in \"" << hay.toStdString() << "\" from " << from;
        found += expected >= 0;
    }
    EXPECT_GT(found, 2000);  // the cases must not all be misses
}

TEST_P(TextFinderVectors, FindsInLongTexts) {
    QString hay(5000, u'x');
    hay.replace(4990, 4, QStringLiteral("LOTT"));
    EXPECT_EQ(TextFinder(QStringLiteral("LOTT")).IndexIn(hay), 4990);
    EXPECT_EQ(TextFinder(QStringLiteral("LOTTx")).IndexIn(hay), 4990);
    EXPECT_EQ(TextFinder(QStringLiteral("LOTTERY")).IndexIn(hay), -1);
    EXPECT_EQ(TextFinder(QStringLiteral("x")).IndexIn(hay, 4990), 4994);
}

// Upper-casing agrees with Qt's at every length, the short way for ASCII
// text and the full mapping as soon as one character lies beyond it.
TEST(UpperCased, AgreesWithQt) {
    std::mt19937 random(11);
    const QString alphabet = QStringLiteral("az AZ@[`{~\x7f\tßéÿ€");
    for (int round = 0; round < 5000; ++round) {
        QString text;
        const int length = static_cast<int>(random() % 40);
        const bool ascii = random() % 2 == 0;
        for (int i = 0; i < length; ++i)
            text += alphabet[static_cast<qsizetype>(random() % (ascii ? 11 : alphabet.size()))];
        ASSERT_EQ(UpperCased(text), text.toUpper()) << text.toStdString();
    }
    EXPECT_EQ(UpperCased(QString()), QString());
}

}  // namespace
