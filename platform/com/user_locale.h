#pragma once
// The user's default locale identifier, from the POSIX locale variables
// (LC_ALL, then LC_MESSAGES, then LANG): German 1031, Croatian 1050, and
// English (United States) 1033 for everything else.
#include "platform/com/dispatch.h"

namespace com {

inline constexpr LCID kLcidEnglishUs = 1033;
inline constexpr LCID kLcidGerman = 1031;
inline constexpr LCID kLcidCroatian = 1050;

LCID GetUserDefaultLCID();

}  // namespace com
