#include "app/common/private_temp_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>

QString PrivateTempFolderPath() {
    return QDir(QDir::tempPath()).filePath(QStringLiteral("veltrane-%1").arg(::getuid()));
}

QString PrivateTempFolder() {
    const QString path = PrivateTempFolderPath();
    const QByteArray native = QFile::encodeName(path);
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST) return {};
    struct stat st {};
    // lstat: a link planted under our name is not followed.
    if (::lstat(native.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid() ||
        (st.st_mode & 0077) != 0)
        return {};
    return path;
}
