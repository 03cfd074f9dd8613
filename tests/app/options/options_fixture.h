#pragma once
// Every test starts from a store without options: all values at their
// defaults, the edit copy equal to them, no window.
#include <gtest/gtest.h>

#include <QStringList>

#include <fstream>
#include <sstream>

#include "app/common/app_settings.h"
#include "app/common/ini_file.h"
#include "app/common/program_identity.h"
#include "app/common/stored_number.h"
#include "app/general/check_status.h"
#include "app/options/menu_theme.h"
#include "app/options/option_values.h"
#include "platform/store/settings_store.h"

class OptionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetProgramIdentity();
        platform::store::DeleteSetting("ZKT\\Veltrane", "Settings\\Options");
        for (auto reader :
             {modOptions::ReadBy::MainLoad, modOptions::ReadBy::MenuTheme, modOptions::ReadBy::Layout})
            modOptions::LoadOptions(reader);
        modOptions::CopyOptionsToEdit();
        modOptions::gOptionsChanged = false;
        modGeneral::gLoading = false;
    }

    static void Store(const QString& key, const QString& value) {
        ASSERT_TRUE(SaveSetting(kAppKey, modOptions::kOptionsSection, key, value));
    }
    static QString Stored(const QString& key) {
        return GetSetting(kAppKey, modOptions::kOptionsSection, key, QStringLiteral("<missing>"));
    }
    // The three colours frmMain.ini holds (-1 for one that is missing).
    static modOptions::MenuColours FileColours() {
        IniFile ini;
        ini.ConfigName(modOptions::MenuIniPath());
        const auto colour = [&ini](const char* key) {
            return StoredLong(ini.KeyGet("New3D", key, QString()), -1);
        };
        return {colour("New3DColor1"), colour("New3DColor2"), colour("New3DColor3")};
    }
    // The option keys in the order the settings file holds them.
    static QStringList StoredKeyOrder() {
        std::ifstream in(platform::store::SettingsFilePath("ZKT\\Veltrane"));
        std::string line;
        bool inSection = false;
        QStringList keys;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (!line.empty() && line[0] == '[') {
                inSection = line == "[Settings\\Options]";
                continue;
            }
            const auto eq = line.find('=');
            if (inSection && eq != std::string::npos) keys << QString::fromStdString(line.substr(0, eq));
        }
        return keys;
    }
};
