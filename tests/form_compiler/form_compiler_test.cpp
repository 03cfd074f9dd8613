// A window built from its description: every control in its container, in
// its place, with its designed properties, and torn down without a fault.
#include <gtest/gtest.h>

#include <QMenu>

#include "platform/ui/twips.h"
#include "tests/form_compiler/sample_design.h"

namespace {

class frmSample : public vb::Form, public frmSampleDesign {
public:
    frmSample() : frmSampleDesign(this) {}
};

TEST(FormDescription, ControlsStandInTheirContainersWithTheirDesign) {
    frmSample form;
    EXPECT_EQ(form.Caption(), QStringLiteral("Sample & \"quoted\""));
    EXPECT_EQ(form.ScaleWidth(), vb::PixelsToTwipsX(vb::TwipsToPixelsX(6000)));

    struct Row {
        const QWidget* control;
        const QWidget* container;
    };
    const Row rows[] = {
        {&form.fraPage(0), &form},           {&form.fraPage(1), &form},
        {&form.fraBar(0), &form.fraPage(0)}, {&form.fraBar(1), &form.fraPage(1)},
        {&form.cmdGo(0), &form.fraBar(0)},   {&form.cmdGo(1), &form.fraBar(1)},
        {&form.lblTitle, &form.fraPage(0)},  {&form.txtNotes, &form.fraPage(1)},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.control->parentWidget(), row.container) << row.control->metaObject()->className();

    EXPECT_EQ(form.cmdGo(0).Caption(), QStringLiteral("Go"));
    EXPECT_EQ(form.cmdGo(0).ToolTipText(), QStringLiteral("Run it"));
    EXPECT_EQ(form.cmdGo(1).Caption(), QStringLiteral("Stop"));
    EXPECT_FALSE(form.cmdGo(1).isEnabledTo(&form.fraBar(1)));
    EXPECT_TRUE(form.fraPage(1).isHidden());
    EXPECT_EQ(form.lblTitle.Caption(), QStringLiteral("Title #1")) << "a comment ends the line, not a text";
    EXPECT_EQ(form.lblTitle.Alignment(), vb::vbCenter);
    EXPECT_EQ(form.lblTitle.Left(), vb::PixelsToTwipsX(vb::TwipsToPixelsX(120)));
    EXPECT_EQ(form.lblTitle.Width(), vb::PixelsToTwipsX(vb::TwipsToPixelsX(3000)));
    EXPECT_TRUE(form.txtNotes.MultiLine()) << "With gives the constructor's arguments";
    EXPECT_EQ(form.tmrTick.Interval(), 1000);
    EXPECT_FALSE(form.tmrTick.Enabled());
}

TEST(FormDescription, ChainedCallsReachWhatACallReturns) {
    frmSample form;
    ASSERT_EQ(form.tbrSample.ButtonCount(), 2);
    EXPECT_EQ(form.tbrSample.Buttons(1).Caption(), QStringLiteral("Save   ")) << "trailing blanks are kept";
    EXPECT_EQ(form.tbrSample.Buttons(1).Image(), QStringLiteral("Save"));
    EXPECT_EQ(form.tbrSample.Buttons(1).ToolTipText(), QStringLiteral("Save it"));
    EXPECT_EQ(form.tbrSample.Buttons(2).ToolTipText(), QStringLiteral("Quit (now)"))
        << "a bracket inside a text";
    EXPECT_TRUE(form.tbrSample.Buttons(1).Enabled());
    EXPECT_FALSE(form.tbrSample.Buttons(2).Enabled());
}

TEST(FormDescription, MenusNestAsDescribedAndArraysWireOneHandler) {
    frmSample form;
    EXPECT_EQ(form.mnuPopOpen.Caption(), QStringLiteral("&Open|#Open"));
    ASSERT_NE(form.mnuPopMore.QtMenu(), nullptr);
    EXPECT_EQ(form.mnuPopMore.QtMenu()->actions().size(), 2);
    EXPECT_EQ(form.mnuPopItem(1).Caption(), QStringLiteral("Second"));

    std::vector<int> clicked;
    form.cmdGo.Wire(&vb::CommandButton::Click, [&clicked](int Index) { clicked.push_back(Index); });
    form.cmdGo(1).SetValue(true);
    form.cmdGo(0).SetValue(true);
    EXPECT_EQ(clicked, (std::vector<int>{1, 0}));
}

// A group holds the controls its description names for it, those held by a
// control whose first group it is, and no others.
template <class Group>
concept ReachesNotes = requires(Group& g) {
    g.txtNotes;
};
template <class Group>
concept ReachesBar = requires(Group& g) {
    g.fraBar;
};
static_assert(!ReachesNotes<frmSampleDesign::PageOneControls> &&
              ReachesNotes<frmSampleDesign::PageTwoControls>);
static_assert(ReachesBar<frmSampleDesign::PageOneControls> && !ReachesBar<frmSampleDesign::LayoutControls>,
              "only the first group of a container passes to what it holds");

TEST(FormDescription, GroupsBindTheDesignsOwnControlsAndElementsHaveTheirNames) {
    frmSample form;
    const frmSampleDesign::PageOneControls one(form);
    const frmSampleDesign::LayoutControls layout(form);
    const frmSampleDesign::PageTwoControls two(form);
    struct Row {
        const void* bound;
        const void* designed;
        const char* what;
    };
    const Row rows[] = {
        {&one.fraPage, &form.fraPage, "PageOne's page frames"},
        {&one.fraBar, &form.fraBar, "PageOne's bar, held by its page"},
        {&one.cmdGo, &form.cmdGo, "PageOne's buttons, held by its bar"},
        {&one.lblTitle, &form.lblTitle, "PageOne's title, tagged for two groups"},
        {&layout.fraPage, &form.fraPage, "Layout's page frames"},
        {&layout.lblTitle, &form.lblTitle, "Layout's title"},
        {&two.cmdGo, &form.cmdGo, "PageTwo's buttons, one element tagged for it"},
        {&two.txtNotes, &form.txtNotes, "PageTwo's notes"},
        {&two.tmrTick, &form.tmrTick, "PageTwo's window-level timer"},
    };
    for (const Row& row : rows) EXPECT_EQ(row.bound, row.designed) << row.what;

    namespace named = frmSampleElements;
    EXPECT_EQ(&form.fraPage(named::fraPage::kFirst), &form.fraPage(0));
    EXPECT_EQ(&form.fraPage(named::fraPage::kSecond), &form.fraPage(1));
    EXPECT_EQ(form.cmdGo(named::cmdGo::kGo).Caption(), QStringLiteral("Go"));
    EXPECT_EQ(form.cmdGo(named::cmdGo::kStop).Caption(), QStringLiteral("Stop"));
    // An item is numbered among its control's calls of the same method.
    EXPECT_EQ(form.tbrSample.Buttons(named::tbrSample::kSave).Key(), QStringLiteral("Save"));
    EXPECT_EQ(form.tbrSample.Buttons(named::tbrSample::kQuit).Key(), QStringLiteral("Quit"));
    EXPECT_FALSE(form.tbrSample.Buttons(named::tbrSample::kQuit).Enabled());
}

}  // namespace
