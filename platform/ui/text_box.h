#pragma once
#include <QWidget>
#include <functional>

#include "platform/ui/control.h"

class QLineEdit;
class QPlainTextEdit;

namespace vb {

// A text box, single-line or (chosen when it is made) multi-line. Change runs
// whenever the text changes, typed or set from code. Multi-line text uses
// CR LF line breaks at this interface.
class TextBox : public Control<QWidget> {
public:
    explicit TextBox(QWidget* parent, bool multiLine = false);

    QString Text() const;
    void SetText(const QString& text);
    bool MultiLine() const { return plain_ != nullptr; }
    bool Locked() const;
    void SetLocked(bool on);
    QString PasswordChar() const { return password_; }
    void SetPasswordChar(const QString& c);  // non-empty hides what is typed
    int MaxLength() const;
    void SetMaxLength(int length);  // 0 = no limit
    int Alignment() const { return alignment_; }
    void SetAlignment(int alignment);

    int SelStart() const;
    void SetSelStart(int start);
    int SelLength() const;
    void SetSelLength(int length);
    QString SelText() const;

    OleColor BackColor() const { return back_; }
    void SetBackColor(OleColor c);

    std::function<void()> Change;
    std::function<void()> Click;
    std::function<void()> GotFocus;
    std::function<void()> LostFocus;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* Editor() const;
    void Select(int start, int length);

    QLineEdit* line_ = nullptr;
    QPlainTextEdit* plain_ = nullptr;
    QString password_;
    QString last_;  // for multi-line: Change only when the text really differs
    OleColor back_ = kSysWindow;
    int maxLength_ = 0;
    int alignment_ = 0;
};

}  // namespace vb
