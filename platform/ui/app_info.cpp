#include "platform/ui/app_info.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include "platform/store/program_folder.h"

namespace vb::App {

QString Title() { return QString::fromStdString(platform::store::CurrentAppIdentity().title); }
QString CompanyName() { return QString::fromStdString(platform::store::CurrentAppIdentity().makerName); }
QString SupportAddress() {
    return QString::fromStdString(platform::store::CurrentAppIdentity().supportAddress);
}
QString HomePage() { return QString::fromStdString(platform::store::CurrentAppIdentity().webPage); }

QString EXEName() {
    if (QCoreApplication::instance()) return QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    return QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget().section(QChar('/'), -1);
}

int Major() { return VELTRANE_VERSION_MAJOR; }
int Minor() { return VELTRANE_VERSION_MINOR; }

QString Path() { return QFile::decodeName(platform::store::UserDataFolder().c_str()); }

QString DataPath() { return QFile::decodeName(platform::store::InstallDataFolder().c_str()); }

}  // namespace vb::App
