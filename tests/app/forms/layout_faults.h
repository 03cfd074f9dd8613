#pragma once
// What a user would see wrong in a window as it stands, found from its
// widgets rather than from its designed places: a control cut by its
// container or the window, a text that does not fit its box, two controls
// drawn over each other.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QString>
#include <QTabBar>
#include <QToolButton>
#include <algorithm>
#include <string>
#include <vector>

// What a control needs beyond what it has to show its text whole, in pixels;
// 0 when its text fits. A wrapping label needs the height its text wraps to
// at its width, down to its last line that shows something.
inline int TextShortfall(const QWidget& w) {
    if (const auto* label = qobject_cast<const QLabel*>(&w)) {
        if (label->text().isEmpty() || !label->pixmap().isNull()) return 0;
        if (!label->wordWrap()) return std::max(0, label->sizeHint().width() - label->width());
        QString shown = label->text();
        while (shown.endsWith(QLatin1Char('\n'))) shown.chop(1);
        const QRect room = label->contentsRect();
        const QRect needed = label->fontMetrics().boundingRect(QRect(0, 0, room.width(), 100000),
                                                               Qt::TextWordWrap | label->alignment(), shown);
        return std::max({0, needed.height() - room.height(), needed.width() - room.width()});
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(&w); button && !button->text().isEmpty())
        return std::max(0, w.sizeHint().width() - w.width());
    return 0;
}

namespace layout_faults {

// Where w sits in the window, for a failure's message.
inline std::string Describe(const QWidget& w, const QWidget& form) {
    std::string s = w.metaObject()->className();
    if (const auto* l = qobject_cast<const QLabel*>(&w)) s += " '" + l->text().left(40).toStdString() + "'";
    if (const auto* b = qobject_cast<const QAbstractButton*>(&w)) {
        s += " '" + b->text().toStdString() + "'";
        if (!b->toolTip().isEmpty()) s += " (" + b->toolTip().toStdString() + ")";
    }
    const QPoint at = w.mapTo(&form, QPoint(0, 0));
    return s + " at " + std::to_string(at.x()) + "," + std::to_string(at.y()) + " " +
           std::to_string(w.width()) + "x" + std::to_string(w.height());
}

// The widgets a user reads or uses: buttons, boxes, lists and texts, not the
// parts inside them.
inline bool ReadOrUsed(const QWidget& w) {
    for (const QWidget* p = w.parentWidget(); p; p = p->parentWidget())
        if (qobject_cast<const QAbstractItemView*>(p) || qobject_cast<const QComboBox*>(p) ||
            qobject_cast<const QAbstractSpinBox*>(p) || qobject_cast<const QAbstractButton*>(p) ||
            qobject_cast<const QTabBar*>(p))
            return false;
    if (const auto* l = qobject_cast<const QLabel*>(&w)) return !l->text().isEmpty() || !l->pixmap().isNull();
    return qobject_cast<const QAbstractButton*>(&w) || qobject_cast<const QLineEdit*>(&w) ||
           qobject_cast<const QComboBox*>(&w) || qobject_cast<const QAbstractItemView*>(&w) ||
           qobject_cast<const QAbstractSpinBox*>(&w) || qobject_cast<const QTabBar*>(&w);
}

// The part of w its containers let show, in window coordinates.
inline QRect Shown(const QWidget& w, const QWidget& form) {
    QRect r(w.mapTo(&form, QPoint(0, 0)), w.size());
    for (const QWidget* p = w.parentWidget(); p && p != &form; p = p->parentWidget())
        r &= QRect(p->mapTo(&form, QPoint(0, 0)), p->size());
    return r & form.rect();
}

// What w draws, in window coordinates: a one-line text or a check box only as
// wide as it needs, a wrapped text as high, a picture button its picture.
inline QRect Drawn(const QWidget& w, const QWidget& form) {
    QRect r(QPoint(0, 0), w.size());
    const auto* label = qobject_cast<const QLabel*>(&w);
    if ((label && !label->wordWrap()) || qobject_cast<const QCheckBox*>(&w) ||
        qobject_cast<const QRadioButton*>(&w)) {
        const int needed = std::min(w.width(), w.sizeHint().width());
        const Qt::Alignment align = label ? label->alignment() : Qt::AlignLeft;
        const int left = align & Qt::AlignRight     ? w.width() - needed
                         : align & Qt::AlignHCenter ? (w.width() - needed) / 2
                                                    : 0;
        r = QRect(left, 0, needed, w.height());
    } else if (label) {
        // A wrapped text: as high as its lines.
        const int needed = std::min(w.height(), label->heightForWidth(w.width()));
        const Qt::Alignment align = label->alignment();
        const int top = align & Qt::AlignBottom    ? w.height() - needed
                        : align & Qt::AlignVCenter ? (w.height() - needed) / 2
                                                   : 0;
        r = QRect(0, top, w.width(), needed);
    } else if (const auto* b = qobject_cast<const QToolButton*>(&w);
               b && b->text().isEmpty() && b->arrowType() == Qt::NoArrow) {
        r = QRect(QPoint(0, 0), b->iconSize());
        r.moveCenter(QRect(QPoint(0, 0), w.size()).center());
    }
    return r.translated(w.mapTo(&form, QPoint(0, 0)));
}

// The faults of `form` as it shows now, one a line; empty when none.
inline std::string LayoutFaults(const QWidget& form) {
    std::vector<const QWidget*> shown;
    for (const QWidget* w : form.findChildren<QWidget*>())
        if (w->isVisibleTo(&form) && w->width() > 1 && ReadOrUsed(*w)) shown.push_back(w);
    std::string faults;
    for (const QWidget* w : shown) {
        const QRect drawn = Drawn(*w, form);
        if ((Shown(*w, form) & drawn) != drawn) faults += Describe(*w, form) + " is cut\n";
        if (TextShortfall(*w) > 0) faults += Describe(*w, form) + ": its text does not fit\n";
    }
    for (std::size_t i = 0; i < shown.size(); ++i)
        for (std::size_t j = 0; j < i; ++j) {
            const QRect both = Drawn(*shown[i], form) & Drawn(*shown[j], form);
            if (both.width() > 2 && both.height() > 2)
                faults += Describe(*shown[i], form) + " covers " + Describe(*shown[j], form) + "\n";
        }
    return faults;
}

}  // namespace layout_faults

using layout_faults::LayoutFaults;
