#include "platform/desktop/program_file.h"

#include "tests/platform/desktop/desktop_fixture.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace platform::desktop {
namespace {

QString MakeFile(const QString& name, const QByteArray& content, bool executable) {
    const QString path = QDir(desktop_test::Scratch()).filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    if (executable) file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    return path;
}

const QByteArray kEntry = "[Desktop Entry]\nType=Application\nName=Mail\nExec=true\n";

TEST(IsUsableProgram, ExecutableFileOrApplicationEntry) {
    struct Case {
        const char* name;
        QString path;
        bool usable;
    };
    const Case cases[] = {
        {"executable file", MakeFile("mailer", "#!/bin/sh\n", true), true},
        {"file without execute permission", MakeFile("notes", "text\n", false), false},
        {"old Windows name without permission", MakeFile("Mail.EXE", "MZ", false), false},
        {"missing file", QDir(desktop_test::Scratch()).filePath("absent"), false},
        {"folder", desktop_test::Scratch(), false},
        {"empty path", QString(), false},
        {"application entry", MakeFile("mail.desktop", kEntry, false), true},
        {"entry in capitals", MakeFile("MAIL.DESKTOP", kEntry, false), true},
        {"entry without Exec",
         MakeFile("noexec.desktop", "[Desktop Entry]\nType=Application\nName=M\n", false), false},
        {"entry of a link",
         MakeFile("link.desktop", "[Desktop Entry]\nType=Link\nName=L\nURL=https://x\n", false), false},
        {"entry whose program is missing",
         MakeFile("gone.desktop", "[Desktop Entry]\nType=Application\nName=G\nExec=/veltrane/none\n", false),
         false},
        {"executable named like an entry but not one", MakeFile("script.desktop", "#!/bin/sh\n", true),
         false},
    };
    for (const Case& c : cases) EXPECT_EQ(IsUsableProgram(c.path), c.usable) << c.name;
}

TEST(ProgramIcon, FromTheEntryOrTheInstalledEntryOfTheProgram) {
    const QString entry =
        MakeFile("mailer.desktop", kEntry + "Icon=" + desktop_test::IconFile().toUtf8() + "\n", false);
    const QString withoutIcon = MakeFile("plain.desktop", kEntry, false);

    const QIcon fromEntry = ProgramIcon(entry);
    ASSERT_FALSE(fromEntry.isNull());
    EXPECT_EQ(fromEntry.pixmap(16, 16).toImage().pixelColor(8, 8), QColor(Qt::red));
    EXPECT_FALSE(ProgramIcon(desktop_test::MailerProgram()).isNull()) << "found through its installed entry";

    EXPECT_TRUE(ProgramIcon(desktop_test::BareProgram()).isNull());
    EXPECT_TRUE(ProgramIcon(withoutIcon).isNull());
    EXPECT_TRUE(ProgramIcon(QDir(desktop_test::Scratch()).filePath("absent")).isNull());
}

TEST(StartProgram, StartsOnlyWhatIsUsable) {
    EXPECT_TRUE(StartProgram(desktop_test::MailerProgram()));
    EXPECT_TRUE(StartProgram(MakeFile("start.desktop", kEntry, false)));
    EXPECT_FALSE(StartProgram(MakeFile("text", "x", false)));
    EXPECT_FALSE(StartProgram(QDir(desktop_test::Scratch()).filePath("absent")));
}

}  // namespace
}  // namespace platform::desktop
