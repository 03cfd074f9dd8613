#pragma once
// The extra width the page buttons need beyond their designed bar, in twips:
// measured once by the main window's layout and added, whole or halved, to
// the widths and left edges of the pages' controls there and on the Options
// page, so that text drawn wider than designed never overlaps.
namespace forms {

extern int gLayoutOffset;

}  // namespace forms
