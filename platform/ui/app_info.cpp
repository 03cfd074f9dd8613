#include "platform/ui/app_info.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace vb::App {

QString Title() { return QStringLiteral("Veltrane"); }

QString EXEName() {
  if (!QCoreApplication::instance()) return QStringLiteral("veltrane");
  return QFileInfo(QCoreApplication::applicationFilePath()).fileName();
}

int Major() { return VELTRANE_VERSION_MAJOR; }
int Minor() { return VELTRANE_VERSION_MINOR; }
int Revision() { return VELTRANE_VERSION_PATCH; }

QString Path() {
  QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (base.isEmpty() || !QDir::isAbsolutePath(base)) base = QDir::homePath() + QStringLiteral("/.config");
  const QString path = base + QStringLiteral("/ZKT/Veltrane");
  QDir dir(path);
  if (!dir.exists() && QDir().mkpath(path)) {
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  }
  return path;
}

QString DataPath() {
  if (QCoreApplication::instance()) {
    const QString installed = QCoreApplication::applicationDirPath() + QStringLiteral("/../share/veltrane");
    if (QFileInfo(installed).isDir()) return QDir(installed).canonicalPath();
  }
  return QStringLiteral(VELTRANE_SOURCE_DATA_DIR);
}

}  // namespace vb::App
