// The mail-client button: the chosen program's own icon on the start button,
// the Test buttons and the tray entry, or the generic pictures.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "app/forms/main_window/frm_main.h"
#include "app/options/option_values.h"
#include "platform/desktop/program_file.h"
#include "platform/ui/forms.h"
#include "tests/app/forms/desktop_files.h"

using namespace frmMainElements;  // tbrClient(tbrClient::kAccount)

namespace {

QPixmap Filled(QColor colour, int size = 16) {
    QPixmap p(size, size);
    p.fill(colour);
    return p;
}

QColor CentreOf(const QPixmap& picture) {
    return picture.toImage().pixelColor(picture.width() / 2, picture.height() / 2);
}

QColor CentreOf(const QIcon& icon) { return CentreOf(icon.pixmap(QSize(16, 16), 1.0)); }

// The generic pictures come with the window; each gets its own colour here.
const QColor kFolder = Qt::yellow;
const QColor kFolderX = Qt::gray;

class ClientButtonTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        ASSERT_TRUE(QDir().mkpath(Path("bin")));

        Put(form_.controls().imlPopMenu, "Folder", kFolder);
        Put(form_.controls().imlPopMenu, "FolderX", kFolderX);
        Put(form_.controls().imlClientButtons, "Browse", Qt::cyan);
        Put(form_.controls().imlClientButtons, "Test", Qt::magenta);
        Put(form_.controls().imlClientButtons, "Folder", kFolder);
        // As the menu set-up at load does.
        form_.controls().mnuTrayPopMenu.SetPictures(&form_.controls().imlPopMenu);
    }
    void TearDown() override { modOptions::gDefaultClientValid = false; }

    static void Put(vb::ImageList& list, const QString& key, QColor colour) {
        if (list.Exists(key)) list.Remove(key);
        list.Add(Filled(colour), key);
    }
    QString Path(const QString& name) const { return dir_.filePath(name); }
    QString Write(const QString& name, const QByteArray& text, bool executable) const {
        return testdesktop::WriteFile(Path(name), text, executable);
    }
    QString Icon(const QString& name, QColor colour, int size) const {
        QImage image(size, size, QImage::Format_ARGB32);
        image.fill(colour);
        EXPECT_TRUE(image.save(Path(name)));
        return Path(name);
    }

    // What the client pictures show now.
    struct Shown {
        QString startButton;
        QString trayCaption;
        QString optionsTest;
        QString accountsTest;
    };
    Shown Now() {
        return {form_.controls().tbrButtons(tbrButtons::kStartEmailClient).Buttons(1).Image(),
                form_.controls().mnuTrayRunClient.Caption(),
                form_.controls().tbrClient(tbrClient::kDefault).Buttons(2).Image(),
                form_.controls().tbrClient(tbrClient::kAccount).Buttons(2).Image()};
    }

    QTemporaryDir dir_;
    frmMain& form_ = vb::Forms::Get<frmMain>();
};

// Callers point the button at a client's picture when the client is a usable
// program, and at the generic ones otherwise.
TEST_F(ClientButtonTest, EachKindOfClientPath) {
    const QString mailer = Write("bin/mailer", "#!/bin/sh\n", true);
    testdesktop::Desktop::Get().Install(
        QStringLiteral("mailer.desktop"),
        "[Desktop Entry]\nType=Application\nName=Mailer\nExec=" + mailer.toUtf8() +
            "\nIcon=" + Icon("large.png", Qt::red, 48).toUtf8() + "\n",
        "");
    const QString entry = Write("client.desktop",
                                "[Desktop Entry]\nType=Application\nName=Client\nExec=true\nIcon=" +
                                    Icon("small.png", Qt::blue, 16).toUtf8() + "\n",
                                false);
    struct Case {
        const char* name;
        QString path;
        bool usable;
        QColor picture;  // stored under the key
    };
    const Case cases[] = {
        {"program with an installed entry and only a large icon", mailer, true, Qt::red},
        {"desktop entry", entry, true, Qt::blue},
        {"program without an icon", Write("bin/bare", "#!/bin/sh\n", true), true, kFolderX},
        {"missing file", Path("bin/absent"), false, kFolderX},
        {"file that is not executable", Write("notes", "text\n", false), false, kFolderX},
        {"empty path", QString(), false, kFolderX},
    };
    int16_t number = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(platform::desktop::IsUsableProgram(c.path), c.usable);
        const QString key = QStringLiteral("MailClient") + QString::number(number);
        form_.LoadMailClientIcon(c.path, number);
        for (const vb::ImageList* list : {&form_.controls().imlPopMenu, &form_.controls().imlClientButtons}) {
            ASSERT_TRUE(list->Exists(key));
            EXPECT_EQ(list->Picture(key).size(), QSize(16, 16));
            EXPECT_EQ(CentreOf(list->Picture(key)), c.picture);
        }
        form_.SetMailClientButton(c.usable ? number : -1);
        const Shown shown = Now();
        const QString picture = c.usable ? key : QStringLiteral("Folder");
        EXPECT_EQ(shown.startButton, picture);
        EXPECT_EQ(shown.trayCaption, "S&tart Email Client|#" + picture);
        EXPECT_EQ(shown.accountsTest, c.usable ? key : QStringLiteral("Test"));
        EXPECT_EQ(shown.optionsTest, "Test") << "the default client is not usable";
        EXPECT_EQ(form_.controls().tbrClient(tbrClient::kDefault).Buttons(1).Image(), "Browse");
        EXPECT_EQ(form_.controls().tbrClient(tbrClient::kAccount).Buttons(1).Image(), "Browse");
        EXPECT_EQ(
            CentreOf(form_.controls().tbrButtons(tbrButtons::kStartEmailClient).Buttons(1).QtButton().icon()),
            c.usable ? c.picture : kFolder);
        EXPECT_EQ(CentreOf(form_.controls().mnuTrayRunClient.QtAction()->icon()),
                  c.usable ? c.picture : kFolder);
        ++number;
    }
}

TEST_F(ClientButtonTest, LoadingANumberAgainReplacesItsPictureEverywhere) {
    const QString program = Write("bin/mailer", "#!/bin/sh\n", true);
    form_.LoadMailClientIcon(program, 0);
    form_.SetMailClientButton(0);
    const int popMenuCount = form_.controls().imlPopMenu.Count();
    const int buttonsCount = form_.controls().imlClientButtons.Count();
    EXPECT_EQ(
        CentreOf(form_.controls().tbrButtons(tbrButtons::kStartEmailClient).Buttons(1).QtButton().icon()),
        kFolderX);

    const QString entry = Write("client.desktop",
                                "[Desktop Entry]\nType=Application\nName=Client\nExec=true\nIcon=" +
                                    Icon("green.png", Qt::green, 32).toUtf8() + "\n",
                                false);
    form_.LoadMailClientIcon(entry, 0);
    EXPECT_EQ(form_.controls().imlPopMenu.Count(), popMenuCount) << "one image per key";
    EXPECT_EQ(form_.controls().imlClientButtons.Count(), buttonsCount);
    EXPECT_EQ(CentreOf(form_.controls().imlPopMenu.Picture("MailClient0")), Qt::green);
    EXPECT_EQ(
        CentreOf(form_.controls().tbrButtons(tbrButtons::kStartEmailClient).Buttons(1).QtButton().icon()),
        Qt::green)
        << "the button shows the new picture without being pointed at it again";
    EXPECT_EQ(CentreOf(form_.controls().mnuTrayRunClient.QtAction()->icon()), Qt::green);
}

TEST_F(ClientButtonTest, TheOptionsTestButtonShowsTheUsableDefaultClient) {
    const QString program = Write("bin/mailer", "#!/bin/sh\n", true);
    form_.LoadMailClientIcon(program, 0);
    form_.LoadMailClientIcon(program, 3);
    struct Case {
        bool defaultValid;
        int16_t number;
        QString optionsTest;
        QString accountsTest;
    };
    const Case cases[] = {
        {false, 3, "Test", "MailClient3"},
        {true, 3, "MailClient0", "MailClient3"},
        {true, 0, "MailClient0", "MailClient0"},
        {true, -1, "Test", "Test"},
    };
    for (const Case& c : cases) {
        modOptions::gDefaultClientValid = c.defaultValid;
        form_.SetMailClientButton(c.number);
        EXPECT_EQ(Now().optionsTest, c.optionsTest) << c.defaultValid << " " << c.number;
        EXPECT_EQ(Now().accountsTest, c.accountsTest) << c.defaultValid << " " << c.number;
    }
}

TEST_F(ClientButtonTest, ANumberNeverLoadedShowsTheGenericPictures) {
    form_.SetMailClientButton(7);
    const Shown shown = Now();
    EXPECT_EQ(shown.startButton, "Folder");
    EXPECT_EQ(shown.trayCaption, "S&tart Email Client|#Folder");
    EXPECT_EQ(shown.accountsTest, "Test");

    // Without any picture at all (nothing supplied with the window) nothing fails either.
    form_.controls().imlPopMenu.Clear();
    form_.controls().imlClientButtons.Clear();
    form_.LoadMailClientIcon(Path("absent"), 1);
    form_.SetMailClientButton(1);
    EXPECT_EQ(Now().startButton, "MailClient1");
    form_.SetMailClientButton(-1);
    EXPECT_EQ(Now().startButton, "") << "no Folder picture to show";
}

}  // namespace
