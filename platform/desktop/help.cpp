#include "platform/desktop/help.h"

#include "platform/desktop/shell.h"

#include <QDir>

namespace platform::desktop {

QString HelpPagePath(const QString& dataFolder, int contextId) {
    return QDir(dataFolder).filePath(QStringLiteral("help/%1.html").arg(contextId));
}

bool ShowHelp(const QString& dataFolder, int contextId) {
    return OpenFile(HelpPagePath(dataFolder, contextId));
}

}  // namespace platform::desktop
