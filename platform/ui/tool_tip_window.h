#pragma once
// One tooltip window serving several controls ("tools"): a plain-text,
// multi-line tip shown when the pointer rests over a tool, with its own
// colours, margins, maximum width and delays. Changing a tool's text while
// its tip is up changes the tip at once; an empty text shows nothing.
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <memory>
#include <vector>

#include "platform/ui/ole_color.h"

class QLabel;
class QWidget;

namespace vb {

enum : int { TTDT_AUTOMATIC = 0, TTDT_RESHOW = 1, TTDT_AUTOPOP = 2, TTDT_INITIAL = 3 };

class ToolTipWindow : public QObject {
public:
    explicit ToolTipWindow(QWidget* owner);
    ~ToolTipWindow() override;

    bool AddTool(QWidget& control, const QString& text = QString());
    bool RemoveTool(QWidget& control);
    int ToolCount() const { return static_cast<int>(tools_.size()); }
    QString ToolText(const QWidget& control) const;  // "" when not a tool
    void SetToolText(QWidget& control, const QString& text);

    OleColor BackColor() const { return back_; }
    void SetBackColor(OleColor c);
    OleColor ForeColor() const { return fore_; }
    void SetForeColor(OleColor c);
    int DelayTime(int which) const;
    void SetDelayTime(int which, int ms);
    int Margin(int side) const;  // 0 left, 1 top, 2 right, 3 bottom; pixels
    void SetMargin(int side, int pixels);
    int MaxTipWidth() const { return maxWidth_; }
    void SetMaxTipWidth(int pixels);  // below 1: no limit (-1)

    bool IsShowing() const;
    QString ShownText() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Tool {
        QPointer<QWidget> control;
        QString text;
    };
    Tool* Find(const QObject* watched);
    const Tool* Find(const QObject* watched) const;
    void ShowFor(const Tool& tool);
    void HideTip();
    void Restyle();

    std::unique_ptr<QLabel> tip_;
    std::vector<Tool> tools_;
    QPointer<QWidget> hovered_;
    QTimer initial_;
    QTimer autopop_;
    OleColor back_ = 0x80000018;  // tooltip background
    OleColor fore_ = 0x80000017;  // tooltip text
    int margins_[4] = {0, 0, 0, 0};
    int maxWidth_ = -1;
    int autopopMs_ = 5000;
};

}  // namespace vb
