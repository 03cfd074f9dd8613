#pragma once
// One description line of a rule:
//     [AND |OR ]Where Condition [NOT ]Criteria<space>
// with single spaces between the parts. Words compare case-sensitively.

#include <QString>
#include <QStringView>
#include <array>
#include <optional>

// The Where words, in the order the Rules page offers them: the first four
// compare a text of the message, then whether it has an attachment, then its
// size.
inline constexpr std::array<QStringView, 6> kWhereWords{u"From", u"To",         u"Subject",
                                                        u"Body", u"Attachment", u"Size"};
inline constexpr std::size_t kTextWhereCount = 4;

// Whether word is one of kWhereWords; with textOnly, one of the first four.
bool IsWhereWord(QStringView word, bool textOnly = false);

struct DescriptionLine {
    QString connector;  // "AND", "OR" or empty
    QString where;
    QString condition;
    bool negated = false;
    QString criteria;  // without leading or trailing spaces
    bool operator==(const DescriptionLine&) const = default;
};

// nullopt when the line does not follow the syntax (a part without the space
// that ends it).
std::optional<DescriptionLine> ParseDescriptionLine(const QString& line);
