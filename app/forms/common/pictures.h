#pragma once
// The program's own pictures: SVG files in the data folder's "icons" folder,
// drawn at the size a control asks for, and the sets that fill each image
// list of the windows in the order and under the keys the windows use.

#include <QIcon>
#include <QPixmap>
#include <QString>
#include <span>

#include "platform/ui/image_list.h"

namespace forms {

// <data folder>/icons
QString PictureFolder();

// The picture <name>.svg drawn at size x size pixels. A missing or unreadable
// file gives the fallback picture (a red-framed box with a cross), so a gap is
// seen on screen rather than an empty button.
QPixmap Picture(const QString& name, int size = 16);
bool PictureExists(const QString& name);
// True for a picture that is the fallback (for checks of the data folder).
bool IsFallbackPicture(const QPixmap& picture);

// The program's icon (the tray's normal picture) at the sizes a desktop shows,
// made every window's icon: the child windows and the message boxes carry it
// as the main window does.
QIcon ProgramIcon();
void UseProgramIcon();

// The greyed, lighter look of a picture, for the disabled image lists.
QPixmap DisabledPicture(const QPixmap& picture);

// One image of a list: its key (empty: addressed by position only) and the
// picture file it shows.
struct PictureEntry {
    const char* key;
    const char* file;
};

enum class PictureSet {
    TrayIcons,             // imlTrayIcons, positions 1 ... 40
    PopMenu,               // imlPopMenu
    ClientButtons,         // imlClientButtons
    TabIcons,              // imlTabIcons
    ListViewIcons,         // imlListViewIcons
    ListViewColumnHeader,  // imlListViewColumnHeader
    DragIcons,             // imlDragIcons
    Options,               // imlOptions, one per Options panel
    MainIcons,             // imlMainIcons (page switches)
    Buttons,               // imlButtons / imlButtonsDisabled (page command bars)
    SortOrder,             // the picture of the sort order option
    EmailToolBar,          // tbrEmail
    AcntsToolBar,          // tbrAcnts
    RulesToolBar,          // tbrRules
    ColourToolBar,         // tbrColour
    MoveButtons,           // tbrMoveButtons, both elements
    RuleUpdateToolBar,     // tbrRuleUpdate, both elements
    SoundToolBar,          // tbrSound
    OptMiscToolBar,        // tbrOptMisc
    OptAboutToolBar,       // tbrOptAbout
    Preview,               // imlPreview of the preview window
    OkButton,              // imlButtons of the pop-up and the first-use window
    RuleReport,            // tool-bar and tab pictures of the rule report
    RuleFileButtons,       // imlButtons of the rules file name window
};

std::span<const PictureEntry> PicturesOf(PictureSet set);

// Appends the set's pictures to `list` at `size` pixels (greyed when
// `disabled`), under their keys.
void FillImageList(vb::ImageList& list, PictureSet set, int size = 16, bool disabled = false);

// Positions in the tray list of the pieces the count picture is built from.
inline constexpr int kTrayNormal = 7;
inline constexpr int kTrayNoConnection = 8;
inline constexpr int kTrayAutoCheckOff = 9;
inline constexpr int kTrayAccountColours = 6;

// The tray picture of one account's message count on a list filled with
// PictureSet::TrayIcons: 0-9 a single digit over the base, 10-99 tens over
// units, above 99 the over-99 mark over the base; the account's colour ring
// (colour index 1 ... 6) drawn over that. The composite passes through the
// temporary position 41, which is removed again. A colour index outside the
// palette draws no ring; a negative count shows 0.
QPixmap ComposeCountPicture(vb::ImageList& trayIcons, int count, int colourIndex);

}  // namespace forms
