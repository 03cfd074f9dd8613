#pragma once
// An account's saved fields as a failed comparison prints them.
#include <ostream>

#include "app/accounts/account_table.h"

namespace modAccounts {

inline void PrintTo(const AccountSettings& s, std::ostream* os) {
    const auto text = [](const QString& value) { return '"' + value.toStdString() + '"'; };
    *os << "{" << s.Enabled << ", " << text(s.Name) << ", " << text(s.Server) << ", " << s.Secure << ", "
        << text(s.Port) << ", " << text(s.LoginID) << ", " << text(s.Password) << ", " << s.Colour << ", "
        << s.ColourIndex << ", " << text(s.Client) << ", " << text(s.Sound) << ", " << s.SoundOn << "}";
}

}  // namespace modAccounts
