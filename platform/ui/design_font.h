#pragma once
// The face the windows are drawn in. Their places and sizes (twips) were
// designed for MS Sans Serif at 8 points; text drawn in a wider face is cut.
// That face's one free clone is a bitmap face in one weight at three sizes,
// which can draw neither the bold rows nor the larger titles; the closest
// scalable face with a bold weight is the Tahoma clone of Debian's
// fonts-wine (which the package requires), within 2 % of the designed widths.
// Where it is missing, the next closest faces stand in.
#include <QFont>
#include <QStringList>

namespace vb {

// The families tried in order: the designed face, then the fallbacks.
QStringList DesignFamilies();

// The designed face at `points` (8 unless a control says otherwise).
QFont DesignFont(double points = 8);

// Makes the designed face every window's font: registers the face from its
// package's folder when the font configuration does not list it, and sets
// it as the application's font. Once per process; later calls do nothing.
// Needs the QApplication.
void UseDesignFont();

// Whether the designed face itself (not a fallback) is what windows draw.
bool DesignFaceInstalled();

}  // namespace vb
