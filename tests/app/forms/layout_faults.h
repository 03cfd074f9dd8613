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
#include <QTabBar>
#include <QToolButton>
#include <algorithm>
#include <string>
#include <vector>

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

inline bool TextFits(const QWidget& w) {
    if (const auto* l = qobject_cast<const QLabel*>(&w))
        return l->wordWrap() ? l->heightForWidth(l->width()) <= l->height()
                             : l->sizeHint().width() <= l->width();
    if (const auto* b = qobject_cast<const QAbstractButton*>(&w); b && !b->text().isEmpty())
        return b->sizeHint().width() <= b->width();
    return true;
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
        if (!TextFits(*w)) faults += Describe(*w, form) + ": its text does not fit\n";
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
