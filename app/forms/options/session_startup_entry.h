#pragma once
// Start with the desktop session: the autostart entry named after the
// program, starting this executable.
#include "app/options/run_at_startup.h"

namespace forms {

class SessionStartupEntry : public modOptions::StartupEntry {
public:
    bool Write() override;
    bool Remove() override;
    [[nodiscard]] bool Exists() const override;
};

}  // namespace forms
