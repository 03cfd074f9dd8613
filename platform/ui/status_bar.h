#pragma once
// A status bar of panels (1-based) with text, picture, width and tool tip.
#include <QPixmap>
#include <QWidget>
#include <vector>

#include "platform/ui/control.h"

class QHBoxLayout;
class QLabel;

namespace vb {

enum : int { sbrNoAutoSize = 0, sbrSpring = 1, sbrContents = 2 };

class StatusBar : public Control<QWidget> {
public:
    explicit StatusBar(QWidget* parent);

    int AddPanel(const QString& text = QString(), int widthTwips = 1440, int autoSize = sbrNoAutoSize,
                 const QString& key = QString());
    int PanelCount() const { return static_cast<int>(panels_.size()); }
    QString PanelText(int index) const;
    void SetPanelText(int index, const QString& text);  // plain text
    QString PanelKey(int index) const;
    bool PanelHasPicture(int index) const;
    QPixmap PanelPicture(int index) const;                    // null when none
    void SetPanelPicture(int index, const QPixmap& picture);  // a null picture removes it
    int PanelLeft(int index) const;                           // twips from the bar's left edge
    int PanelWidth(int index) const;                          // twips
    void SetPanelWidth(int index, int twips);
    void SetPanelAutoSize(int index, int autoSize);
    // The width in twips panel `index` needs to show `text` whole, with a
    // picture of pictureWidth twips before it (0: none).
    int PanelWidthFor(int index, const QString& text, int pictureWidth = 0) const;

    MouseHandler MouseMove;

protected:
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    struct Panel {
        QWidget* box;
        QLabel* picture;
        QLabel* text;
        QString key;
        QString raw;
        int autoSize;
    };
    Panel& At(int index);
    const Panel& At(int index) const;

    std::vector<Panel> panels_;
    QHBoxLayout* layout_;
};

}  // namespace vb
