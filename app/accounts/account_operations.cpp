#include "app/accounts/account_operations.h"

#include <QStringList>
#include <utility>

#include "app/accounts/account_table.h"
#include "app/common/app_settings.h"

namespace modAccounts {

bool gAccountChanged = false;

namespace {

const QString kSection = QStringLiteral("Settings");
const QString kCrLf = QStringLiteral("\r\n");
const QString kTenBlanks = QString(10, QLatin1Char(' '));

std::pair<QString, QString> CountValue(int16_t count) {
    return {QStringLiteral("AcntNum"), QString::number(count)};
}

bool SameName(const QString& a, const QString& b) { return a.toUpper() == b.toUpper(); }

}  // namespace

std::optional<AccountMessage> AccountNameProblem(const QString& name, int16_t current) {
    if (name.trimmed().isEmpty())
        return AccountMessage{QStringLiteral("Blank Account Name"),
                              QStringLiteral("The Account Name box is blank. Please") + kTenBlanks + kCrLf +
                                  QStringLiteral("re-enter a name for this Account.") + kCrLf + kCrLf};
    // A name stored so before stays the account's: the rule is for names
    // made or changed.
    const bool unchanged = current >= 1 && current <= gAccountCount && gAccounts[current].Name == name;
    const bool quoted =
        name.size() >= 2 && name.startsWith(QLatin1Char('"')) && name.endsWith(QLatin1Char('"'));
    if (!unchanged && (name != name.trimmed() || quoted))
        return AccountMessage{QStringLiteral("Account Name Not Allowed"),
                              QStringLiteral("An Account Name may not begin or end with a blank,") +
                                  kTenBlanks + kCrLf + QStringLiteral("nor be enclosed in double quotes.") +
                                  kCrLf + QStringLiteral("Account Name: '") + name + QStringLiteral("'") +
                                  kCrLf + kCrLf + QStringLiteral("Please re-enter a name for this Account.") +
                                  kCrLf + kCrLf};
    for (int i = 1; i <= gAccountCount; ++i) {
        if (i == current || !SameName(gAccounts[i].Name, name)) continue;
        return AccountMessage{QStringLiteral("Duplicate Account Name"),
                              QStringLiteral("The following Account Name is already used.") + kTenBlanks +
                                  kCrLf + QStringLiteral("Account Name: '") + name + QStringLiteral("'") +
                                  kCrLf + kCrLf + QStringLiteral("Duplicate Account Names are not allowed.") +
                                  kCrLf + QStringLiteral("Please re-enter a name for this Account.") + kCrLf +
                                  kCrLf};
    }
    return std::nullopt;
}

std::optional<AccountMessage> ServerProblem(const QString& server, const QString& port) {
    bool number = false;
    const int value = port.trimmed().toInt(&number);
    if (!number || value < 1 || value > 65535)
        return AccountMessage{
            QStringLiteral("Invalid Port Number"),
            QStringLiteral("The Port must be a whole number from 1 to 65535.") + kTenBlanks + kCrLf +
                QStringLiteral("Port: '") + port + QStringLiteral("'") + kCrLf + kCrLf +
                QStringLiteral("Please re-enter the Port for this Account.") + kCrLf + kCrLf};
    bool bad = server.size() > 253;
    for (const QChar ch : server) bad = bad || ch.isSpace() || ch.category() == QChar::Other_Control;
    if (!server.isEmpty() && !bad)
        for (const QString& label : server.split(QLatin1Char('.')))
            bad = bad || label.isEmpty() || label.size() > 63;
    if (!bad) return std::nullopt;
    return AccountMessage{
        QStringLiteral("Invalid Server Name"),
        QStringLiteral("The POP3 Server is not a valid host name or address.") + kTenBlanks + kCrLf +
            QStringLiteral("POP3 Server: '") + server + QStringLiteral("'") + kCrLf + kCrLf +
            QStringLiteral("Please re-enter the POP3 Server for this Account.") + kCrLf + kCrLf};
}

AccountMessage DeleteAccountQuestion(const QString& name) {
    return AccountMessage{QStringLiteral("Delete Account - Proceed With Caution"),
                          QStringLiteral("You are about to delete the following Account...") + kTenBlanks +
                              kCrLf + QStringLiteral("Account Name:  '") + name + QStringLiteral("'") +
                              kCrLf + kCrLf +
                              QStringLiteral("Please proceed with caution since this action") + kCrLf +
                              QStringLiteral("is NOT reversible!") + kCrLf + kCrLf +
                              QStringLiteral("Would you like to proceed?") + kCrLf};
}

QString NewAccountName() {
    const auto taken = [](const QString& candidate) {
        for (int i = 1; i <= gAccountCount; ++i)
            if (SameName(gAccounts[i].Name, candidate)) return true;
        return false;
    };
    for (int n = 1;; ++n) {
        const QString candidate = QStringLiteral("New Account") + QString::number(n);
        if (!taken(candidate)) return candidate;
    }
}

QString RenamedAccountText(const QString& text, const QString& oldName, const QString& newName) {
    if (oldName.isEmpty() || !text.startsWith(oldName)) return newName;
    return newName + text.mid(oldName.size());
}

bool AppendAccount(const QString& name) {
    const auto n = static_cast<int16_t>(gAccountCount + 1);
    ResizeAccountArrays(n);
    AccountSettings& account = gAccounts[n].Saved();
    account.Enabled = 1;
    account.Name = name;
    account.Secure = 0;
    account.Port = QStringLiteral("110");
    account.Colour = 255;
    account.ColourIndex = 5;
    account.SoundOn = 1;
    auto values = StoredAccountValues(account, n);
    values.push_back(CountValue(n));
    if (!SaveSettings(kAppKey, kSection, values)) {
        ResizeAccountArrays(gAccountCount);
        return false;
    }
    gAccountCount = n;
    return true;
}

bool StoreRemoval(int16_t d) {
    const int16_t n = gAccountCount;
    std::vector<std::pair<QString, QString>> values;
    for (int16_t i = d; i < n; ++i) {
        auto shifted = StoredAccountValues(gAccounts[i + 1], i);
        values.insert(values.end(), shifted.begin(), shifted.end());
    }
    values.push_back(CountValue(static_cast<int16_t>(n - 1)));
    return ReplaceSettings(kAppKey, kSection, values, StoredAccountKeys(n));
}

void RemoveAccountSlot(int16_t d) {
    const int16_t n = gAccountCount;
    for (int i = d; i < n; ++i) gAccounts[i] = std::move(gAccounts[i + 1]);
    gAccountCount = static_cast<int16_t>(n - 1);
    ResizeAccountArrays(gAccountCount);
}

bool StoreExchange(int16_t a, int16_t b) {
    auto values = StoredAccountValues(gAccounts[a], b);
    auto other = StoredAccountValues(gAccounts[b], a);
    values.insert(values.end(), other.begin(), other.end());
    return SaveSettings(kAppKey, kSection, values);
}

void ExchangeAccountSlots(int16_t a, int16_t b) { std::swap(gAccounts[a], gAccounts[b]); }

AccountMessage StoreFailureMessage(const QString& appName) {
    return AccountMessage{appName + QStringLiteral(" - Accounts"),
                          QStringLiteral("The accounts could not be written to the settings store,") + kCrLf +
                              QStringLiteral("so nothing was changed.") + kCrLf + kCrLf};
}

}  // namespace modAccounts
