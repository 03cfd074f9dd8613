// The first-use window: its flag and the pause of the automatic check while
// it is open, its texts and place, its OK button and its tool-bar style.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDate>
#include <QRegularExpression>
#include <QScreen>
#include <QStringList>
#include <QTest>

#include "app/forms/common/child_tool_bar_style.h"
#include "app/forms/common/child_windows.h"
#include "app/forms/common/pictures.h"
#include "app/forms/first_use/frm_first_use.h"
#include "app/general/check_status.h"
#include "app/options/option_values.h"
#include "platform/ui/app_info.h"
#include "platform/ui/forms.h"
#include "platform/ui/tool_bar.h"
#include "platform/ui/twips.h"
#include "tests/app/forms/laid_out_main_window.h"
#include "tests/app/forms/layout_faults.h"

namespace {

class FrmFirstUseTest : public testing::Test {
protected:
    void SetUp() override {
        modGeneral::gAppName = QStringLiteral("Veltrane");
        main_ = &LaidOutMainWindow();
    }
    void TearDown() override {
        vb::Forms::Unload<frmFirstUse>();
        main_->mQuitting = true;
        vb::Forms::Unload<frmMain>();
    }
    // The main window's automatic-check pauses waiting for their Restore,
    // and whether the window says it is showing.
    QString Paused() const {
        return QString::number(main_->checks().AutoCheckPauses()) +
               (forms::FirstUseShown() ? "/open" : "/closed");
    }
    frmMain* main_ = nullptr;
};

TEST_F(FrmFirstUseTest, OpenPausesTheCheckAndOkClosesAndResumes) {
    ASSERT_FALSE(forms::FirstUseShown());
    // Opened with the main window's link, as the start procedure opens it.
    frmFirstUse& form = vb::Forms::Get<frmFirstUse>(&main_->childWindows());
    form.Show();
    EXPECT_EQ(Paused(), "1/open");

    QTest::mouseClick(&form.tbrButtons.Buttons("OK").QtButton(), Qt::LeftButton);
    EXPECT_FALSE(vb::Forms::IsLoaded<frmFirstUse>());
    EXPECT_EQ(Paused(), "0/closed");

    vb::Forms::Get<frmFirstUse>(&main_->childWindows());  // opened again (a later run)
    EXPECT_EQ(Paused(), "1/open");
    ASSERT_TRUE(vb::Forms::Unload<frmFirstUse>());  // the main window's shutdown
    EXPECT_EQ(Paused(), "0/closed");
}

TEST_F(FrmFirstUseTest, TextsAndButton) {
    // The running program's name, wherever the window names it.
    modGeneral::gAppName = QStringLiteral("Mail Lookout");
    frmFirstUse& form = vb::Forms::Get<frmFirstUse>();
    EXPECT_TRUE(form.Caption().startsWith("Mail Lookout - ")) << form.Caption().toStdString();
    EXPECT_EQ(form.lblTitle.Caption(), "Mail Lookout");
    EXPECT_TRUE(form.fraIntro.Caption().endsWith(" Mail Lookout")) << form.fraIntro.Caption().toStdString();
    EXPECT_TRUE(form.lblVersion.Caption().contains(QRegularExpression("^Version \\d+\\.\\d+$")))
        << form.lblVersion.Caption().toStdString();
    EXPECT_TRUE(form.lblCopyRight2.Caption().endsWith(QDate::currentDate().toString(u"yyyy")));
    EXPECT_TRUE(form.lblCopyRight1.Caption().endsWith(vb::App::CompanyName()));
    form.Show();
    QApplication::processEvents();
    EXPECT_EQ(LayoutFaults(form), "") << "every text shows whole, none over another";

    // Whatever the desktop's font, no step is cut and none covers the next.
    const vb::Label* steps[] = {&form.lblDescription1, &form.lblDescription2, &form.lblDescription3,
                                &form.lblDescription4, &form.lblDescription5, &form.Label6};
    int below = 0;
    for (const vb::Label* step : steps) {
        const int needed = step->heightForWidth(step->width());
        EXPECT_GE(step->height(), needed) << step->Caption().toStdString();
        EXPECT_GE(step->y(), below) << step->Caption().toStdString();
        below = step->y() + needed;
    }
    EXPECT_LE(below, form.fraIntro.height());
    EXPECT_EQ(form.Label4.y(), form.lblDescription4.y()) << "each number stays beside its step";

    ASSERT_EQ(form.tbrButtons.ButtonCount(), 1);
    const vb::ToolButton& ok = form.tbrButtons.Buttons(1);
    EXPECT_EQ(ok.Key(), "OK");
    EXPECT_EQ(ok.Caption().trimmed(), "OK");
    EXPECT_EQ(ok.Image(), "OK");
    EXPECT_EQ(ok.ToolTipText(), "");
    EXPECT_FALSE(forms::IsFallbackPicture(form.imlButtons.Picture("OK"))) << "the program's own picture";
    EXPECT_FALSE(forms::IsFallbackPicture(form.imgTitle.Picture()));
}

TEST_F(FrmFirstUseTest, AFixedDialogCentredOnTheScreen) {
    frmFirstUse& form = vb::Forms::Get<frmFirstUse>();
    EXPECT_EQ(form.BorderStyle(), vb::vbFixedDialog);
    EXPECT_FALSE(form.ShowInTaskbar());
    EXPECT_EQ(form.size(), QSize(vb::TwipsToPixelsX(6000), vb::TwipsToPixelsY(6132)));
    EXPECT_EQ(form.minimumSize(), form.maximumSize()) << "not resizable";
    form.Show();
    const QRect screen = form.screen()->availableGeometry();
    EXPECT_NEAR(form.frameGeometry().center().x(), screen.center().x(), 2);
    EXPECT_NEAR(form.frameGeometry().center().y(), screen.center().y(), 2);

    // The button area: the bar twice its height and as wide as its button,
    // its frame 1.7 times as high and ending near the intro frame's right edge.
    EXPECT_EQ(form.tbrButtons.Width(), form.tbrButtons.ButtonWidth());
    EXPECT_NEAR(form.tbrButtons.Height(), 2 * 330, 30);
    EXPECT_NEAR(form.fraButtons.Height(), 1.7 * 405, 30);
    EXPECT_NEAR(form.fraButtons.Width(), form.tbrButtons.Width() + 50, 30);
    EXPECT_NEAR(form.fraButtons.Left(), form.fraIntro.Width() - form.tbrButtons.Width() + 100, 30);
}

TEST_F(FrmFirstUseTest, ToolBarStyleFollowsTheButtonOptions) {
    struct Case {
        int buttonStyle;
        int applyStyle;
        int style;
    };
    const Case cases[] = {
        {0, 0, vb::tbrFlat}, {0, 3, vb::tbrFlat},     {1, 0, vb::tbrStandard}, {1, 1, vb::tbrFlat},
        {1, 2, vb::tbrFlat}, {1, 3, vb::tbrStandard}, {1, 5, vb::tbrStandard},  // designed
        {2, 0, vb::tbrFlat},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(forms::ChildToolBarStyle(c.buttonStyle, c.applyStyle, 7), c.applyStyle == 5 ? 7 : c.style)
            << "an unknown ApplyStyle keeps whatever was designed";
        modOptions::gOpt.ButtonStyle = static_cast<int16_t>(c.buttonStyle);
        modOptions::gOpt.ApplyStyle = static_cast<int16_t>(c.applyStyle);
        EXPECT_EQ(vb::Forms::Get<frmFirstUse>().tbrButtons.Style(), c.style)
            << "ButtonStyle " << c.buttonStyle << ", ApplyStyle " << c.applyStyle;
        ASSERT_TRUE(vb::Forms::Unload<frmFirstUse>());
        QTest::qWait(0);  // the unloaded window goes
    }
}

}  // namespace
