#pragma once
// Finds one fixed text in many others, as the rule engine does for every
// message body. Candidate positions are found sixteen characters at a time
// by comparing the text's first and last characters at once (AVX2 where the
// processor has it, SSE2 otherwise), so a long body is scanned quickly.
// Characters compare exactly, as UTF-16 code units.

#include <QString>
#include <QStringView>

class TextFinder {
public:
    TextFinder() = default;
    explicit TextFinder(QString needle) : needle_(std::move(needle)) {}

    // The first position at or after from where the text starts; -1 when it
    // does not occur. An empty text is found at from when from is inside hay.
    [[nodiscard]] qsizetype IndexIn(QStringView hay, qsizetype from = 0) const;
    [[nodiscard]] const QString& Text() const { return needle_; }

    // Tests: false keeps every search to the SSE2 instructions that every
    // x86-64 processor has; true takes the widest the processor offers.
    static void UseWideVectors(bool on);

private:
    QString needle_;
};

// The text upper-cased, as QString::toUpper gives it; plain ASCII text (nearly
// all mail headers and many bodies) is done eight characters at a time.
QString UpperCased(const QString& text);
