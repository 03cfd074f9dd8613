#include "platform/com/user_locale.h"

#include <cstdlib>
#include <string_view>

namespace com {

namespace {

// The first variable that is set and not empty names the locale.
std::string_view LocaleName() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && *value) return value;
    }
    return {};
}

}  // namespace

LCID GetUserDefaultLCID() {
    // "de_DE.UTF-8", "de", "hr_HR@euro": the language is what precedes '_', '.' or '@'.
    const std::string_view name = LocaleName();
    const std::string_view language = name.substr(0, name.find_first_of("_.@"));
    if (language == "de") return kLcidGerman;
    if (language == "hr") return kLcidCroatian;
    return kLcidEnglishUs;
}

}  // namespace com
