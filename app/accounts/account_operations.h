#pragma once
// The account operations' data side: the name checks and their messages, the
// name of a new account, and the changes of the set of accounts (append,
// remove, exchange) in the account table and in the settings store. Every
// store change is one write, made before the table changes, so a refused
// write leaves the table and the stored accounts as they were.

#include <QString>
#include <cstdint>
#include <optional>

namespace modAccounts {

// The Accounts page shows edits of the current account not yet saved.
extern bool gAccountChanged;

// A message box's title and text (the name checks and the delete question
// carry plain titles, without the program's name).
struct AccountMessage {
    QString title;
    QString text;
};

// The reason a name cannot be saved for account current, with its message;
// nullopt when the name is fine. Empty or blanks only: "Blank Account Name".
// Blanks at either end, or a pair of surrounding double quotes, in a name
// that differs from the account's stored one: "Account Name Not Allowed" (a
// name kept from before stays the account's, and its rules keep it). The
// name of another account, letter case aside: "Duplicate Account Name".
std::optional<AccountMessage> AccountNameProblem(const QString& name, int16_t current);

// The reason the server and port cannot be saved, with its message; nullopt
// when they are fine. The port is a whole number from 1 to 65535 (blanks
// around it allowed); the server is empty or a host name or address of at
// most 253 characters without blanks or control characters, whose dot-
// separated labels are 1 to 63 characters long.
std::optional<AccountMessage> ServerProblem(const QString& server, const QString& port);

// The question before account name is deleted.
AccountMessage DeleteAccountQuestion(const QString& name);

// "New Account" followed by the smallest number from 1 that no account's
// name bears, letter case aside.
QString NewAccountName();

// text with the old name at its start replaced by the new name, so a tab
// caption keeps its count; text that does not begin with a non-empty old
// name becomes the new name alone. Only the start is replaced: an account
// named "3" with the caption "3  (3)" renamed "Work" reads "Work  (3)".
QString RenamedAccountText(const QString& text, const QString& oldName, const QString& newName);

// Appends account gAccountCount + 1 named name, with the saved fields of a
// new account and sound switched on, and stores it with the new count in one
// write. False, with the table as it was, when the store refused.
bool AppendAccount(const QString& name);

// Removing account d (1 to gAccountCount) from the store: the accounts after
// it take the number before theirs and the last number's values go, with the
// new count, in one write. False when the store refused; nothing changed.
bool StoreRemoval(int16_t d);
// Then from the table: the accounts after d move down one slot, each with its
// whole record, and the count goes down by one.
void RemoveAccountSlot(int16_t d);

// Accounts a and b exchanging numbers in the store, in one write. False when
// the store refused; nothing changed.
bool StoreExchange(int16_t a, int16_t b);
// Then in the table: the two records whole.
void ExchangeAccountSlots(int16_t a, int16_t b);

// The message shown when the settings store refused a change of accounts.
AccountMessage StoreFailureMessage(const QString& appName);

}  // namespace modAccounts
