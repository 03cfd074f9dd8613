#pragma once
// The program's own folder inside the temporary folder, for files with fixed
// names ("temporary.eml"): $TMPDIR/veltrane-<uid>, mode 0700, owned by this
// user. A shared temporary folder must never hold such files directly: another
// user could place a link there first.
#include <QString>

// The folder's path, created when missing; empty when it cannot be made ours
// (a link, another owner, other modes), so nothing is written there.
QString PrivateTempFolder();

// The folder's path, whether or not it exists or could be made ours: what a
// message names.
QString PrivateTempFolderPath();
