#pragma once
// The program's help: one HTML page per topic number, in the "help" folder
// of the install's data folder, shown by the user's browser.

#include <QString>

namespace platform::desktop {

// <dataFolder>/help/<contextId>.html
QString HelpPagePath(const QString& dataFolder, int contextId);

// Opens the topic's page; false when the page is missing or nothing can
// show HTML.
bool ShowHelp(const QString& dataFolder, int contextId);

}  // namespace platform::desktop
