#include "platform/ui/tab_strip.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QFrame>
#include <QMimeData>
#include <QTimer>

#include "platform/loop/handler_barrier.h"
#include "platform/ui/image_list.h"

namespace vb {
namespace {

QPointer<QWidget> gDragSource;

struct TabData {
    QString key;
    QString image;
};

TabData dataOf(const QTabBar& bar, int i) {
    const QStringList l = bar.tabData(i).toStringList();
    return TabData{l.value(0), l.value(1)};
}

void setData(QTabBar& bar, int i, const TabData& d) { bar.setTabData(i, QStringList{d.key, d.image}); }

}  // namespace

// The tab row: the strip decides about a press before the row changes its
// tab, and hears about it after, so Click comes before MouseDown.
class TabStrip::Row : public QTabBar {
public:
    explicit Row(TabStrip& strip) : QTabBar(&strip), strip_(strip) {}

protected:
    void mousePressEvent(QMouseEvent* event) override {
        const int hit = tabAt(event->position().toPoint());
        if (event->button() == Qt::LeftButton && hit >= 0 && hit != currentIndex() && !strip_.Allowed(hit))
            return;
        QTabBar::mousePressEvent(event);
        strip_.FireMouse(strip_.MouseDown, event);
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        QTabBar::mouseReleaseEvent(event);
        strip_.FireMouse(strip_.MouseUp, event);
    }
    void focusInEvent(QFocusEvent* event) override {
        QTabBar::focusInEvent(event);
        Fire(strip_.GotFocus);
    }

private:
    TabStrip& strip_;
};

TabStrip::TabStrip(QWidget* parent)
    : Control<QWidget>(parent), bar_(new Row(*this)), panel_(new QFrame(this)) {
    bar_->setExpanding(false);
    bar_->setUsesScrollButtons(false);
    bar_->setDrawBase(false);
    panel_->setFrameShape(QFrame::StyledPanel);
    panel_->lower();
    setAcceptDrops(true);
    QObject::connect(bar_, &QTabBar::currentChanged, [this](int) {
        if (quiet_ == 0) Fire(Click);
    });
    Layout();
}

TabStrip::~TabStrip() = default;

void TabStrip::CheckIndex(int index) const {
    if (index < 1 || index > TabCount()) throw VbError(kErrIndexOutOfBounds, "Index out of bounds");
}

int TabStrip::TabCount() const { return bar_->count(); }

int TabStrip::AddTab(const QString& caption, const QString& imageKey, int index, const QString& key) {
    ++quiet_;
    const int at = (index >= 1 && index <= TabCount()) ? index - 1 : TabCount();
    bar_->insertTab(at, LiteralCaption(caption));
    setData(*bar_, at, TabData{key, QString()});
    --quiet_;
    if (!imageKey.isEmpty()) SetTabImage(at + 1, imageKey);
    Layout();
    return at + 1;
}

void TabStrip::RemoveTab(int index) {
    CheckIndex(index);
    ++quiet_;
    bar_->removeTab(index - 1);
    --quiet_;
    Layout();
}

void TabStrip::ClearTabs() {
    ++quiet_;
    while (bar_->count() > 0) bar_->removeTab(0);
    --quiet_;
    Layout();
}

QString TabStrip::TabCaption(int index) const {
    CheckIndex(index);
    QString t = bar_->tabText(index - 1);
    t.replace(QStringLiteral("&&"), QStringLiteral("&"));
    return t;
}

void TabStrip::SetTabCaption(int index, const QString& caption) {
    CheckIndex(index);
    bar_->setTabText(index - 1, LiteralCaption(caption));
    Layout();
}

QString TabStrip::TabKey(int index) const {
    CheckIndex(index);
    return dataOf(*bar_, index - 1).key;
}

QString TabStrip::TabImage(int index) const {
    CheckIndex(index);
    return dataOf(*bar_, index - 1).image;
}

void TabStrip::SetTabImage(int index, const QString& key) {
    CheckIndex(index);
    QIcon icon;
    if (images_ && !key.isEmpty()) {
        if (!images_->Exists(key)) throw VbError(kErrElementNotFound, "Element not found");
        icon = images_->Icon(key);
    }
    TabData d = dataOf(*bar_, index - 1);
    d.image = key;
    setData(*bar_, index - 1, d);
    bar_->setTabIcon(index - 1, icon);
}

void TabStrip::SetTabImage(int index, int imageIndex) {
    CheckIndex(index);
    const QIcon icon = images_ ? images_->Icon(imageIndex) : QIcon();  // 35600 when out of range
    TabData d = dataOf(*bar_, index - 1);
    d.image = QString::number(imageIndex);
    setData(*bar_, index - 1, d);
    bar_->setTabIcon(index - 1, icon);
}

int TabStrip::TabLeft(int index) const {
    CheckIndex(index);
    return PixelsToTwipsX(bar_->x() + bar_->tabRect(index - 1).x());
}

int TabStrip::TabWidth(int index) const {
    CheckIndex(index);
    return PixelsToTwipsX(bar_->tabRect(index - 1).width());
}

int TabStrip::TabHeight(int index) const {
    CheckIndex(index);
    return PixelsToTwipsY(bar_->tabRect(index - 1).height());
}

int TabStrip::ClientTop() const { return placement_ == tabPlacementTop ? PixelsToTwipsY(bar_->height()) : 0; }

bool TabStrip::Allowed(int newIndex) {
    if (newIndex == bar_->currentIndex()) return false;
    int cancel = 0;
    Fire(BeforeClick, cancel);
    return cancel == 0;
}

void TabStrip::Select(int index) {
    CheckIndex(index);
    if (!Allowed(index - 1)) return;
    bar_->setCurrentIndex(index - 1);  // Click through currentChanged
}

void TabStrip::SetImageList(const ImageList* images) { images_ = images; }

void TabStrip::SetPlacement(int placement) {
    placement_ = placement;
    bar_->setShape(placement == tabPlacementBottom ? QTabBar::RoundedSouth : QTabBar::RoundedNorth);
    Layout();
}

void TabStrip::Layout() {
    const int barHeight = bar_->sizeHint().height();
    const int barWidth = std::min(width(), bar_->sizeHint().width());
    if (placement_ == tabPlacementBottom) {
        panel_->setGeometry(0, 0, width(), std::max(0, height() - barHeight + 1));
        bar_->setGeometry(0, height() - barHeight, barWidth, barHeight);
    } else {
        bar_->setGeometry(0, 0, barWidth, barHeight);
        panel_->setGeometry(0, barHeight - 1, width(), std::max(0, height() - barHeight + 1));
    }
}

void TabStrip::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Layout();
}

void TabStrip::FireMouse(const MouseHandler& handler, QMouseEvent* event) {
    const QPoint p = bar_->mapTo(this, event->position().toPoint());
    Fire(handler, VbButton(event->button()), VbShift(event->modifiers()), PixelsToTwipsX(p.x()),
         PixelsToTwipsY(p.y()));
}

// ---- dragging ----

QWidget* TabStrip::DragSource() { return gDragSource.data(); }

void TabStrip::Drag(int action) {
    if (action != vbBeginDrag) {
        dragWanted_ = false;
        return;
    }
    dragWanted_ = true;
    QTimer::singleShot(0, this,
                       [this] { platform::loop::RunHandler("dragging a tab", [this] { StartDrag(); }); });
}

void TabStrip::StartDrag() {
    if (!dragWanted_) return;
    dragWanted_ = false;
    auto* drag = new QDrag(this);  // owned by Qt for the drag's length
    auto* mime = new QMimeData();
    mime->setData(QString::fromLatin1(kDragFormat), QByteArray());
    drag->setMimeData(mime);
    if (!dragIcon_.isNull()) drag->setPixmap(dragIcon_);
    gDragSource = this;
    drag->exec(Qt::MoveAction);
    gDragSource = nullptr;
}

void TabStrip::dragEnterEvent(QDragEnterEvent* event) {
    if (!event->mimeData()->hasFormat(QString::fromLatin1(kDragFormat))) return;
    event->acceptProposedAction();
    const QPoint p = event->position().toPoint();
    Fire(DragOver, DragSource(), PixelsToTwipsX(p.x()), PixelsToTwipsY(p.y()), static_cast<int>(vbEnter));
}

void TabStrip::dragMoveEvent(QDragMoveEvent* event) {
    if (!event->mimeData()->hasFormat(QString::fromLatin1(kDragFormat))) return;
    event->acceptProposedAction();
    const QPoint p = event->position().toPoint();
    Fire(DragOver, DragSource(), PixelsToTwipsX(p.x()), PixelsToTwipsY(p.y()), static_cast<int>(vbOver));
}

void TabStrip::dragLeaveEvent(QDragLeaveEvent* /*event*/) {
    const QPoint p = mapFromGlobal(QCursor::pos());
    Fire(DragOver, DragSource(), PixelsToTwipsX(p.x()), PixelsToTwipsY(p.y()), static_cast<int>(vbLeave));
}

void TabStrip::dropEvent(QDropEvent* event) {
    if (!event->mimeData()->hasFormat(QString::fromLatin1(kDragFormat))) return;
    event->acceptProposedAction();
    const QPoint p = event->position().toPoint();
    Fire(DragDrop, DragSource(), PixelsToTwipsX(p.x()), PixelsToTwipsY(p.y()));
}

}  // namespace vb
