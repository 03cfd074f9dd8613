#pragma once
// A benchmark's own profile: home, configuration, run-time and temporary
// folders under home, private to the user, so a run never reads or writes
// the person's own settings.
#include <stdlib.h>

#include <QDir>
#include <QFile>
#include <QString>

inline void UsePrivateProfileFolders(const QString& home) {
    for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR", "TMPDIR"}) {
        const QString folder = QDir(home).filePath(QString::fromLatin1(name));
        QDir().mkpath(folder);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        setenv(name, QFile::encodeName(folder).constData(), 1);
    }
}
