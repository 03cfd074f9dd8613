// The Options page: its panel tree, its layout at load, its help, and the
// fields that record pending option values.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QStringList>

#include "app/forms/frm_main.h"
#include "app/forms/layout_offset.h"
#include "app/forms/options_panels.h"
#include "app/general/check_status.h"
#include "app/options/option_values.h"
#include "platform/desktop/shell.h"
#include "platform/ui/forms.h"

using namespace modOptions;

namespace {

class OptionsPage : public ::testing::Test {
protected:
    void TearDown() override {
        platform::desktop::SetOpener({});
        form.mQuitting = true;
        vb::Forms::Unload<frmMain>();
    }
    bool SaveEnabled() { return form.tbrButtons(12).Buttons(1).Enabled() && form.tbrButtons(13).Buttons(1).Enabled(); }
    void ShowPanel(int node) {
        form.TreeView.Select(node);
        form.TreeView.Click();
    }
    frmMain& form = vb::Forms::Get<frmMain>();  // runs the whole load
};

// One pixel, the precision positions survive in.
constexpr int kPixel = 15;

}  // namespace

TEST_F(OptionsPage, EachNodeShowsItsPanelAloneWithItsTitleAndPicture) {
    ASSERT_EQ(form.TreeView.NodeCount(), 6);
    EXPECT_EQ(forms::gOptionsPage, 1) << "the load shows the first panel";
    EXPECT_TRUE(form.fraOptions(1).isVisibleTo(&form.fraOptionsBorder));
    const char* names[] = {"StartUp", "Auto Check", "Defaults", "Menu Colours", "Miscellaneous", "About"};
    for (int node : {3, 6, 1, 5, 2, 4}) {
        SCOPED_TRACE(node);
        ShowPanel(node);
        EXPECT_EQ(form.TreeView.NodeText(node), QString::fromLatin1(names[node - 1]));
        EXPECT_EQ(form.TreeView.NodeImage(node), node);
        EXPECT_EQ(forms::gOptionsPage, node);
        EXPECT_EQ(form.lblOptionsTitle.Caption(), QString::fromLatin1(names[node - 1]));
        EXPECT_EQ(form.imgOptTitleLeft.Picture().toImage(), form.imlOptions.Picture(node).toImage());
        for (int panel = 1; panel <= 6; ++panel)
            EXPECT_EQ(form.fraOptions(panel).isVisibleTo(&form.fraOptionsBorder), panel == node) << panel;
    }
}

TEST_F(OptionsPage, PanelsAreStackedInTheBorderAndWidenedByTheLayoutOffset) {
    const int offset = forms::gLayoutOffset;
    const int half = offset / 2;
    for (int panel = 1; panel <= 6; ++panel) {
        SCOPED_TRACE(panel);
        const vb::Frame& f = form.fraOptions(panel);
        EXPECT_NEAR(f.Left(), 36, kPixel);
        EXPECT_NEAR(f.Top(), 670, kPixel);
        EXPECT_NEAR(f.Width(), form.fraOptionsBorder.Width() - 72, kPixel);
        EXPECT_NEAR(f.Height(), 3914, kPixel);
        EXPECT_TRUE(f.Caption().isEmpty());
    }
    // Designed sizes plus the offset, whole or halved.
    struct Placed {
        const char* what;
        int actual;
        int designed;
    };
    const Placed placed[] = {
        {"border width", form.fraOptionsBorder.Width(), 6840 + offset},
        {"title width", form.lblOptionsTitle.Width(), 5520 + offset},
        {"right picture", form.imgOptTitleRight.Left(), 6360 + offset},
        {"explanation width", form.lblStartUp(0).Width(), 6000 + offset},
        {"theme frame", form.fra3DPreset.Left(), 240 + half},
        {"colour box", form.lbl3DTopColour.Left(), 4800 + half},
        {"sort frame", form.fraSort(1).Left(), 3420 + half},
        {"about title", form.lblAbout(0).Left(), 1200 + half},
        {"menu text left", form.lblMenuColours(2).Left(), form.lblOptionsTitle.Left()},
        {"menu text width", form.lblMenuColours(2).Width(), form.lblOptionsTitle.Width()},
    };
    for (const Placed& p : placed) EXPECT_NEAR(p.actual, p.designed, 2 * kPixel) << p.what;
    // The path boxes end before their bars, inside the panel.
    EXPECT_LT(form.txtDefaultClient.Left() + form.txtDefaultClient.Width(), form.tbrClient(0).Left());
    EXPECT_LE(form.tbrClient(0).Left() + form.tbrClient(0).Width(), form.fraOptions(3).Width());
    EXPECT_EQ(form.TabStripOptions.TabCount(), 0);
}

TEST_F(OptionsPage, NoCheckTimesAndAboutTextsAreFilledAtLoad) {
    for (int i = 0; i <= 1; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(form.txtNoCheckTime(i).Text(), gOptNoCheckTime[i]);
        EXPECT_EQ(form.updNoCheck(i).Value(), gOptNoCheckTime[i].left(2).toInt());
        EXPECT_EQ(form.updNoCheck(i + 2).Value(), gOptNoCheckTime[i].mid(3, 2).toInt());
        EXPECT_EQ(form.updNoCheck(i + 2).Left(), form.updNoCheck(i).Left());
        EXPECT_FALSE(form.updNoCheck(i + 2).isVisibleTo(&form.fraOptions(2)));
    }
    EXPECT_EQ(form.lblAbout(0).Caption(), modGeneral::gAppName);
    EXPECT_TRUE(form.lblAbout(1).Caption().startsWith(QStringLiteral("Version ")));
    EXPECT_TRUE(form.lblAboutEmail.Caption().endsWith(QStringLiteral("     Subject: Veltrane")));
    EXPECT_EQ(form.lblAboutWebSite.Caption(), QStringLiteral("WebSite HomePage"));
}

// An HTML viewer the desktop knows, so that help pages can be opened.
void InstallHtmlViewer() {
    const QDir apps(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                    QStringLiteral("/applications"));
    ASSERT_TRUE(QDir().mkpath(apps.path()));
    const auto write = [&apps](const char* name, const char* text) {
        QFile file(apps.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    };
    write("viewer.desktop", "[Desktop Entry]\nType=Application\nName=Viewer\nExec=true %u\nMimeType=text/html;\n");
    write("mimeinfo.cache", "[MIME Cache]\ntext/html=viewer.desktop;\n");
}

TEST_F(OptionsPage, HelpOpensTheTopicOfTheSelectedPanel) {
    InstallHtmlViewer();
    QStringList opened;
    platform::desktop::SetOpener([&opened](const QString& target) {
        opened << target;
        return true;
    });
    for (int node = 1; node <= 6; ++node) {
        ShowPanel(node);
        form.tbrButtons(11).ButtonClick(form.tbrButtons(11).Buttons(1));
    }
    ASSERT_EQ(opened.size(), 6);
    for (int node = 1; node <= 6; ++node)
        EXPECT_TRUE(opened[node - 1].endsWith(QStringLiteral("/help/%1.html").arg(200 + 10 * node))) << opened[node - 1].toStdString();
    form.TreeView.SetNodeText(2, QStringLiteral("Elsewhere"));
    ShowPanel(2);
    form.ShowOptionsHelp();
    EXPECT_EQ(opened.size(), 6) << "a node that names no panel opens nothing";
}

