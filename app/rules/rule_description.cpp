#include "app/rules/rule_description.h"

#include <algorithm>

namespace {

// The line's trimming takes spaces only, as the stored format does.
QString TrimSpaces(QStringView text) {
    qsizetype begin = 0, end = text.size();
    while (begin < end && text[begin] == u' ') ++begin;
    while (end > begin && text[end - 1] == u' ') --end;
    return text.mid(begin, end - begin).toString();
}

// The word from pos up to the next space, trimmed; pos moves past that space.
std::optional<QString> NextWord(const QString& line, qsizetype& pos) {
    const qsizetype space = line.indexOf(u' ', pos);
    if (space < 0) return std::nullopt;
    QString word = TrimSpaces(QStringView(line).mid(pos, space - pos));
    pos = space + 1;
    return word;
}

}  // namespace

std::optional<DescriptionLine> ParseDescriptionLine(const QString& line) {
    DescriptionLine parsed;
    qsizetype pos = 0;
    const qsizetype firstSpace = line.indexOf(u' ');
    if (firstSpace < 0) return std::nullopt;
    const QString first = TrimSpaces(QStringView(line).left(firstSpace));
    if (first == u"AND" || first == u"OR") {
        parsed.connector = first;
        pos = firstSpace + 1;
    }
    auto where = NextWord(line, pos);
    if (!where) return std::nullopt;
    auto condition = NextWord(line, pos);
    if (!condition) return std::nullopt;
    parsed.where = std::move(*where);
    parsed.condition = std::move(*condition);
    if (pos >= line.size()) return parsed;
    qsizetype afterWord = pos;
    const auto word = NextWord(line, afterWord);
    if (!word) return std::nullopt;
    if (*word == u"NOT") {
        parsed.negated = true;
        pos = afterWord;
    }
    parsed.criteria = TrimSpaces(QStringView(line).mid(pos));
    return parsed;
}

bool IsWhereWord(QStringView word, bool textOnly) {
    const auto end = textOnly ? kWhereWords.begin() + kTextWhereCount : kWhereWords.end();
    return std::find(kWhereWords.begin(), end, word) != end;
}
