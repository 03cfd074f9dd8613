#pragma once
// A fresh main window laid out and sized as its load does it, for the window
// tests and the pictures of its pages.
#include <QPixmap>

#include "app/forms/frm_main.h"
#include "platform/ui/forms.h"

inline frmMain& LaidOutMainWindow() {
    vb::Forms::Unload<frmMain>();
    frmMain& form = vb::Forms::Get<frmMain>();
    // The pictures are in their lists before the layout: it names the blank
    // header picture.
    QPixmap blank(16, 16);
    blank.fill(Qt::transparent);
    if (!form.imlListViewColumnHeader.Exists(QStringLiteral("Blank")))
        form.imlListViewColumnHeader.Add(blank, QStringLiteral("Blank"));
    form.ArrangeControls();
    form.SizeAndCentre();
    return form;
}
