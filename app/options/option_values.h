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

// The values of "Settings\Options", each field named after its key; the
// program holds two: the live values and the Options page's edit copy.
struct OptionSettings {
    int16_t RunStartUp = 0;
    int16_t EmailCheckStartUp = 0;
    int16_t StartUpDelay = 0;
    int16_t MinimizeStartUp = 0;
    int16_t UseInterval = 0;
    int16_t NoCheck = 0;
    // Element 0 "NoCheckTimeBegin", 1 "NoCheckTimeEnd" ("hh:mm"); 2 is unused.
    std::array<QString, 3> NoCheckTime;
    int16_t ShowEmailMsgBox = 0;
    int16_t MsgBoxTime = 0;
    int16_t ShowEmail = 0;
    int16_t Hours = 0;
    int16_t Minutes = 0;
    QString DefaultClient;
    QString DefaultSound;
    int16_t RunSize = 0;
    int16_t PlaySound = 0;
    int16_t DTheme = 0;
    int32_t TopColour = 0;
    int32_t MiddleColour = 0;
    int32_t BottomColour = 0;
    int16_t ShowNewOnly = 0;
    int16_t RestoreColWidth = 0;
    int16_t ButtonStyle = 0;
    int16_t ApplyStyle = 0;
    int16_t FromToolTips = 0;
    int16_t ToToolTips = 0;
    int16_t SubjectToolTips = 0;
    int16_t MessageSort = 0;
    int16_t SortColumn = 0;
    // Read only live: the page does not edit it, so it is unused in the edit copy.
    QString SortColumnLastUsed;
    int16_t SortOrder = 0;
    int16_t CloseButton = 0;
    int16_t QuickCheck = 0;
    int16_t DeleteConfirmation = 0;
    int16_t SuppressConnectErrors = 0;
    int16_t SuppressRetrieveErrors = 0;
    int16_t ConnectTimeOut = 0;
};

// The live values that the whole program reads.
extern OptionSettings gOpt;
// The Options page's edit copy of every saved key.
extern OptionSettings gEditOpt;

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
// A key's value in a record: the live values or the edit copy. The rules
// file's name is the rules module's own, the same for either record.
using OptionIn = OptionValue (*)(OptionSettings& record);

// One key of "Settings\Options".
struct OptionField {
    const char* key;
    OptionIn in;
    const char* defaultText;
    int32_t min;  // range of a number
    int32_t max;
    Rule rule;
    ReadBy readBy;
    bool saved;  // written by SaveOptions, in table order, and edited by the page
};

// Every key, in the order the window's load reads them; the saved keys in
// this order are the order SaveOptions writes.
const std::vector<OptionField>& OptionFields();
// The field of a key (exact name); null when there is none.
const OptionField* FindOption(const QString& key);

// The stored value of every key that `reader` reads, in table order, into
// the live values; a missing, non-numeric or out-of-range value takes the
// key's default; a stored interval the page does not allow takes the default
// hours and minutes.
void LoadOptions(ReadBy reader);
// The automatic check's interval in minutes, from the live hours and minutes.
int16_t CheckIntervalMinutes();
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
