#pragma once
// Files the window tests put on the desktop: programs and documents in a
// test's folder, and an application the desktop opens given kinds of file
// or address with.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QString>

namespace testdesktop {

// Writes path, made executable by its owner when asked; returns the path.
inline QString WriteFile(const QString& path, const QByteArray& text, bool executable) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(text);
    file.close();
    if (executable) file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    return file.fileName();
}

// An application of the user's data folder that opens the MIME types (and
// "x-scheme-handler/..." addresses) given, separated by ";".
inline void InstallViewer(const QByteArray& types) {
    const QDir apps(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                    QStringLiteral("/applications"));
    ASSERT_TRUE(QDir().mkpath(apps.path()));
    WriteFile(apps.filePath(QStringLiteral("viewer.desktop")),
              "[Desktop Entry]\nType=Application\nName=Viewer\nExec=true %u\nMimeType=" + types + ";\n", false);
    // The index the desktop builds from the MimeType lines, and reads.
    QByteArray cache = "[MIME Cache]\n";
    for (const QByteArray& type : types.split(';'))
        if (!type.isEmpty()) cache += type + "=viewer.desktop;\n";
    WriteFile(apps.filePath(QStringLiteral("mimeinfo.cache")), cache, false);
}

}  // namespace testdesktop
