#pragma once
// The option values of section "Settings\Options": one table of every key
// with its type, default, range and reader, the live values that the whole
// program reads, and the edit copy behind the Options page. Reading, writing,
// copying and comparing all walk the one table, so a key is never missed.

#include <QString>
#include <array>
#include <cstdint>
#include <variant>
#include <vector>

namespace modOptions {

inline const QString kOptionsSection = QStringLiteral("Settings\\Options");

// Live values, named after their keys.
extern int16_t gOptRunStartUp;
extern int16_t gOptEmailCheckStartUp;
extern int16_t gOptStartUpDelay;
extern int16_t gOptMinimizeStartUp;
extern int16_t gOptUseInterval;
extern int16_t gOptNoCheck;
// Element 0 "NoCheckTimeBegin", 1 "NoCheckTimeEnd" ("hh:mm"); 2 is unused.
extern std::array<QString, 3> gOptNoCheckTime;
extern int16_t gOptShowEmailMsgBox;
extern int16_t gOptMsgBoxTime;
extern int16_t gOptShowEmail;
extern int16_t gOptHours;
extern int16_t gOptMinutes;
extern QString gOptDefaultClient;
extern QString gOptDefaultSound;
extern int16_t gOptRunSize;
extern int16_t gOptPlaySound;
extern int16_t gOptDTheme;
extern int32_t gOptTopColour;
extern int32_t gOptMiddleColour;
extern int32_t gOptBottomColour;
extern int16_t gOptShowNewOnly;
extern int16_t gOptRestoreColWidth;
extern int16_t gOptButtonStyle;
extern int16_t gOptApplyStyle;
extern int16_t gOptFromToolTips;
extern int16_t gOptToToolTips;
extern int16_t gOptSubjectToolTips;
extern int16_t gOptMessageSort;
extern int16_t gOptSortColumn;
extern QString gOptSortColumnLastUsed;
extern int16_t gOptSortOrder;
extern int16_t gOptCloseButton;
extern int16_t gOptQuickCheck;
extern int16_t gOptDeleteConfirmation;
extern int16_t gOptSuppressConnectErrors;
extern int16_t gOptSuppressRetrieveErrors;
extern int16_t gOptConnectTimeOut;

// The Options page's edit copy of every saved key.
extern int16_t gEditOptRunStartUp;
extern int16_t gEditOptEmailCheckStartUp;
extern int16_t gEditOptStartUpDelay;
extern int16_t gEditOptMinimizeStartUp;
extern int16_t gEditOptUseInterval;
extern int16_t gEditOptNoCheck;
extern std::array<QString, 3> gEditOptNoCheckTime;
extern int16_t gEditOptShowEmailMsgBox;
extern int16_t gEditOptMsgBoxTime;
extern int16_t gEditOptShowEmail;
extern int16_t gEditOptHours;
extern int16_t gEditOptMinutes;
extern QString gEditOptDefaultClient;
extern QString gEditOptDefaultSound;
extern int16_t gEditOptRunSize;
extern int16_t gEditOptPlaySound;
extern int16_t gEditOptDTheme;
extern int32_t gEditOptTopColour;
extern int32_t gEditOptMiddleColour;
extern int32_t gEditOptBottomColour;
extern int16_t gEditOptShowNewOnly;
extern int16_t gEditOptRestoreColWidth;
extern int16_t gEditOptButtonStyle;
extern int16_t gEditOptApplyStyle;
extern int16_t gEditOptFromToolTips;
extern int16_t gEditOptToToolTips;
extern int16_t gEditOptSubjectToolTips;
extern int16_t gEditOptMessageSort;
extern int16_t gEditOptSortColumn;
extern int16_t gEditOptSortOrder;
extern int16_t gEditOptCloseButton;
extern int16_t gEditOptQuickCheck;
extern int16_t gEditOptDeleteConfirmation;
extern int16_t gEditOptSuppressConnectErrors;
extern int16_t gEditOptSuppressRetrieveErrors;
extern int16_t gEditOptConnectTimeOut;

// Some edit value differs from its live value.
extern bool gOptionsChanged;
// The saved default mail client (sound) can be started (played): what the
// rest of the program starts or plays, so it follows the saved paths only.
extern bool gDefaultClientValid;
extern bool gDefaultSoundValid;
// The same for the paths pending on the Options page, which the page shows.
extern bool gEditDefaultClientValid;
extern bool gEditDefaultSoundValid;

// Who reads a key at start: the main window's load, the menu theme before
// the window exists, or the window's layout.
enum class ReadBy { MainLoad, MenuTheme, Layout };

// Rules a stored value must meet beyond being a number in range; a value
// that breaks them reads as the default.
enum class Rule {
    None,
    RunSize,   // 1 "Normal" or 3 "Maximized"
    Time,      // "hh:mm", 00:00 to 23:59
    FileName,  // a name without folder
};

using OptionValue = std::variant<int16_t*, int32_t*, QString*>;

// One key of "Settings\Options".
struct OptionField {
    const char* key;
    OptionValue live;
    OptionValue edit;  // holds a null pointer for keys the page does not edit
    const char* defaultText;
    int32_t min;  // range of a number
    int32_t max;
    Rule rule;
    ReadBy readBy;
    bool saved;  // written by SaveOptions, in table order
};

// Every key, in the order the window's load reads them; the saved keys in
// this order are the order SaveOptions writes.
const std::vector<OptionField>& OptionFields();
// The field of a key (exact name); null when there is none.
const OptionField* FindOption(const QString& key);

// The stored value of every key that `reader` reads, in table order, into
// the live values; a missing, non-numeric or out-of-range value takes the
// key's default. The main load computes gIntervalMinutes right after
// "Minutes".
void LoadOptions(ReadBy reader);
// The live value of field as it is stored.
QString StoredText(const OptionField& field);
// Every saved key from the live values, in one write; false when nothing
// could be written (the stored values are then as before).
bool WriteOptions();

// The edit copy takes every live value.
void CopyOptionsToEdit();
// Every live value takes its edit value, except the menu theme and colours,
// which SaveOptions commits from the page's colour boxes.
void CommitEditOptions();
// True when any edit value differs from its live value (texts compared
// exactly, letter case included).
bool EditOptionsDiffer();

}  // namespace modOptions
