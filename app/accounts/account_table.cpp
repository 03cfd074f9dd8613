#include "app/accounts/account_table.h"

#include <array>
#include <variant>

#include "app/common/app_settings.h"
#include "app/common/stored_number.h"

namespace modAccounts {

int16_t gAccountCount = 0;
int16_t gCurrentAccount = 0;
int16_t gSavedAcntNum = 0;

VbArray<Account> gAccounts;

ViewSlot<AccountsView> gAccountsView;

uint64_t NewAccountId() {
    static uint64_t last = 0;
    return ++last;
}

namespace {

const QString kSection = QStringLiteral("Settings");

using Member =
    std::variant<int16_t AccountSettings::*, int32_t AccountSettings::*, QString AccountSettings::*>;

// One saved field: its stored key, its place in the record, the value a
// missing stored value reads as, and the blank placeholder's value. The
// field's type is its member's.
struct SavedField {
    const char* key;
    Member member;
    const char* storedDefault;
    const char* slot0;
};

constexpr std::array<SavedField, 12> kSavedFields{{
    {"AcntEnabled", &AccountSettings::Enabled, "1", "0"},
    {"AcntName", &AccountSettings::Name, "New Account", ""},
    {"AcntServer", &AccountSettings::Server, "", ""},
    {"AcntSecure", &AccountSettings::Secure, "0", "0"},
    {"AcntPort", &AccountSettings::Port, "110", ""},
    {"AcntLoginID", &AccountSettings::LoginID, "", ""},
    {"AcntPassword", &AccountSettings::Password, "", ""},
    {"AcntColour", &AccountSettings::Colour, "255", "255"},
    {"AcntColourIndex", &AccountSettings::ColourIndex, "5", "5"},
    {"AcntClient", &AccountSettings::Client, "", ""},
    {"AcntSound", &AccountSettings::Sound, "", ""},
    {"AcntSoundOn", &AccountSettings::SoundOn, "1", "1"},
}};

// Stores text into the field; a number that does not fit takes fallback's value.
void Assign(AccountSettings& account, const Member& member, const QString& text, const QString& fallback) {
    std::visit(
        [&](auto field) {
            auto& value = account.*field;
            using T = std::remove_reference_t<decltype(value)>;
            if constexpr (std::is_same_v<T, QString>) {
                value = text;
            } else if constexpr (std::is_same_v<T, int16_t>) {
                value = StoredInteger(text, StoredInteger(fallback, 0));
            } else {
                value = StoredLong(text, StoredLong(fallback, 0));
            }
        },
        member);
}

QString Text(const AccountSettings& account, const Member& member) {
    return std::visit(
        [&](auto field) {
            const auto& value = account.*field;
            if constexpr (std::is_same_v<std::decay_t<decltype(value)>, QString>) {
                return value;
            } else {
                return QString::number(value);
            }
        },
        member);
}

QString Key(const SavedField& field, int i) { return QString::fromLatin1(field.key) + QString::number(i); }

}  // namespace

int16_t StatedAccountCount() {
    return StoredInteger(GetSetting(kAppKey, kSection, QStringLiteral("AcntNum"), QStringLiteral("0")), 0);
}

int16_t StoredAccountCount() {
    const int16_t stated = StatedAccountCount();
    int16_t highest = 0;
    for (const QString& name : SettingNames(kAppKey, kSection)) {
        for (const SavedField& field : kSavedFields) {
            const QLatin1StringView key(field.key);
            if (!name.startsWith(key, Qt::CaseInsensitive)) continue;
            // The number as the keys are written: plain decimal, no padding.
            const QStringView number = QStringView(name).mid(key.size());
            bool isNumber = false;
            const int i = number.toInt(&isNumber);
            if (isNumber && i <= stated && i > highest && number == QString::number(i))
                highest = static_cast<int16_t>(i);
        }
    }
    return highest;
}

void ResizeAccountArrays(int16_t n) {
    gAccounts.RedimPreserve(n);
    for (int i = 0; i <= gAccounts.UBound(); ++i) gAccounts[i].Incomplete = false;
}

void ResetBlankAccount() {
    for (const SavedField& field : kSavedFields) {
        const QString slot0 = QString::fromLatin1(field.slot0);
        Assign(gAccounts[0], field.member, slot0, slot0);
    }
    if (AccountsView* view = gAccountsView.Get()) view->DisplayAccount(0);
}

void LoadAccount(int16_t i) {
    Account& account = gAccounts[i];
    for (const SavedField& field : kSavedFields) {
        const QString fallback = QString::fromUtf8(field.storedDefault);
        Assign(account, field.member, GetSetting(kAppKey, kSection, Key(field, i), fallback), fallback);
    }
}

bool WriteAccount(int16_t i) { return SaveSettings(kAppKey, kSection, StoredAccountValues(gAccounts[i], i)); }

std::vector<std::pair<QString, QString>> StoredAccountValues(const AccountSettings& account, int16_t number) {
    std::vector<std::pair<QString, QString>> values;
    values.reserve(kSavedFields.size());
    for (const SavedField& field : kSavedFields)
        values.emplace_back(Key(field, number), Text(account, field.member));
    return values;
}

std::vector<QString> StoredAccountKeys(int16_t number) {
    std::vector<QString> keys;
    keys.reserve(kSavedFields.size());
    for (const SavedField& field : kSavedFields) keys.push_back(Key(field, number));
    return keys;
}

void CopyAccountToEditBuffer(int16_t i) {
    Account& account = gAccounts[i];
    account.Edit = account.Saved();
}

}  // namespace modAccounts
