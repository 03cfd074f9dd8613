#include "platform/desktop/shell.h"

#include "platform/desktop/help.h"
#include "tests/platform/desktop/desktop_fixture.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QUrl>

#include <gtest/gtest.h>

namespace platform::desktop {
namespace {

// Records what would be opened instead of starting anything.
class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetOpener([this](const QString& target) {
            opened_ << target;
            return true;
        });
    }
    void TearDown() override { SetOpener({}); }

    static QString MakeFile(const QString& name, const QByteArray& content) {
        const QString path = QDir(desktop_test::Scratch()).filePath(name);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return path;
    }

    QStringList opened_;
};

TEST_F(ShellTest, OpenFileStartsTheHandlerOfItsType) {
    const QString path = MakeFile("notes.txt", "plain text\n");
    EXPECT_TRUE(OpenFile(path));
    EXPECT_EQ(opened_, QStringList{path});
}

TEST_F(ShellTest, OpenFileFailsWithoutHandlerOrFile) {
    const QString binary = MakeFile("blob.veltrane-unknown", QByteArray("\x00\x01\x02\xff\xfe", 5));
    EXPECT_FALSE(OpenFile(binary)) << "no application handles application/octet-stream here";
    EXPECT_FALSE(OpenFile(QDir(desktop_test::Scratch()).filePath("missing.txt")));
    EXPECT_FALSE(OpenFile(desktop_test::Scratch())) << "a folder is no document";
    EXPECT_TRUE(opened_.isEmpty());
}

TEST_F(ShellTest, OpenUrlNeedsAHandlerForItsScheme) {
    struct Case {
        const char* url;
        bool opens;
    };
    const Case cases[] = {
        {"https://example.org/veltrane", true},
        {"mailto:", true},
        {"veltrane-unknown-scheme:thing", false},
        {"no scheme at all", false},
        {":empty-scheme", false},
        {"1http://digit.first", false},
    };
    for (const Case& c : cases) {
        opened_.clear();
        EXPECT_EQ(OpenUrl(c.url), c.opens) << c.url;
        EXPECT_EQ(opened_.size(), c.opens ? 1 : 0) << c.url;
    }
}

TEST_F(ShellTest, FileUrlIsOpenedAsTheFile) {
    const QString path = MakeFile("page.txt", "x\n");
    EXPECT_TRUE(OpenUrl(QUrl::fromLocalFile(path).toString()));
    EXPECT_EQ(opened_, QStringList{path});
    EXPECT_FALSE(OpenUrl("file:///veltrane/missing.txt"));
}

TEST_F(ShellTest, HelpOpensTheTopicPageOfTheDataFolder) {
    const QString data = QDir(desktop_test::Scratch()).filePath("data");
    const QString page = MakeFile("data/help/130.html", "<html><body>Accounts</body></html>\n");
    EXPECT_EQ(HelpPagePath(data, 130), page);

    EXPECT_TRUE(ShowHelp(data, 130));
    EXPECT_FALSE(ShowHelp(data, 140)) << "no page for this topic";
    EXPECT_EQ(opened_, QStringList{page});
}

}  // namespace
}  // namespace platform::desktop
