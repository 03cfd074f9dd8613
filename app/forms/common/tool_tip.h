#pragma once
// One tooltip window of a form and the controls it serves ("tools"): tip
// texts by control, and the window's colours, delays, margins and maximum
// width. Until Create has made the window, and after the form that owns it
// is gone, every member does nothing and reads 0, false or "".
#include <QPointer>
#include <QString>
#include <cstdint>

#include "platform/ui/ole_color.h"
#include "platform/ui/tool_tip_window.h"

class QWidget;

class ToolTip {
public:
    ToolTip() = default;
    ToolTip(const ToolTip&) = delete;
    ToolTip& operator=(const ToolTip&) = delete;
    // Ends the tooltip window with the object.
    ~ToolTip();

    // Makes the tooltip window of `form` once; true when a window exists.
    bool Create(QWidget& form);
    // False, changing nothing, when the control is a tool already.
    bool AddTool(QWidget& control, const QString& text = QString());
    // False when the control is no tool.
    bool RemoveTool(QWidget& control);

    vb::OleColor BackColor() const;
    void SetBackColor(vb::OleColor colour);
    vb::OleColor ForeColor() const;
    void SetForeColor(vb::OleColor colour);
    // Which delay is `which` And 3: 0 automatic, 1 reshow, 2 how long a tip
    // stays up, 3 before a tip shows. Milliseconds.
    int32_t DelayTime(int which) const;
    void SetDelayTime(int which, int32_t milliseconds);
    // Side 0 left, 1 top, 2 right, 3 bottom, in pixels; any other side reads 0
    // and is never written.
    int32_t Margin(int side) const;
    void SetMargin(int side, int32_t pixels);
    // Pixels; a width below 1 means no limit and reads back as -1.
    int32_t MaxTipWidth() const;
    void SetMaxTipWidth(int32_t pixels);
    int32_t ToolCount() const;
    // The tooltip window; null while there is none.
    const vb::ToolTipWindow* hWnd() const { return window_.data(); }
    const vb::ToolTipWindow* ToolTipHandle() const { return hWnd(); }

    // The control's tip text, "" when it is no tool.
    QString ToolText(const QWidget& control) const;
    // A control that is no tool is left alone.
    void SetToolText(QWidget& control, const QString& text);

private:
    // Owned by the form (it ends with it), ended early with this object.
    QPointer<vb::ToolTipWindow> window_;
};
