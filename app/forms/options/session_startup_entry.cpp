#include "app/forms/options/session_startup_entry.h"

#include <QCoreApplication>

#include "app/general/check_status.h"
#include "platform/desktop/autostart_entry.h"

namespace forms {

namespace {

// Without a program name there is no entry to name.
bool Named() { return !modGeneral::gAppName.isEmpty(); }

}  // namespace

bool SessionStartupEntry::Write() {
    return Named() && platform::desktop::AutostartEntry(modGeneral::gAppName)
                          .write(QCoreApplication::applicationFilePath());
}

bool SessionStartupEntry::Remove() {
    return Named() && platform::desktop::AutostartEntry(modGeneral::gAppName).remove();
}

bool SessionStartupEntry::Exists() const {
    return Named() && platform::desktop::AutostartEntry(modGeneral::gAppName).program().has_value();
}

}  // namespace forms
