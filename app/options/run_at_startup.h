#pragma once
// Starting the program with the desktop session. The entry itself is the
// platform's (an autostart entry); the window layer registers the object
// that writes it, so this module needs no desktop library.

#include "app/common/view_slot.h"

namespace modOptions {

class StartupEntry {
public:
    // Creates or replaces the entry; false when it could not be written.
    virtual bool Write() = 0;
    // Removes the entry; false when one is left.
    virtual bool Remove() = 0;
    // Whether an entry starts the program with the session.
    [[nodiscard]] virtual bool Exists() const = 0;

protected:
    ~StartupEntry() = default;
};
extern ViewSlot<StartupEntry> gStartupEntry;

// False when no entry is registered or the entry could not be written.
bool SetRunAtStartup();
bool RemoveRunAtStartup();
// Whether an entry is registered and exists.
bool RunsAtStartup();

}  // namespace modOptions
