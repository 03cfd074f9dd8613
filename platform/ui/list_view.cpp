#include "platform/ui/list_view.h"

#include <QHeaderView>
#include <QScopeGuard>
#include <QScrollBar>
#include <QStyleOptionViewItem>
#include <QStyledItemDelegate>
#include <algorithm>
#include <memory>

#include "platform/ui/image_list.h"

namespace vb {
namespace {

constexpr int kTagRole = Qt::UserRole + 1;
constexpr int kIconKeyRole = Qt::UserRole + 2;

Qt::Alignment alignmentOf(int a) {
    return (a == lvwColumnRight    ? Qt::AlignRight
            : a == lvwColumnCenter ? Qt::AlignHCenter
                                   : Qt::AlignLeft) |
           Qt::AlignVCenter;
}

// A report row is one line high whatever its texts hold: a cell with line
// breaks (a message body kept in a zero-width column) shows its first line
// and never makes every row as tall as its text.
class OneLineDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem one = option;
        initStyleOption(&one, index);
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(std::max(one.fontMetrics.height(), one.decorationSize.height()) + 4);
        return size;
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        option->text = option->text.section(QChar('\n'), 0, 0).remove(QChar('\r'));
    }
};

}  // namespace

// ---- ColumnHeader ----

QString ColumnHeader::Key() const { return view_->Info(index_).key; }
QString ColumnHeader::Text() const { return view_->headerItem()->text(index_ - 1); }
void ColumnHeader::SetText(const QString& text) { view_->headerItem()->setText(index_ - 1, text); }
int ColumnHeader::Width() const { return PixelsToTwipsX(view_->columnWidth(index_ - 1)); }
void ColumnHeader::SetWidth(int twips) {
    view_->setColumnWidth(index_ - 1, std::max(0, TwipsToPixelsX(twips)));
}
QString ColumnHeader::Icon() const { return view_->Info(index_).iconKey; }

void ColumnHeader::SetIcon(const QString& key) {
    view_->Info(index_).iconKey = key;
    view_->headerItem()->setIcon(index_ - 1, view_->HeaderIconFor(key));
}

// ---- ListItem ----

int ListItem::Index() const { return view_->indexOfTopLevelItem(item_) + 1; }
QString ListItem::Text() const { return item_->text(0); }
void ListItem::SetText(const QString& text) { item_->setText(0, text); }

QString ListItem::SubItems(int i) const {
    if (i < 1 || i >= view_->ColumnCount()) throw VbError(kErrIndexOutOfBounds, "Index out of bounds");
    return item_->text(i);
}

void ListItem::SetSubItems(int i, const QString& text) {
    if (i < 1 || i >= view_->ColumnCount()) throw VbError(kErrIndexOutOfBounds, "Index out of bounds");
    item_->setText(i, text);
}

QString ListItem::SmallIcon() const { return item_->data(0, kIconKeyRole).toString(); }

void ListItem::SetSmallIcon(const QString& key) {
    item_->setData(0, kIconKeyRole, key);
    item_->setIcon(0, view_->SmallIconFor(key));
}

bool ListItem::Bold() const { return item_->font(0).bold(); }

void ListItem::SetBold(bool on) { SetSubItemBold(0, on); }

bool ListItem::SubItemBold(int i) const { return item_->font(i).bold(); }

void ListItem::SetSubItemBold(int i, bool on) { item_->setFont(i, view_->CellFont(on)); }

void ListItem::SetForeColor(OleColor c) { SetSubItemForeColor(0, c); }
void ListItem::SetSubItemForeColor(int i, OleColor c) { item_->setForeground(i, ToQColor(c)); }
bool ListItem::Selected() const { return item_->isSelected(); }

void ListItem::SetSelected(bool on) {
    if (on && !view_->MultiSelect()) view_->clearSelection();  // one row at a time
    item_->setSelected(on);
    if (on) view_->setCurrentItem(item_, 0, QItemSelectionModel::NoUpdate);
}

QString ListItem::Tag() const { return item_->data(0, kTagRole).toString(); }
void ListItem::SetTag(const QString& tag) { item_->setData(0, kTagRole, tag); }

// ---- ListView ----

ListView::ListView(QWidget* parent) : Control<QTreeWidget>(parent) {
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setItemDelegate(new OneLineDelegate(this));
    setAllColumnsShowFocus(true);                          // full-row selection
    setSelectionMode(QAbstractItemView::SingleSelection);  // MultiSelect is off unless set
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);  // rows are in the order the program puts them
    setColumnCount(0);
    setMouseTracking(true);
    header()->setMinimumSectionSize(0);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    header()->setSectionsClickable(true);
    header()->setSortIndicatorShown(false);
    QObject::connect(header(), &QHeaderView::sectionClicked, [this](int logical) {
        if (logical >= 0 && logical < ColumnCount()) Fire(ColumnClick, ColumnHeader(*this, logical + 1));
    });
}

ColumnHeader ListView::AddColumn(const QString& key, const QString& text, int widthTwips, int alignment,
                                 const QString& iconKey) {
    if (!key.isEmpty()) {
        for (const ColumnInfo& c : columns_) {
            if (c.key.compare(key, Qt::CaseInsensitive) == 0)
                throw VbError(kErrKeyNotUnique, "Key is not unique");
        }
    }
    columns_.push_back(ColumnInfo{key, QString()});
    const int n = ColumnCount();
    setColumnCount(n);
    headerItem()->setText(n - 1, text);
    headerItem()->setTextAlignment(n - 1, alignmentOf(alignment));
    ColumnHeader column(*this, n);
    column.SetWidth(widthTwips);
    if (!iconKey.isEmpty()) column.SetIcon(iconKey);
    return column;
}

int ListView::CellWidthFor(const QString& text, bool bold, bool withIcon) const {
    // As the list's delegate measures a cell.
    QStyleOptionViewItem cell;
    cell.initFrom(this);
    cell.font = font();
    cell.font.setBold(bold);
    cell.fontMetrics = QFontMetrics(cell.font);
    cell.text = text;
    cell.features = QStyleOptionViewItem::HasDisplay;
    if (withIcon) {
        cell.features |= QStyleOptionViewItem::HasDecoration;
        cell.decorationSize = iconSize().isValid() ? iconSize() : QSize(16, 16);
    }
    return PixelsToTwipsX(style()->sizeFromContents(QStyle::CT_ItemViewItem, &cell, QSize(), this).width());
}

int ListView::ColumnSpace() const {
    // As the scroll area places its viewport beside a shown vertical bar.
    int bar = verticalScrollBar()->sizeHint().width();
    if (style()->styleHint(QStyle::SH_ScrollView_FrameOnlyAroundContents, nullptr, this))
        bar += style()->pixelMetric(QStyle::PM_ScrollView_ScrollBarSpacing, nullptr, this);
    return PixelsToTwipsX(std::max(0, width() - 2 * frameWidth() - bar));
}

ColumnHeader ListView::Column(int index) {
    if (index < 1 || index > ColumnCount()) throw VbError(kErrIndexOutOfBounds, "Index out of bounds");
    return ColumnHeader(*this, index);
}

ColumnHeader ListView::Column(const QString& key) {
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        if (!key.isEmpty() && columns_[i].key.compare(key, Qt::CaseInsensitive) == 0) {
            return ColumnHeader(*this, static_cast<int>(i) + 1);
        }
    }
    throw VbError(kErrElementNotFound, "Element not found");
}

ListItem ListView::AddItem(const QString& text, const QString& smallIcon, int index) {
    auto* item = new QTreeWidgetItem();
    item->setText(0, text);
    if (index >= 1 && index <= ItemCount())
        insertTopLevelItem(index - 1, item);
    else
        addTopLevelItem(item);
    ListItem row(*this, item);
    if (!smallIcon.isEmpty()) row.SetSmallIcon(smallIcon);
    return row;
}

void ListView::AddItems(int count, const std::function<void(int row, ListItem item)>& fill) {
    std::vector<std::unique_ptr<QTreeWidgetItem>> rows;
    rows.reserve(static_cast<std::size_t>(std::max(count, 0)));
    const int first = ItemCount() + 1;
    adding_.emplace();
    // Made again for the next rows added, from the image list and font then.
    const auto done = qScopeGuard([this] { adding_.reset(); });
    for (int i = 0; i < count; ++i) {
        rows.push_back(std::make_unique<QTreeWidgetItem>());
        fill(first + i, ListItem(*this, rows.back().get()));
    }
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(rows.size()));
    for (auto& row : rows) items.append(row.release());  // the list owns them from here
    addTopLevelItems(items);
}

ListItem ListView::Item(int index) {
    if (index < 1 || index > ItemCount()) throw VbError(kErrIndexOutOfBounds, "Index out of bounds");
    return ListItem(*this, topLevelItem(index - 1));
}

void ListView::RemoveItem(int index) {
    if (index < 1 || index > ItemCount()) throw VbError(kErrIndexOutOfBounds, "Index out of bounds");
    delete takeTopLevelItem(index - 1);
}

void ListView::ClearItems() { clear(); }

std::vector<std::unique_ptr<QTreeWidgetItem>> ListView::TakeItems() {
    const QList<QTreeWidgetItem*> taken = invisibleRootItem()->takeChildren();
    std::vector<std::unique_ptr<QTreeWidgetItem>> rows;
    rows.reserve(static_cast<std::size_t>(taken.size()));
    for (QTreeWidgetItem* row : taken) rows.emplace_back(row);
    return rows;
}

int ListView::SelectedItem() const {
    QTreeWidgetItem* current = currentItem();
    if (current && current->isSelected()) return indexOfTopLevelItem(current) + 1;
    for (int i = 0; i < ItemCount(); ++i) {
        if (topLevelItem(i)->isSelected()) return i + 1;
    }
    return 0;
}

int ListView::HitTest(int x, int y) const {
    const QPoint inView = viewport()->mapFrom(this, QPoint(TwipsToPixelsX(x), TwipsToPixelsY(y)));
    if (!viewport()->rect().contains(inView)) return 0;
    QTreeWidgetItem* item = itemAt(inView);
    return item ? indexOfTopLevelItem(item) + 1 : 0;
}

bool ListView::MultiSelect() const { return selectionMode() == QAbstractItemView::ExtendedSelection; }

void ListView::SetMultiSelect(bool on) {
    setSelectionMode(on ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
}

QIcon ListView::SmallIconFor(const QString& key) const {
    if (!smallIcons_ || key.isEmpty()) return QIcon();
    if (adding_)
        for (const auto& [made, icon] : adding_->icons)
            if (made == key) return icon;
    if (!smallIcons_->Exists(key)) throw VbError(kErrElementNotFound, "Element not found");
    QIcon icon = smallIcons_->Icon(key);
    if (adding_) adding_->icons.emplace_back(key, icon);
    return icon;
}

QFont ListView::CellFont(bool bold) const {
    if (adding_ && adding_->fonts[bold ? 1 : 0]) return *adding_->fonts[bold ? 1 : 0];
    QFont f = font();
    f.setBold(bold);
    if (adding_) adding_->fonts[bold ? 1 : 0] = f;
    return f;
}

QIcon ListView::HeaderIconFor(const QString& key) const {
    if (!headerIcons_ || key.isEmpty()) return QIcon();
    if (!headerIcons_->Exists(key)) throw VbError(kErrElementNotFound, "Element not found");
    return headerIcons_->Icon(key);
}

void ListView::FireMouse(const MouseHandler& handler, QMouseEvent* event, Qt::MouseButtons buttons) {
    const QPoint p = viewport()->mapTo(this, event->position().toPoint());
    Fire(handler, VbButton(buttons), VbShift(event->modifiers()), PixelsToTwipsX(p.x()),
         PixelsToTwipsY(p.y()));
}

// Press: the row is selected (either button), then MouseDown, then ItemClick.
QItemSelectionModel::SelectionFlags ListView::selectionCommand(const QModelIndex& index,
                                                               const QEvent* event) const {
    // The user's clicks, keys and typed searches ask here; code selects rows
    // with its own commands.
    if (selectionFrozen_) return QItemSelectionModel::NoUpdate;
    return QTreeWidget::selectionCommand(index, event);
}

void ListView::mousePressEvent(QMouseEvent* event) {
    afterDoubleClick_ = false;
    QTreeWidget::mousePressEvent(event);
    FireMouse(MouseDown, event, event->button());
    if (QTreeWidgetItem* item = itemAt(event->position().toPoint())) Fire(ItemClick, ListItem(*this, item));
}

// Release: MouseUp, then Click for the left button (not after a double click).
void ListView::mouseReleaseEvent(QMouseEvent* event) {
    QTreeWidget::mouseReleaseEvent(event);
    FireMouse(MouseUp, event, event->button());
    if (event->button() == Qt::LeftButton && !afterDoubleClick_) Fire(Click);
    afterDoubleClick_ = false;
}

void ListView::mouseDoubleClickEvent(QMouseEvent* event) {
    QTreeWidget::mouseDoubleClickEvent(event);
    afterDoubleClick_ = true;
    if (event->button() == Qt::LeftButton) Fire(DblClick);
}

void ListView::mouseMoveEvent(QMouseEvent* event) {
    QTreeWidget::mouseMoveEvent(event);
    FireMouse(MouseMove, event, event->buttons());
}

void ListView::focusInEvent(QFocusEvent* event) {
    QTreeWidget::focusInEvent(event);
    Fire(GotFocus);
}

}  // namespace vb
