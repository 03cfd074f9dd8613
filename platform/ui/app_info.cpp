#include "platform/ui/app_info.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include "platform/store/program_folder.h"

namespace vb::App {

QString Title() { return QStringLiteral("Veltrane"); }

QString EXEName() {
  if (!QCoreApplication::instance()) return QStringLiteral("veltrane");
  return QFileInfo(QCoreApplication::applicationFilePath()).fileName();
}

int Major() { return VELTRANE_VERSION_MAJOR; }
int Minor() { return VELTRANE_VERSION_MINOR; }
int Revision() { return VELTRANE_VERSION_PATCH; }

QString Path() { return QFile::decodeName(platform::store::UserDataFolder().c_str()); }

QString DataPath() { return QFile::decodeName(platform::store::InstallDataFolder().c_str()); }

}  // namespace vb::App
