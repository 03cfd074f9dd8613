#pragma once
// A rich text box: plain text in and out (CR LF breaks, never parsed as
// markup), and character formatting through the selection (bold, italic,
// underline, font, size, colour) applied to the selected text or, with no
// selection, to the text inserted next through SelText.
#include <QTextEdit>

#include "platform/ui/control.h"

class QTextDocument;

namespace vb {

class RichTextBox : public Control<QTextEdit> {
public:
    explicit RichTextBox(QWidget* parent);

    QString Text() const;
    void SetText(const QString& text);
    bool Locked() const { return isReadOnly(); }
    void SetLocked(bool on) { setReadOnly(on); }

    int SelStart() const;
    void SetSelStart(int start);  // collapses the selection there
    int SelLength() const;
    void SetSelLength(int length);
    QString SelText() const;
    void SetSelText(const QString& text);  // replaces the selection, plain text

    void SetSelBold(bool on);
    void SetSelItalic(bool on);
    void SetSelUnderline(bool on);
    QString SelFontName() const;
    void SetSelFontName(const QString& family);
    double SelFontSize() const;
    void SetSelFontSize(double points);
    OleColor SelColor() const;
    void SetSelColor(OleColor c);

    QTextDocument& Document() { return *document(); }

private:
    void Merge(const QTextCharFormat& format);
};

}  // namespace vb
