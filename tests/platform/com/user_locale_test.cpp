#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/com/user_locale.h"

namespace {

using namespace com;

TEST(UserLocaleTest, LanguageOfTheFirstSetVariableGivesTheLcid) {
    struct Row {
        const char* name;
        const char* lcAll;
        const char* lcMessages;
        const char* lang;
        LCID expected;
    };
    const Row rows[] = {
        {"nothing set", nullptr, nullptr, nullptr, kLcidEnglishUs},
        {"German from LANG", nullptr, nullptr, "de_DE.UTF-8", kLcidGerman},
        {"Austrian German", nullptr, nullptr, "de_AT", kLcidGerman},
        {"Croatian with modifier", nullptr, nullptr, "hr_HR@euro", kLcidCroatian},
        {"bare language", nullptr, nullptr, "hr", kLcidCroatian},
        {"French falls back", nullptr, nullptr, "fr_FR.UTF-8", kLcidEnglishUs},
        {"C locale", nullptr, nullptr, "C", kLcidEnglishUs},
        {"LC_MESSAGES wins over LANG", nullptr, "de_DE", "hr_HR", kLcidGerman},
        {"LC_ALL wins over all", "hr_HR", "de_DE", "de_DE", kLcidCroatian},
        {"empty LC_ALL is skipped", "", nullptr, "de_CH", kLcidGerman},
        {"deu is not German", nullptr, nullptr, "deu", kLcidEnglishUs},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto set = [](const char* variable, const char* value) {
            if (value)
                setenv(variable, value, 1);
            else
                unsetenv(variable);
        };
        set("LC_ALL", row.lcAll);
        set("LC_MESSAGES", row.lcMessages);
        set("LANG", row.lang);
        EXPECT_EQ(GetUserDefaultLCID(), row.expected);
    }
}

}  // namespace
