#pragma once
// A list view in report mode: keyed column headers with widths in twips and
// header icons, rows with text, sub-items, small icons by image-list key,
// bold and colour per cell, selection and tag, hit testing, and mouse events in the order MouseDown,
// ItemClick, MouseUp, Click (see the press and release handlers).
#include <QTreeWidget>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "platform/ui/control.h"

namespace vb {

class ImageList;
class ListView;

enum : int { lvwColumnLeft = 0, lvwColumnRight = 1, lvwColumnCenter = 2 };

// A column header, 1-based.
class ColumnHeader {
public:
    ColumnHeader(ListView& view, int index) : view_(&view), index_(index) {}
    int Index() const { return index_; }
    QString Key() const;
    QString Text() const;
    void SetText(const QString& text);
    int Width() const;  // twips
    void SetWidth(int twips);
    QString Icon() const;  // key in the header image list, "" for none
    void SetIcon(const QString& key);

private:
    ListView* view_;
    int index_;
};

// A row. Sub-items are numbered from 1 (column 2).
class ListItem {
public:
    ListItem(ListView& view, QTreeWidgetItem* item) : view_(&view), item_(item) {}
    int Index() const;
    QString Text() const;
    void SetText(const QString& text);
    QString SubItems(int i) const;
    void SetSubItems(int i, const QString& text);
    QString SmallIcon() const;
    void SetSmallIcon(const QString& key);
    bool Bold() const;
    void SetBold(bool on);  // the row's own text
    bool SubItemBold(int i) const;
    void SetSubItemBold(int i, bool on);
    void SetForeColor(OleColor c);
    void SetSubItemForeColor(int i, OleColor c);
    bool Selected() const;
    void SetSelected(bool on);  // from code: no event
    QString Tag() const;
    void SetTag(const QString& tag);
    QTreeWidgetItem* QtItem() const { return item_; }

private:
    ListView* view_;
    QTreeWidgetItem* item_;
};

class ListView : public Control<QTreeWidget> {
public:
    explicit ListView(QWidget* parent);

    // Columns.
    ColumnHeader AddColumn(const QString& key, const QString& text, int widthTwips = 1440,
                           int alignment = lvwColumnLeft, const QString& iconKey = QString());
    int ColumnCount() const { return static_cast<int>(columns_.size()); }
    ColumnHeader Column(int index);           // 35600 when out of range
    ColumnHeader Column(const QString& key);  // 35601 when unknown; keys ignore case
    // The width in twips a column needs to show `text` whole in one cell, in
    // bold or not, with a row's small icon before it or not.
    int CellWidthFor(const QString& text, bool bold, bool withIcon = false) const;
    // The width in twips the columns can fill without a horizontal scroll
    // bar, however many rows: the list less its frame and a vertical bar.
    int ColumnSpace() const;

    // Rows.
    ListItem AddItem(const QString& text, const QString& smallIcon = QString(), int index = 0);
    // Adds count rows at the end in one step, each filled by fill before the
    // list holds it (fill must not ask the row for its index or selection):
    // thousands of rows go in without a change signal per cell.
    void AddItems(int count, const std::function<void(int row, ListItem item)>& fill);
    int ItemCount() const { return topLevelItemCount(); }
    ListItem Item(int index);  // 35600 when out of range
    void RemoveItem(int index);
    void ClearItems();
    // Removes all rows and hands them over: the caller frees them, where
    // it likes, since they belong to no list any more.
    std::vector<std::unique_ptr<QTreeWidgetItem>> TakeItems();
    // The current row when it is selected, else the first selected; 0 = none.
    int SelectedItem() const;
    // 1-based index of the row at (x, y) twips of the control; 0 = none.
    int HitTest(int x, int y) const;

    void SetSmallIcons(const ImageList* images) { smallIcons_ = images; }
    void SetColumnHeaderIcons(const ImageList* images) { headerIcons_ = images; }
    const ImageList* SmallIcons() const { return smallIcons_; }
    const ImageList* ColumnHeaderIcons() const { return headerIcons_; }
    bool MultiSelect() const;
    void SetMultiSelect(bool on);
    // While frozen, the user's clicks and keys leave the selection as it is;
    // code still selects rows.
    bool SelectionFrozen() const { return selectionFrozen_; }
    void SetSelectionFrozen(bool on) { selectionFrozen_ = on; }

    std::function<void(ListItem)> ItemClick;
    std::function<void()> Click;
    std::function<void()> DblClick;
    std::function<void(ColumnHeader)> ColumnClick;
    std::function<void()> GotFocus;
    MouseHandler MouseDown;
    MouseHandler MouseUp;
    MouseHandler MouseMove;

    // Used by ColumnHeader and ListItem.
    struct ColumnInfo {
        QString key;
        QString iconKey;
    };
    ColumnInfo& Info(int index) { return columns_[static_cast<std::size_t>(index - 1)]; }
    QIcon SmallIconFor(const QString& key) const;
    QIcon HeaderIconFor(const QString& key) const;
    // The list's font, in bold or not.
    QFont CellFont(bool bold) const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event = nullptr) const override;

private:
    void FireMouse(const MouseHandler& handler, QMouseEvent* event, Qt::MouseButtons buttons);

    // While AddItems runs: the icons and fonts made for one row serve the
    // next rows alike, so thousands of rows share them.
    struct RowStyles {
        std::vector<std::pair<QString, QIcon>> icons;
        std::optional<QFont> fonts[2];
    };
    mutable std::optional<RowStyles> adding_;
    std::vector<ColumnInfo> columns_;
    const ImageList* smallIcons_ = nullptr;
    const ImageList* headerIcons_ = nullptr;
    bool afterDoubleClick_ = false;
    bool selectionFrozen_ = false;
};

}  // namespace vb
