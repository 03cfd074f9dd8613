#pragma once
// Opening a document or an address with the application the user chose for
// it, as the desktop's own file manager would.
//
// The desktop's opener (xdg-open) reports no failure back: it returns before
// the application runs, and with no handler it may fall back to anything. So
// a handler is looked up first and the open counts as failed when the user
// has no application for the file's type or the address's scheme.

#include <QString>

#include <functional>

namespace platform::desktop {

// Whether an application is registered for the MIME type, directly or for
// one of the types it is a kind of (text/x-csrc is opened as text/plain).
bool HasDefaultApplication(const QString& mimeType);

// Opens an existing regular file; false when it is missing or when no
// application handles its type.
bool OpenFile(const QString& path);

// Opens an absolute URL ("mailto:...", "https://..."; "file:" goes through
// OpenFile); false when it has no scheme or no application handles it.
bool OpenUrl(const QString& url);

// What starts the chosen application: by default the desktop's opener with
// the file path or the URL as its one argument, never through a shell. Tests
// install a recorder; an empty function restores the default.
using Opener = std::function<bool(const QString& target)>;
void SetOpener(Opener opener);

}  // namespace platform::desktop
