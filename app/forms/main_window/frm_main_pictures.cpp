// The main window's pictures: every image list filled from the program's own
// drawings.
#include "app/forms/common/pictures.h"
#include "app/forms/main_window/frm_main.h"

void frmMain::FillPictures() {
    using forms::PictureSet;
    const std::pair<vb::ImageList*, PictureSet> lists[] = {
        {&imlTrayIcons, PictureSet::TrayIcons},
        {&imlPopMenu, PictureSet::PopMenu},
        {&imlClientButtons, PictureSet::ClientButtons},
        {&imlTabIcons, PictureSet::TabIcons},
        {&imlListViewIcons, PictureSet::ListViewIcons},
        {&imlListViewColumnHeader, PictureSet::ListViewColumnHeader},
        {&imlDragIcons, PictureSet::DragIcons},
        {&imlOptions, PictureSet::Options},
        {&imlMainIcons, PictureSet::MainIcons},
        {&imlButtons, PictureSet::Buttons},
        {&imlSortOrder, PictureSet::SortOrder},
        {&imlEmailIcons, PictureSet::EmailToolBar},
        {&imlAcntIcons, PictureSet::AcntsToolBar},
        {&imlRulesIcons, PictureSet::RulesToolBar},
        {&imlColourIcons, PictureSet::ColourToolBar},
        {&imlMoveIcons, PictureSet::MoveButtons},
        {&imlRuleUpdateIcons, PictureSet::RuleUpdateToolBar},
        {&imlSoundIcons, PictureSet::SoundToolBar},
        {&imlOptMiscIcons, PictureSet::OptMiscToolBar},
        {&imlOptAboutIcons, PictureSet::OptAboutToolBar},
    };
    for (const auto& [list, set] : lists) forms::FillImageList(*list, set);
    forms::FillImageList(imlButtonsDisabled, PictureSet::Buttons, 16, true);
    // Tool bars bound their lists while they were empty: bind them again so
    // their buttons take the pictures.
    // (The controls carry no meta-object of their own, so they are told apart
    // by their C++ type.)
    for (QWidget* child : findChildren<QWidget*>()) {
        if (auto* bar = dynamic_cast<vb::ToolBar*>(child)) {
            bar->SetImageList(bar->Images());
            bar->SetDisabledImageList(bar->DisabledImages());
        }
    }
}
