#pragma once
// What the Email page does for the checks and the Accounts page: the list
// rebuilt, sorted, and an account's tab icon set.
#include <QString>
#include <cstdint>

namespace forms {

class MessageListRefresh {
public:
    // The message list rebuilt from the store for account.
    virtual void FillMessageList(int16_t account) = 0;
    // The account's messages sorted by column in the order the options name.
    virtual void SortMessageList(int16_t account, const QString& column) = 0;
    // The account's tab icon on both tab strips.
    virtual void SetAccountTabIcon(int16_t account) = 0;

protected:
    ~MessageListRefresh() = default;
};

}  // namespace forms
