#include "app/options/run_at_startup.h"

namespace modOptions {

ViewSlot<StartupEntry> gStartupEntry;

bool SetRunAtStartup() {
    StartupEntry* entry = gStartupEntry.Get();
    return entry && entry->Write();
}

bool RemoveRunAtStartup() {
    StartupEntry* entry = gStartupEntry.Get();
    return entry && entry->Remove();
}

bool RunsAtStartup() {
    const StartupEntry* entry = gStartupEntry.Get();
    return entry && entry->Exists();
}

}  // namespace modOptions
