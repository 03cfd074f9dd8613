#pragma once
// The account table: one record per account, indexed 0 to gAccountCount.
// Slot 0 is the blank placeholder shown when no account exists; accounts 1 to
// gAccountCount are in tab order and are stored in section "Settings" under
// each saved field's key followed by the account number.
//
// A record's fields carry the names of the account's values with the "Acnt"
// prefix dropped: the value stored under "AcntName" is the field Name.

#include <QString>
#include <cstdint>
#include <utility>
#include <vector>

#include "app/common/vb_array.h"
#include "app/common/view_slot.h"

namespace modAccounts {

extern int16_t gAccountCount;    // accounts 1 to the count; 0 = none
extern int16_t gCurrentAccount;  // the selected account; 0 = none
extern int16_t gSavedAcntNum;    // the account count as loaded

// The saved fields of an account, each stored as text under its key (see
// SavedAccountKeys), in the order they are read and written.
struct AccountSettings {
    int16_t Enabled = 0;  // 1 = takes part in check runs
    QString Name;
    QString Server;
    int16_t Secure = 0;  // 1 = implicit TLS
    QString Port;        // as typed, blanks kept
    QString LoginID;
    QString Password;
    int32_t Colour = 0;       // a colour number, red in the low byte
    int32_t ColourIndex = 0;  // the colour swatch chosen on the Accounts page
    QString Client;           // the account's own mail client; empty = none
    QString Sound;            // the account's own wave file; empty = none
    int16_t SoundOn = 0;      // 1 = play the sound on new mail

    bool operator==(const AccountSettings&) const = default;
};

// A number no account of this run has had: what names an account while it is
// renamed, moved or switched off.
uint64_t NewAccountId();

// One account: its saved fields, what this run learnt of it (never stored),
// and the Accounts page's edit copy of its saved fields.
struct Account : AccountSettings {
    uint64_t Id = NewAccountId();  // the record's own for the run; moves with it
    bool Connected = false;        // its last connection succeeded
    bool Checked = false;          // checked at least once in this run
    bool HasMail = false;          // its last check found a message
    bool HasNewMail = false;       // its last check found more than the one before
    bool Incomplete = false;       // its last download may be incomplete
    // Its last check found the most messages a mailbox shows (32 767): any
    // beyond them are not listed. The user is told once per account.
    bool MoreThanListed = false;
    bool MoreThanListedTold = false;
    bool SoundValid = false;   // its sound is a usable wave file
    bool ClientValid = false;  // its mail client is a usable program
    QString Result;            // the last check's result, starting with the name
    QString CheckTime;
    QString Status;            // the status-bar text; slot 0: the status of the last check run
    int16_t MsgCount = 0;      // messages on the server at the last check
    int16_t NewCount = 0;      // new among them
    int16_t PrevMsgCount = 0;  // the highest count seen before the last check
    int16_t DeleteCount = 0;   // marked for deletion by rules
    int16_t SpamCount = 0;     // marked as spam by rules

    AccountSettings Edit;  // what the Accounts page shows and edits

    AccountSettings& Saved() { return *this; }
    const AccountSettings& Saved() const { return *this; }
};

// Accounts 0 to gAccountCount.
extern VbArray<Account> gAccounts;

// What the account table shows in a window: the Accounts page's fields for
// one account (DisplayAccount). With no view registered, ResetBlankAccount
// only fills the slot.
class AccountsView {
public:
    virtual void DisplayAccount(int16_t index) = 0;

protected:
    ~AccountsView() = default;
};
// The window with the Accounts page registers itself here for its lifetime.
extern ViewSlot<AccountsView> gAccountsView;

// The number of accounts "AcntNum" gives; 0 when it is missing or no number.
int16_t StatedAccountCount();
// The accounts to load: the stated number, but none beyond the highest
// account of which any value is stored, and never fewer than 0.
int16_t StoredAccountCount();

// The table holds accounts 0 to n, each keeping its record, except that a
// resize starts the marks of incomplete downloads afresh (Incomplete false).
void ResizeAccountArrays(int16_t n);
void ResetBlankAccount();
// Reads account i's stored values into its saved fields; a missing or
// non-numeric number takes the field's default.
void LoadAccount(int16_t i);
// Writes account i's saved fields in one step; false when nothing could be
// written (the stored values are then as before).
bool WriteAccount(int16_t i);
// The edit copy of account i becomes its saved fields.
void CopyAccountToEditBuffer(int16_t i);

// The saved fields as text under the keys of account number, in table order
// (what WriteAccount(number) would write for them).
std::vector<std::pair<QString, QString>> StoredAccountValues(const AccountSettings& account, int16_t number);
// The keys of account number's saved fields, in table order.
std::vector<QString> StoredAccountKeys(int16_t number);

}  // namespace modAccounts
