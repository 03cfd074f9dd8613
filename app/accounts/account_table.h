#pragma once
// The account table: one array per field, all indexed 0 to gAccountCount.
// Slot 0 is the blank placeholder shown when no account exists; accounts 1 to
// gAccountCount are in tab order and are stored in section "Settings" under
// each field's key followed by the account number.

#include <QString>
#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "app/common/vb_array.h"
#include "app/common/view_slot.h"

namespace modAccounts {

extern int16_t gAccountCount;    // accounts 1 to the count; 0 = none
extern int16_t gCurrentAccount;  // the selected account; 0 = none
extern int16_t gSavedAcntNum;    // the account count as loaded

// Saved fields, in the order they are read and written.
extern VbArray<int16_t> gAcntEnabled;
extern VbArray<QString> gAcntName;
extern VbArray<QString> gAcntServer;
extern VbArray<int16_t> gAcntSecure;
extern VbArray<QString> gAcntPort;
extern VbArray<QString> gAcntLoginID;
extern VbArray<QString> gAcntPassword;
extern VbArray<int32_t> gAcntColour;
extern VbArray<int32_t> gAcntColourIndex;
extern VbArray<QString> gAcntClient;
extern VbArray<QString> gAcntSound;
extern VbArray<int16_t> gAcntSoundOn;

// Run-time fields, never stored.
extern VbArray<bool> gAcntConnected;
extern VbArray<bool> gAcntChecked;
extern VbArray<bool> gAcntHasMail;
extern VbArray<bool> gAcntHasNewMail;
extern VbArray<bool> gAcntIncomplete;
extern VbArray<bool> gAcntSoundValid;
extern VbArray<bool> gAcntClientValid;
extern VbArray<QString> gAcntResult;
extern VbArray<QString> gAcntCheckTime;
extern VbArray<QString> gAcntStatus;  // slot 0: the status of the last check run
extern VbArray<int16_t> gAcntMsgCount;
extern VbArray<int16_t> gAcntNewCount;
extern VbArray<int16_t> gAcntPrevMsgCount;
extern VbArray<int16_t> gAcntDeleteCount;
extern VbArray<int16_t> gAcntSpamCount;

// The Accounts page's edit copy of the saved fields.
extern VbArray<int16_t> gEditAcntEnabled;
extern VbArray<QString> gEditAcntName;
extern VbArray<QString> gEditAcntServer;
extern VbArray<int16_t> gEditAcntSecure;
extern VbArray<QString> gEditAcntPort;
extern VbArray<QString> gEditAcntLoginID;
extern VbArray<QString> gEditAcntPassword;
extern VbArray<int32_t> gEditAcntColour;
extern VbArray<int16_t> gEditAcntColourIndex;
extern VbArray<QString> gEditAcntClient;
extern VbArray<QString> gEditAcntSound;
extern VbArray<int16_t> gEditAcntSoundOn;

// Right edge of each account tab, for the tab-drag code.
extern VbArray<int16_t> gTabRight;

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

void ResizeAccountArrays(int16_t n);
void ResetBlankAccount();
// Reads account i's twelve stored values; a missing or non-numeric number
// takes the field's default.
void LoadAccount(int16_t i);
// Writes account i's twelve values in one step; false when nothing could be
// written (the stored values are then as before).
bool WriteAccount(int16_t i);
void CopyAccountToEditBuffer(int16_t i);

// Slot's twelve saved fields as text under the keys of account number, in
// table order (what WriteAccount(number) would write for that slot).
std::vector<std::pair<QString, QString>> StoredAccountValues(int16_t slot, int16_t number);
// The twelve keys of account number.
std::vector<QString> StoredAccountKeys(int16_t number);
// Slot i's twelve saved fields as text, and back, for undoing a commit.
using SavedAccountTexts = std::array<QString, 12>;
SavedAccountTexts SavedAccountText(int16_t i);
void RestoreSavedAccount(int16_t i, const SavedAccountTexts& texts);

}  // namespace modAccounts
