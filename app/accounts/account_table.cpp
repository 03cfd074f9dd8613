#include "app/accounts/account_table.h"

#include <array>
#include <limits>
#include <variant>

#include "app/common/app_settings.h"
#include "app/common/stored_number.h"

namespace modAccounts {

int16_t gAccountCount = 0;
int16_t gCurrentAccount = 0;
int16_t gSavedAcntNum = 0;

VbArray<int16_t> gAcntEnabled;
VbArray<QString> gAcntName;
VbArray<QString> gAcntServer;
VbArray<int16_t> gAcntSecure;
VbArray<QString> gAcntPort;
VbArray<QString> gAcntLoginID;
VbArray<QString> gAcntPassword;
VbArray<int32_t> gAcntColour;
VbArray<int32_t> gAcntColourIndex;
VbArray<QString> gAcntClient;
VbArray<QString> gAcntSound;
VbArray<int16_t> gAcntSoundOn;

VbArray<bool> gAcntConnected;
VbArray<bool> gAcntChecked;
VbArray<bool> gAcntHasMail;
VbArray<bool> gAcntHasNewMail;
VbArray<bool> gAcntIncomplete;
VbArray<bool> gAcntSoundValid;
VbArray<bool> gAcntClientValid;
VbArray<QString> gAcntResult;
VbArray<QString> gAcntCheckTime;
VbArray<QString> gAcntStatus;
VbArray<int16_t> gAcntMsgCount;
VbArray<int16_t> gAcntNewCount;
VbArray<int16_t> gAcntPrevMsgCount;
VbArray<int16_t> gAcntDeleteCount;
VbArray<int16_t> gAcntSpamCount;

VbArray<int16_t> gEditAcntEnabled;
VbArray<QString> gEditAcntName;
VbArray<QString> gEditAcntServer;
VbArray<int16_t> gEditAcntSecure;
VbArray<QString> gEditAcntPort;
VbArray<QString> gEditAcntLoginID;
VbArray<QString> gEditAcntPassword;
VbArray<int32_t> gEditAcntColour;
VbArray<int16_t> gEditAcntColourIndex;
VbArray<QString> gEditAcntClient;
VbArray<QString> gEditAcntSound;
VbArray<int16_t> gEditAcntSoundOn;

VbArray<int16_t> gTabRight;

ViewSlot<AccountsView> gAccountsView;

namespace {

const QString kSection = QStringLiteral("Settings");

using Column = std::variant<VbArray<int16_t>*, VbArray<int32_t>*, VbArray<QString>*>;

// One saved field: its stored key, its live and edit arrays, the value a
// missing stored value reads as, and the blank placeholder's value.
struct SavedField {
    const char* key;
    Column live;
    Column edit;
    const char* storedDefault;
    const char* slot0;
};

const std::array<SavedField, 12>& SavedFields() {
    static const std::array<SavedField, 12> fields{{
        {"AcntEnabled", &gAcntEnabled, &gEditAcntEnabled, "1", "0"},
        {"AcntName", &gAcntName, &gEditAcntName, "New Account", ""},
        {"AcntServer", &gAcntServer, &gEditAcntServer, "", ""},
        {"AcntSecure", &gAcntSecure, &gEditAcntSecure, "0", "0"},
        {"AcntPort", &gAcntPort, &gEditAcntPort, "110", ""},
        {"AcntLoginID", &gAcntLoginID, &gEditAcntLoginID, "", ""},
        {"AcntPassword", &gAcntPassword, &gEditAcntPassword, "", ""},
        {"AcntColour", &gAcntColour, &gEditAcntColour, "255", "255"},
        {"AcntColourIndex", &gAcntColourIndex, &gEditAcntColourIndex, "5", "5"},
        {"AcntClient", &gAcntClient, &gEditAcntClient, "", ""},
        {"AcntSound", &gAcntSound, &gEditAcntSound, "", ""},
        {"AcntSoundOn", &gAcntSoundOn, &gEditAcntSoundOn, "1", "1"},
    }};
    return fields;
}

// Stores text into slot i; a number that does not fit takes fallback's value.
void Assign(const Column& column, int i, const QString& text, const QString& fallback) {
    std::visit(
        [&](auto* array) {
            using T = std::remove_reference_t<decltype((*array)[0])>;
            if constexpr (std::is_same_v<T, QString>) {
                (*array)[i] = text;
            } else if constexpr (std::is_same_v<T, int16_t>) {
                (*array)[i] = StoredInteger(text, StoredInteger(fallback, 0));
            } else {
                (*array)[i] = StoredLong(text, StoredLong(fallback, 0));
            }
        },
        column);
}

QString Text(const Column& column, int i) {
    return std::visit(
        [&](auto* array) {
            const auto& value = (*array)[i];
            if constexpr (std::is_same_v<std::decay_t<decltype(value)>, QString>) {
                return value;
            } else {
                return QString::number(value);
            }
        },
        column);
}

QString Key(const SavedField& field, int i) { return QString::fromLatin1(field.key) + QString::number(i); }

template <typename... Arrays>
void RedimPreserveAll(int n, Arrays&... arrays) {
    (arrays.RedimPreserve(n), ...);
}

}  // namespace

void ResizeAccountArrays(int16_t n) {
    gAcntIncomplete.Redim(n);
    RedimPreserveAll(n, gAcntConnected, gAcntChecked, gAcntHasMail, gAcntHasNewMail, gAcntSoundValid,
                     gAcntClientValid);
    RedimPreserveAll(n, gAcntName, gAcntServer, gAcntPort, gAcntLoginID, gAcntPassword, gAcntClient, gAcntSound,
                     gAcntResult, gAcntCheckTime, gAcntStatus);
    RedimPreserveAll(n, gAcntEnabled, gAcntSecure, gAcntSoundOn, gAcntMsgCount, gAcntNewCount, gAcntPrevMsgCount,
                     gAcntDeleteCount, gAcntSpamCount);
    RedimPreserveAll(n, gAcntColour, gAcntColourIndex);
    RedimPreserveAll(n, gEditAcntName, gEditAcntServer, gEditAcntPort, gEditAcntLoginID, gEditAcntPassword,
                     gEditAcntClient, gEditAcntSound, gEditAcntEnabled, gEditAcntSecure, gEditAcntSoundOn,
                     gEditAcntColourIndex, gEditAcntColour);
    gTabRight.Redim(n);
}

void ResetBlankAccount() {
    for (const SavedField& field : SavedFields()) {
        const QString slot0 = QString::fromLatin1(field.slot0);
        Assign(field.live, 0, slot0, slot0);
    }
    if (AccountsView* view = gAccountsView.Get()) view->DisplayAccount(0);
}

void LoadAccount(int16_t i) {
    for (const SavedField& field : SavedFields()) {
        const QString fallback = QString::fromUtf8(field.storedDefault);
        Assign(field.live, i, GetSetting(kAppKey, kSection, Key(field, i), fallback), fallback);
    }
}

bool WriteAccount(int16_t i) { return SaveSettings(kAppKey, kSection, StoredAccountValues(i, i)); }

std::vector<std::pair<QString, QString>> StoredAccountValues(int16_t slot, int16_t number) {
    std::vector<std::pair<QString, QString>> values;
    values.reserve(SavedFields().size());
    for (const SavedField& field : SavedFields()) values.emplace_back(Key(field, number), Text(field.live, slot));
    return values;
}

std::vector<QString> StoredAccountKeys(int16_t number) {
    std::vector<QString> keys;
    for (const SavedField& field : SavedFields()) keys.push_back(Key(field, number));
    return keys;
}

SavedAccountTexts SavedAccountText(int16_t i) {
    SavedAccountTexts texts;
    for (size_t f = 0; f < texts.size(); ++f) texts[f] = Text(SavedFields()[f].live, i);
    return texts;
}

void RestoreSavedAccount(int16_t i, const SavedAccountTexts& texts) {
    for (size_t f = 0; f < texts.size(); ++f) Assign(SavedFields()[f].live, i, texts[f], texts[f]);
}

void CopyAccountToEditBuffer(int16_t i) {
    for (const SavedField& field : SavedFields())
        Assign(field.edit, i, Text(field.live, i), QString::fromLatin1(field.storedDefault));
}

}  // namespace modAccounts
