#include "app/options/option_values.h"

#include <QRegularExpression>
#include <string_view>

#include "app/common/app_settings.h"
#include "app/common/stored_number.h"
#include "app/rules/rule_set.h"

namespace modOptions {

// Every value starts at its default (set below from the table).
OptionSettings gOpt;
OptionSettings gEditOpt;

bool gOptionsChanged = false;
bool gDefaultClientValid = false;
bool gDefaultSoundValid = false;
bool gEditDefaultClientValid = false;
bool gEditDefaultSoundValid = false;

namespace {

constexpr int32_t kNoRange = 0;

template <auto field>
OptionValue At(OptionSettings& record) {
    return &(record.*field);
}
template <std::size_t element>
OptionValue NoCheckTimeAt(OptionSettings& record) {
    return &record.NoCheckTime[element];
}
OptionValue RulesFileName(OptionSettings&) { return &modRules::gRulesFileName; }

// A 0/1 switch read by the main load.
OptionField Flag(const char* key, OptionIn in, const char* defaultText, ReadBy reader = ReadBy::MainLoad) {
    return {key, in, defaultText, 0, 1, Rule::None, reader, true};
}
OptionField Number(const char* key, OptionIn in, const char* defaultText, int32_t min, int32_t max,
                   Rule rule = Rule::None) {
    return {key, in, defaultText, min, max, rule, ReadBy::MainLoad, true};
}
OptionField Colour(const char* key, OptionIn in, const char* defaultText) {
    return {key, in, defaultText, 0, 0xFFFFFF, Rule::None, ReadBy::MenuTheme, true};
}
OptionField Text(const char* key, OptionIn in, const char* defaultText, Rule rule = Rule::None) {
    return {key, in, defaultText, kNoRange, kNoRange, rule, ReadBy::MainLoad, true};
}

std::vector<OptionField> BuildFields() {
    using S = OptionSettings;
    std::vector<OptionField> f{
        Flag("RunStartUp", At<&S::RunStartUp>, "1"),
        Flag("EmailCheckStartUp", At<&S::EmailCheckStartUp>, "0"),
        Number("StartUpDelay", At<&S::StartUpDelay>, "0", 0, 59),
        Flag("MinimizeStartUp", At<&S::MinimizeStartUp>, "0"),
        Flag("UseInterval", At<&S::UseInterval>, "0"),
        Flag("NoCheck", At<&S::NoCheck>, "0"),
        Text("NoCheckTimeBegin", NoCheckTimeAt<0>, "00:00", Rule::Time),
        Text("NoCheckTimeEnd", NoCheckTimeAt<1>, "00:00", Rule::Time),
        Flag("ShowEmailMsgBox", At<&S::ShowEmailMsgBox>, "0"),
        Number("MsgBoxTime", At<&S::MsgBoxTime>, "0", 0, 59),
        Number("ShowEmail", At<&S::ShowEmail>, "0", 0, 2),
        Number("Hours", At<&S::Hours>, "0", 0, 12),
        Number("Minutes", At<&S::Minutes>, "30", 0, 59),
        Text("DefaultClient", At<&S::DefaultClient>, ""),
        Text("DefaultSound", At<&S::DefaultSound>, ""),
        Number("RunSize", At<&S::RunSize>, "3", 1, 3, Rule::RunSize),
        Flag("PlaySound", At<&S::PlaySound>, "1"),
        {"DTheme", At<&S::DTheme>, "5", 0, 6, Rule::None, ReadBy::MenuTheme, true},
        Colour("TopColour", At<&S::TopColour>, "10072511"),
        Colour("MiddleColour", At<&S::MiddleColour>, "15724527"),
        Colour("BottomColour", At<&S::BottomColour>, "5733521"),
        Flag("ShowNewOnly", At<&S::ShowNewOnly>, "0"),
        Flag("RestoreColWidth", At<&S::RestoreColWidth>, "1", ReadBy::Layout),
        Flag("ButtonStyle", At<&S::ButtonStyle>, "0"),
        Number("ApplyStyle", At<&S::ApplyStyle>, "0", 0, 3),
        Flag("FromToolTips", At<&S::FromToolTips>, "1"),
        Flag("ToToolTips", At<&S::ToToolTips>, "1"),
        Flag("SubjectToolTips", At<&S::SubjectToolTips>, "1"),
        Flag("MessageSort", At<&S::MessageSort>, "1"),
        Number("SortColumn", At<&S::SortColumn>, "4", 0, 5),
        // The column the list was sorted by last; written by the window's unload.
        {"SortColumnLastUsed", At<&S::SortColumnLastUsed>, "4", kNoRange, kNoRange, Rule::None,
         ReadBy::MainLoad, false},
        Number("SortOrder", At<&S::SortOrder>, "1", 0, 1),
        Flag("CloseButton", At<&S::CloseButton>, "1"),
        Flag("QuickCheck", At<&S::QuickCheck>, "1"),
        Flag("DeleteConfirmation", At<&S::DeleteConfirmation>, "1"),
        Flag("SuppressConnectErrors", At<&S::SuppressConnectErrors>, "0"),
        Flag("SuppressRetrieveErrors", At<&S::SuppressRetrieveErrors>, "0"),
        Number("ConnectTimeOut", At<&S::ConnectTimeOut>, "10", 1, 120),
        // Written by the rules file's rename and import.
        {"RulesIniFileName", RulesFileName, "Rules.ini", kNoRange, kNoRange, Rule::FileName, ReadBy::MainLoad,
         false},
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
        field.in(gOpt));
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
        if (field.in == RulesFileName) continue;
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
        if ((gOpt.Hours == 0 && gOpt.Minutes == 0) || (gOpt.Hours == 12 && gOpt.Minutes != 0)) {
            Assign(*FindOption(QStringLiteral("Hours")), QString());
            Assign(field, QString());
        }
    }
}

int16_t CheckIntervalMinutes() { return static_cast<int16_t>(gOpt.Hours * 60 + gOpt.Minutes); }

QString StoredText(const OptionField& field) {
    return std::visit(
        [](auto* live) {
            if constexpr (std::is_same_v<std::remove_pointer_t<decltype(live)>, QString>)
                return *live;
            else
                return QString::number(*live);
        },
        field.in(gOpt));
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
        std::visit([&](auto* live) { f(*live, *std::get<decltype(live)>(field.in(gEditOpt))); },
                   field.in(gOpt));
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
