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

}  // namespace
