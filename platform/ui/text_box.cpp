#include "platform/ui/text_box.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>

namespace vb {
TextBox::TextBox(QWidget* parent, bool multiLine) : Control<QWidget>(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    if (multiLine) {
        plain_ = new QPlainTextEdit(this);
        plain_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        layout->addWidget(plain_);
        QObject::connect(plain_, &QPlainTextEdit::textChanged, [this] {
            const QString now = plain_->toPlainText();
            if (now == last_) return;
            if (maxLength_ > 0 && now.size() > maxLength_) {
                plain_->setPlainText(now.left(maxLength_));  // re-enters with the cut text
                return;
            }
            last_ = now;
            Fire(Change);
        });
    } else {
        line_ = new QLineEdit(this);
        layout->addWidget(line_);
        QObject::connect(line_, &QLineEdit::textChanged, [this](const QString&) { Fire(Change); });
    }
    setFocusProxy(Editor());
    Editor()->installEventFilter(this);
    if (plain_) plain_->viewport()->installEventFilter(this);
}

QWidget* TextBox::Editor() const { return line_ ? static_cast<QWidget*>(line_) : plain_; }

QString TextBox::Text() const { return line_ ? line_->text() : FromQtLines(plain_->toPlainText()); }

void TextBox::SetText(const QString& text) {
    if (line_) {
        line_->setText(text);
        return;
    }
    const QString qt = ToQtLines(text);
    if (qt == plain_->toPlainText()) return;
    plain_->setPlainText(qt);
}

bool TextBox::Locked() const { return line_ ? line_->isReadOnly() : plain_->isReadOnly(); }

void TextBox::SetLocked(bool on) {
    if (line_)
        line_->setReadOnly(on);
    else
        plain_->setReadOnly(on);
}

void TextBox::SetPasswordChar(const QString& c) {
    password_ = c.left(1);
    if (line_) line_->setEchoMode(password_.isEmpty() ? QLineEdit::Normal : QLineEdit::Password);
}

int TextBox::MaxLength() const { return maxLength_; }

void TextBox::SetMaxLength(int length) {
    maxLength_ = std::max(0, length);
    if (line_)
        line_->setMaxLength(maxLength_ > 0 ? maxLength_ : 32767);
    else if (maxLength_ > 0 && plain_->toPlainText().size() > maxLength_)
        plain_->setPlainText(plain_->toPlainText().left(maxLength_));
}

void TextBox::SetAlignment(int alignment) {
    alignment_ = alignment;
    const Qt::Alignment a = alignment == 1   ? Qt::AlignRight
                            : alignment == 2 ? Qt::AlignHCenter
                                             : Qt::AlignLeft;
    if (line_) line_->setAlignment(a | Qt::AlignVCenter);
}

int TextBox::SelStart() const {
    if (line_) return line_->hasSelectedText() ? line_->selectionStart() : line_->cursorPosition();
    return plain_->textCursor().selectionStart();
}

int TextBox::SelLength() const {
    if (line_) return line_->hasSelectedText() ? static_cast<int>(line_->selectedText().size()) : 0;
    const QTextCursor c = plain_->textCursor();
    return c.selectionEnd() - c.selectionStart();
}

QString TextBox::SelText() const {
    if (line_) return line_->selectedText();
    return FromQtLines(plain_->textCursor().selectedText());
}

void TextBox::Select(int start, int length) {
    const int size =
        line_ ? static_cast<int>(line_->text().size()) : static_cast<int>(plain_->toPlainText().size());
    start = std::clamp(start, 0, size);
    length = std::clamp(length, 0, size - start);
    if (line_) {
        if (length > 0)
            line_->setSelection(start, length);
        else
            line_->setCursorPosition(start);
        return;
    }
    QTextCursor c = plain_->textCursor();
    c.setPosition(start);
    c.setPosition(start + length, QTextCursor::KeepAnchor);
    plain_->setTextCursor(c);
}

// Setting SelStart collapses the selection there.
void TextBox::SetSelStart(int start) { Select(start, 0); }
void TextBox::SetSelLength(int length) { Select(SelStart(), length); }

void TextBox::SetBackColor(OleColor c) {
    back_ = c;
    QPalette p = Editor()->palette();
    p.setColor(QPalette::Base, ToQColor(c));
    Editor()->setPalette(p);
}

bool TextBox::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::FocusIn:
            if (watched == Editor()) Fire(GotFocus);
            break;
        case QEvent::FocusOut:
            if (watched == Editor()) Fire(LostFocus);
            break;
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) Fire(Click);
            break;
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace vb
