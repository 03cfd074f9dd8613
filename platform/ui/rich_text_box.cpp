#include "platform/ui/rich_text_box.h"

#include <QTextCursor>
#include <QTextDocument>

namespace vb {
RichTextBox::RichTextBox(QWidget* parent) : Control<QTextEdit>(parent) {
    setAcceptRichText(false);  // pasted text comes in plain
    setLineWrapMode(QTextEdit::WidgetWidth);
}

QString RichTextBox::Text() const { return FromQtLines(toPlainText()); }

void RichTextBox::SetText(const QString& text) { setPlainText(ToQtLines(text)); }

int RichTextBox::SelStart() const { return textCursor().selectionStart(); }

void RichTextBox::SetSelStart(int start) {
    QTextCursor c = textCursor();
    const int end = static_cast<int>(document()->characterCount()) - 1;
    c.setPosition(std::clamp(start, 0, std::max(0, end)));
    setTextCursor(c);
}

int RichTextBox::SelLength() const {
    const QTextCursor c = textCursor();
    return c.selectionEnd() - c.selectionStart();
}

void RichTextBox::SetSelLength(int length) {
    QTextCursor c = textCursor();
    const int start = c.selectionStart();
    const int end = static_cast<int>(document()->characterCount()) - 1;
    c.setPosition(start);
    c.setPosition(std::clamp(start + length, start, std::max(start, end)), QTextCursor::KeepAnchor);
    setTextCursor(c);
}

QString RichTextBox::SelText() const { return FromQtLines(textCursor().selectedText()); }

void RichTextBox::SetSelText(const QString& text) {
    QTextCursor c = textCursor();
    c.insertText(ToQtLines(text), currentCharFormat());
    setTextCursor(c);
}

void RichTextBox::Merge(const QTextCharFormat& format) { mergeCurrentCharFormat(format); }

void RichTextBox::SetSelBold(bool on) {
    QTextCharFormat f;
    f.setFontWeight(on ? QFont::Bold : QFont::Normal);
    Merge(f);
}

void RichTextBox::SetSelItalic(bool on) {
    QTextCharFormat f;
    f.setFontItalic(on);
    Merge(f);
}

void RichTextBox::SetSelUnderline(bool on) {
    QTextCharFormat f;
    f.setFontUnderline(on);
    Merge(f);
}

QString RichTextBox::SelFontName() const {
    const QStringList families = currentCharFormat().fontFamilies().toStringList();
    return families.isEmpty() ? font().family() : families.front();
}

void RichTextBox::SetSelFontName(const QString& family) {
    QTextCharFormat f;
    f.setFontFamilies({family});
    Merge(f);
}

double RichTextBox::SelFontSize() const {
    const double size = currentCharFormat().fontPointSize();
    return size > 0 ? size : font().pointSizeF();
}

void RichTextBox::SetSelFontSize(double points) {
    QTextCharFormat f;
    f.setFontPointSize(points);
    Merge(f);
}

OleColor RichTextBox::SelColor() const {
    const QBrush b = currentCharFormat().foreground();
    return FromQColor(b.style() == Qt::NoBrush ? palette().color(QPalette::Text) : b.color());
}

void RichTextBox::SetSelColor(OleColor c) {
    QTextCharFormat f;
    f.setForeground(ToQColor(c));
    Merge(f);
}

}  // namespace vb
