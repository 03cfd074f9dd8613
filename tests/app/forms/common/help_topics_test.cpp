// Every help topic the windows open has its page, and the pages link only to
// pages that exist.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include "app/forms/common/help_topics.h"
#include "platform/desktop/help.h"
#include "platform/store/program_folder.h"

namespace {

QString DataFolder() { return QString::fromStdString(platform::store::InstallDataFolder().string()); }

QString Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

TEST(HelpTopics, EveryTopicHasATitledPage) {
    for (const int context : forms::kHelpContexts) {
        const QString page = Read(platform::desktop::HelpPagePath(DataFolder(), context));
        EXPECT_TRUE(page.contains(QStringLiteral("<title>Veltrane Help - "))) << context;
        EXPECT_TRUE(page.contains(QStringLiteral("<h1>"))) << context;
    }
}

TEST(HelpTopics, OptionsPanelsOpenTheirOwnTopic) {
    const struct {
        int panel;
        int context;
    } cases[] = {{1, 210}, {2, 220}, {4, 240}, {6, 260}, {0, 210}, {7, 210}, {-1, 210}};
    for (const auto& c : cases) EXPECT_EQ(forms::OptionsHelpContext(c.panel), c.context) << c.panel;
    for (int panel = 1; panel <= forms::kOptionsPanels; ++panel) {
        const int context = forms::OptionsHelpContext(panel);
        EXPECT_NE(std::find(forms::kHelpContexts.begin(), forms::kHelpContexts.end(), context),
                  forms::kHelpContexts.end());
    }
}

TEST(HelpTopics, LinksBetweenPagesResolve) {
    const QDir help(QDir(DataFolder()).filePath(QStringLiteral("help")));
    const QStringList pages = help.entryList({QStringLiteral("*.html")}, QDir::Files);
    ASSERT_GE(pages.size(), static_cast<qsizetype>(forms::kHelpContexts.size()));
    const QRegularExpression link(QStringLiteral(R"re((?:href|src)="([^"#:]+)")re"));
    for (const QString& name : pages) {
        const QString text = Read(help.filePath(name));
        for (auto it = link.globalMatch(text); it.hasNext();) {
            const QString target = it.next().captured(1);
            EXPECT_TRUE(QFileInfo::exists(help.filePath(target)))
                << name.toStdString() << " -> " << target.toStdString();
        }
    }
}

}  // namespace
