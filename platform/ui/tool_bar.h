#pragma once
// A tool bar of buttons reached by key (without regard to case) or 1-based
// index, each with caption, tool tip, image key, style, enabled, visible,
// value and tag; ButtonClick names the button. Buttons share one width, the
// widest caption's.
#include <QToolButton>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "platform/ui/control.h"

class QHBoxLayout;

namespace vb {

class ImageList;
class ToolBar;

enum : int { tbrDefault = 0, tbrCheck = 1, tbrButtonGroup = 2, tbrSeparator = 3, tbrPlaceholder = 4 };
enum : int { tbrStandard = 0, tbrFlat = 1 };
enum : int { tbrUnpressed = 0, tbrPressed = 1 };

class ToolButton {
public:
    ToolButton(ToolBar& bar, QToolButton* button, const QString& key, int style);

    int Index() const;
    QString Key() const { return key_; }
    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    QString ToolTipText() const { return tip_; }
    void SetToolTipText(const QString& tip);
    QString Image() const { return image_; }
    void SetImage(const QString& key);
    int Style() const { return style_; }
    // The button's own setting, whether or not its bar is usable.
    bool Enabled() const { return !button_->testAttribute(Qt::WA_ForceDisabled); }
    void SetEnabled(bool on) { button_->setEnabled(on); }
    bool Visible() const { return visible_; }
    void SetVisible(bool on);
    int Value() const { return button_->isChecked() ? tbrPressed : tbrUnpressed; }
    void SetValue(int value);  // from code: no ButtonClick
    QString Tag() const { return tag_; }
    void SetTag(const QString& tag) { tag_ = tag; }
    int Left() const { return PixelsToTwipsX(button_->x()); }
    int Width() const { return PixelsToTwipsX(button_->width()); }
    QToolButton& QtButton() { return *button_; }
    void RefreshImage();

private:
    ToolBar* bar_;
    QToolButton* button_;  // owned by the bar's widget
    QString key_;
    QString caption_;
    QString tip_;
    QString image_;
    QString tag_;
    int style_;
    bool visible_ = true;
};

class ToolBar : public Control<QWidget> {
public:
    explicit ToolBar(QWidget* parent);
    ~ToolBar() override;

    ToolButton& AddButton(const QString& key, const QString& caption = QString(), int style = tbrDefault,
                          const QString& image = QString(), int index = 0);
    int ButtonCount() const { return static_cast<int>(buttons_.size()); }
    ToolButton& Buttons(int index);           // 35600 when out of range
    ToolButton& Buttons(const QString& key);  // 35601 when unknown
    bool HasButton(const QString& key) const;
    int IndexOf(const ToolButton& button) const;

    int Style() const { return style_; }
    void SetStyle(int style);  // 0 raised (standard), 1 flat
    void SetImageList(const ImageList* images);
    void SetDisabledImageList(const ImageList* images);
    const ImageList* Images() const { return images_; }
    const ImageList* DisabledImages() const { return disabled_; }
    // Every button's width and height, in twips.
    int ButtonWidth() const;
    int ButtonHeight() const;

    std::function<void(ToolButton& Button)> ButtonClick;

    // Used by ToolButton.
    void Relayout();

private:
    std::vector<std::unique_ptr<ToolButton>> buttons_;
    QHBoxLayout* layout_;
    const ImageList* images_ = nullptr;
    const ImageList* disabled_ = nullptr;
    int style_ = tbrStandard;
};

}  // namespace vb
