#include "tests/platform/desktop/desktop_fixture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace desktop_test {
namespace {

QTemporaryDir* root = nullptr;

void WriteFile(const QString& path, const QByteArray& text, bool executable = false) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(text);
    file.close();
    if (executable) file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
}

class DesktopEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "platform_desktop_test";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<QApplication>(argc, argv);
        dir_ = std::make_unique<QTemporaryDir>();
        ASSERT_TRUE(dir_->isValid());
        root = dir_.get();
        // Before any lookup: the desktop library reads these folders once.
        qputenv("XDG_DATA_DIRS", Share().toUtf8());
        qputenv("XDG_DATA_HOME", QDir(root->path()).filePath("data-home").toUtf8());
        ASSERT_TRUE(QDir().mkpath(Share()));
        ASSERT_TRUE(QFile::link("/usr/share/mime", QDir(Share()).filePath("mime")));

        QDir().mkpath(QFileInfo(IconFile()).path());
        QImage icon(32, 32, QImage::Format_ARGB32);
        icon.fill(Qt::red);
        ASSERT_TRUE(icon.save(IconFile()));
        WriteFile(MailerProgram(), "#!/bin/sh\nexit 0\n", true);
        WriteFile(BareProgram(), "#!/bin/sh\nexit 0\n", true);
        WriteFile(QDir(Share()).filePath("applications/veltrane-test-viewer.desktop"),
                  "[Desktop Entry]\nType=Application\nName=Viewer\nExec=true %u\n"
                  "MimeType=text/plain;text/html;x-scheme-handler/mailto;x-scheme-handler/https;\n");
        // The index the desktop builds from the MimeType lines, and reads.
        WriteFile(
            QDir(Share()).filePath("applications/mimeinfo.cache"),
            "[MIME "
            "Cache]\ntext/plain=veltrane-test-viewer.desktop;\ntext/html=veltrane-test-viewer.desktop;\n"
            "x-scheme-handler/mailto=veltrane-test-viewer.desktop;\n"
            "x-scheme-handler/https=veltrane-test-viewer.desktop;\n");
        WriteFile(QDir(Share()).filePath("applications/veltrane-test-mailer.desktop"),
                  "[Desktop Entry]\nType=Application\nName=Mailer\nExec=" + MailerProgram().toUtf8() +
                      " %u\nIcon=" + IconFile().toUtf8() + "\n");
    }
    void TearDown() override {
        root = nullptr;
        dir_.reset();
        app_.reset();
    }

private:
    std::unique_ptr<QApplication> app_;
    std::unique_ptr<QTemporaryDir> dir_;
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new DesktopEnvironment);

}  // namespace

QString Share() { return QDir(root->path()).filePath("share"); }
QString IconFile() { return QDir(root->path()).filePath("icons/mailer.png"); }
QString MailerProgram() { return QDir(root->path()).filePath("bin/veltrane-test-mailer"); }
QString BareProgram() { return QDir(root->path()).filePath("bin/veltrane-test-bare"); }
QString Scratch() {
    const QString path = QDir(root->path()).filePath("scratch");
    QDir().mkpath(path);
    return path;
}

}  // namespace desktop_test
