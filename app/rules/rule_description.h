#pragma once
// One description line of a rule:
//     [AND |OR ]Where Condition [NOT ]Criteria<space>
// with single spaces between the parts. Words compare case-sensitively.

#include <QString>
#include <optional>

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
