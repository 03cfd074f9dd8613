#include "app/options/option_values.h"

#include <QRegularExpression>
#include <string_view>

#include "app/common/app_settings.h"
#include "app/common/stored_number.h"
#include "app/general/check_status.h"
#include "app/rules/rule_set.h"

namespace modOptions {

// Every value starts at its default (set below from the table).
int16_t gOptRunStartUp;
int16_t gOptEmailCheckStartUp;
int16_t gOptStartUpDelay;
int16_t gOptMinimizeStartUp;
int16_t gOptUseInterval;
int16_t gOptNoCheck;
std::array<QString, 3> gOptNoCheckTime;
int16_t gOptShowEmailMsgBox;
int16_t gOptMsgBoxTime;
int16_t gOptShowEmail;
int16_t gOptHours;
int16_t gOptMinutes;
QString gOptDefaultClient;
QString gOptDefaultSound;
int16_t gOptRunSize;
int16_t gOptPlaySound;
int16_t gOptDTheme;
int32_t gOptTopColour;
int32_t gOptMiddleColour;
int32_t gOptBottomColour;
int16_t gOptShowNewOnly;
int16_t gOptRestoreColWidth;
int16_t gOptButtonStyle;
int16_t gOptApplyStyle;
int16_t gOptFromToolTips;
int16_t gOptToToolTips;
int16_t gOptSubjectToolTips;
int16_t gOptMessageSort;
int16_t gOptSortColumn;
QString gOptSortColumnLastUsed;
int16_t gOptSortOrder;
int16_t gOptCloseButton;
int16_t gOptQuickCheck;
int16_t gOptDeleteConfirmation;
int16_t gOptSuppressConnectErrors;
int16_t gOptSuppressRetrieveErrors;
int16_t gOptConnectTimeOut;

int16_t gEditOptRunStartUp;
int16_t gEditOptEmailCheckStartUp;
int16_t gEditOptStartUpDelay;
int16_t gEditOptMinimizeStartUp;
int16_t gEditOptUseInterval;
int16_t gEditOptNoCheck;
std::array<QString, 3> gEditOptNoCheckTime;
int16_t gEditOptShowEmailMsgBox;
int16_t gEditOptMsgBoxTime;
int16_t gEditOptShowEmail;
int16_t gEditOptHours;
int16_t gEditOptMinutes;
QString gEditOptDefaultClient;
QString gEditOptDefaultSound;
int16_t gEditOptRunSize;
int16_t gEditOptPlaySound;
int16_t gEditOptDTheme;
int32_t gEditOptTopColour;
int32_t gEditOptMiddleColour;
int32_t gEditOptBottomColour;
int16_t gEditOptShowNewOnly;
int16_t gEditOptRestoreColWidth;
int16_t gEditOptButtonStyle;
int16_t gEditOptApplyStyle;
int16_t gEditOptFromToolTips;
int16_t gEditOptToToolTips;
int16_t gEditOptSubjectToolTips;
int16_t gEditOptMessageSort;
int16_t gEditOptSortColumn;
int16_t gEditOptSortOrder;
int16_t gEditOptCloseButton;
int16_t gEditOptQuickCheck;
int16_t gEditOptDeleteConfirmation;
int16_t gEditOptSuppressConnectErrors;
int16_t gEditOptSuppressRetrieveErrors;
int16_t gEditOptConnectTimeOut;

bool gOptionsChanged = false;
bool gDefaultClientValid = false;
bool gDefaultSoundValid = false;
bool gEditDefaultClientValid = false;
bool gEditDefaultSoundValid = false;

namespace {

constexpr int32_t kNoRange = 0;
const OptionValue kNotEdited = static_cast<QString*>(nullptr);

// A 0/1 switch read by the main load.
OptionField Flag(const char* key, int16_t* live, int16_t* edit, const char* defaultText,
                 ReadBy reader = ReadBy::MainLoad) {
    return {key, live, edit, defaultText, 0, 1, Rule::None, reader, true};
}
OptionField Number(const char* key, int16_t* live, int16_t* edit, const char* defaultText, int32_t min,
                   int32_t max, Rule rule = Rule::None) {
    return {key, live, edit, defaultText, min, max, rule, ReadBy::MainLoad, true};
}
OptionField Colour(const char* key, int32_t* live, int32_t* edit, const char* defaultText) {
    return {key, live, edit, defaultText, 0, 0xFFFFFF, Rule::None, ReadBy::MenuTheme, true};
}
OptionField Text(const char* key, QString* live, QString* edit, const char* defaultText,
                 Rule rule = Rule::None) {
    return {key, live, edit, defaultText, kNoRange, kNoRange, rule, ReadBy::MainLoad, true};
}

std::vector<OptionField> BuildFields() {
    std::vector<OptionField> f{
        Flag("RunStartUp", &gOptRunStartUp, &gEditOptRunStartUp, "1"),
        Flag("EmailCheckStartUp", &gOptEmailCheckStartUp, &gEditOptEmailCheckStartUp, "0"),
        Number("StartUpDelay", &gOptStartUpDelay, &gEditOptStartUpDelay, "0", 0, 59),
        Flag("MinimizeStartUp", &gOptMinimizeStartUp, &gEditOptMinimizeStartUp, "0"),
        Flag("UseInterval", &gOptUseInterval, &gEditOptUseInterval, "0"),
        Flag("NoCheck", &gOptNoCheck, &gEditOptNoCheck, "0"),
        Text("NoCheckTimeBegin", &gOptNoCheckTime[0], &gEditOptNoCheckTime[0], "00:00", Rule::Time),
        Text("NoCheckTimeEnd", &gOptNoCheckTime[1], &gEditOptNoCheckTime[1], "00:00", Rule::Time),
        Flag("ShowEmailMsgBox", &gOptShowEmailMsgBox, &gEditOptShowEmailMsgBox, "0"),
        Number("MsgBoxTime", &gOptMsgBoxTime, &gEditOptMsgBoxTime, "0", 0, 59),
        Number("ShowEmail", &gOptShowEmail, &gEditOptShowEmail, "0", 0, 2),
        Number("Hours", &gOptHours, &gEditOptHours, "0", 0, 12),
        Number("Minutes", &gOptMinutes, &gEditOptMinutes, "30", 0, 59),
        Text("DefaultClient", &gOptDefaultClient, &gEditOptDefaultClient, ""),
        Text("DefaultSound", &gOptDefaultSound, &gEditOptDefaultSound, ""),
        Number("RunSize", &gOptRunSize, &gEditOptRunSize, "3", 1, 3, Rule::RunSize),
        Flag("PlaySound", &gOptPlaySound, &gEditOptPlaySound, "1"),
        {"DTheme", &gOptDTheme, &gEditOptDTheme, "5", 0, 6, Rule::None, ReadBy::MenuTheme, true},
        Colour("TopColour", &gOptTopColour, &gEditOptTopColour, "10072511"),
        Colour("MiddleColour", &gOptMiddleColour, &gEditOptMiddleColour, "15724527"),
        Colour("BottomColour", &gOptBottomColour, &gEditOptBottomColour, "5733521"),
        Flag("ShowNewOnly", &gOptShowNewOnly, &gEditOptShowNewOnly, "0"),
        Flag("RestoreColWidth", &gOptRestoreColWidth, &gEditOptRestoreColWidth, "1", ReadBy::Layout),
        Flag("ButtonStyle", &gOptButtonStyle, &gEditOptButtonStyle, "0"),
        Number("ApplyStyle", &gOptApplyStyle, &gEditOptApplyStyle, "0", 0, 3),
        Flag("FromToolTips", &gOptFromToolTips, &gEditOptFromToolTips, "1"),
        Flag("ToToolTips", &gOptToToolTips, &gEditOptToToolTips, "1"),
        Flag("SubjectToolTips", &gOptSubjectToolTips, &gEditOptSubjectToolTips, "1"),
        Flag("MessageSort", &gOptMessageSort, &gEditOptMessageSort, "1"),
        Number("SortColumn", &gOptSortColumn, &gEditOptSortColumn, "4", 0, 5),
        // The column the list was sorted by last; written by the window's unload.
        {"SortColumnLastUsed", &gOptSortColumnLastUsed, kNotEdited, "4", kNoRange, kNoRange, Rule::None,
         ReadBy::MainLoad, false},
        Number("SortOrder", &gOptSortOrder, &gEditOptSortOrder, "1", 0, 1),
        Flag("CloseButton", &gOptCloseButton, &gEditOptCloseButton, "1"),
        Flag("QuickCheck", &gOptQuickCheck, &gEditOptQuickCheck, "1"),
        Flag("DeleteConfirmation", &gOptDeleteConfirmation, &gEditOptDeleteConfirmation, "1"),
        Flag("SuppressConnectErrors", &gOptSuppressConnectErrors, &gEditOptSuppressConnectErrors, "0"),
        Flag("SuppressRetrieveErrors", &gOptSuppressRetrieveErrors, &gEditOptSuppressRetrieveErrors, "0"),
        Number("ConnectTimeOut", &gOptConnectTimeOut, &gEditOptConnectTimeOut, "10", 1, 120),
        // Written by the rules file's rename and import.
        {"RulesIniFileName", &modRules::gRulesFileName, kNotEdited, "Rules.ini", kNoRange, kNoRange,
         Rule::FileName, ReadBy::MainLoad, false},
    };
    return f;
}

bool MeetsRule(Rule rule, const QString& text, int64_t number) {
    switch (rule) {
        case Rule::None:
            return true;
        case Rule::RunSize:
            return number == 1 || number == 3;
        case Rule::Time: {
            static const QRegularExpression time(QStringLiteral("^([01][0-9]|2[0-3]):[0-5][0-9]$"));
            return time.match(text).hasMatch();
        }
        case Rule::FileName:
            return !text.isEmpty() && !text.contains(QLatin1Char('/')) && text != QLatin1String(".") &&
                   text != QLatin1String("..");
    }
    return false;
}

// The value a stored text gives field: the default when it is no number, out
// of range, or breaks the field's rule.
void Assign(const OptionField& field, const QString& stored) {
    const QString fallback = QString::fromLatin1(field.defaultText);
    std::visit(
        [&](auto* live) {
            using T = std::remove_pointer_t<decltype(live)>;
            if constexpr (std::is_same_v<T, QString>) {
                *live = MeetsRule(field.rule, stored, 0) ? stored : fallback;
            } else {
                const std::optional<int64_t> n = ParseStoredNumber(stored);
                const bool good =
                    n && *n >= field.min && *n <= field.max && MeetsRule(field.rule, stored, *n);
                *live = static_cast<T>(good ? *n : *ParseStoredNumber(fallback));
            }
        },
        field.live);
}

}  // namespace

const std::vector<OptionField>& OptionFields() {
    static const std::vector<OptionField> fields = BuildFields();
    return fields;
}

namespace {

// The program starts with every value at its default, as if nothing were
// stored; the rules file's name is the rules module's own.
bool SetDefaults() {
    for (const OptionField& field : OptionFields()) {
        if (field.live == OptionValue(&modRules::gRulesFileName)) continue;
        Assign(field, QString::fromLatin1(field.defaultText));
    }
    CopyOptionsToEdit();
    return true;
}
[[maybe_unused]] const bool kAtDefaults = SetDefaults();

}  // namespace

const OptionField* FindOption(const QString& key) {
    for (const OptionField& field : OptionFields())
        if (key == QLatin1String(field.key)) return &field;
    return nullptr;
}

void LoadOptions(ReadBy reader) {
    for (const OptionField& field : OptionFields()) {
        if (field.readBy != reader) continue;
        Assign(field, GetSetting(kAppKey, kOptionsSection, QString::fromLatin1(field.key),
                                 QString::fromLatin1(field.defaultText)));
        if (std::string_view(field.key) != "Minutes") continue;
        // The page allows intervals from 0:01 to 12:00; any other pair of
        // stored values takes the default interval.
        if ((gOptHours == 0 && gOptMinutes == 0) || (gOptHours == 12 && gOptMinutes != 0)) {
            Assign(*FindOption(QStringLiteral("Hours")), QString());
            Assign(field, QString());
        }
        modGeneral::gIntervalMinutes = static_cast<int16_t>(gOptHours * 60 + gOptMinutes);
    }
}

QString StoredText(const OptionField& field) {
    return std::visit(
        [](auto* live) {
            if constexpr (std::is_same_v<std::remove_pointer_t<decltype(live)>, QString>)
                return *live;
            else
                return QString::number(*live);
        },
        field.live);
}

bool WriteOptions() {
    std::vector<std::pair<QString, QString>> values;
    for (const OptionField& field : OptionFields())
        if (field.saved) values.emplace_back(QString::fromLatin1(field.key), StoredText(field));
    return SaveSettings(kAppKey, kOptionsSection, values);
}

namespace {

// Calls f(live, edit) for every key the page edits; the menu theme and
// colours only when withMenuTheme.
template <typename F>
void ForEachEdited(bool withMenuTheme, F f) {
    for (const OptionField& field : OptionFields()) {
        if (!field.saved || (!withMenuTheme && field.readBy == ReadBy::MenuTheme)) continue;
        std::visit([&](auto* live) { f(*live, *std::get<decltype(live)>(field.edit)); }, field.live);
    }
}

}  // namespace

void CopyOptionsToEdit() {
    ForEachEdited(true, [](const auto& live, auto& edit) { edit = live; });
}

void CommitEditOptions() {
    ForEachEdited(false, [](auto& live, const auto& edit) { live = edit; });
}

bool EditOptionsDiffer() {
    bool differs = false;
    ForEachEdited(true, [&](const auto& live, const auto& edit) { differs = differs || live != edit; });
    return differs;
}

}  // namespace modOptions
