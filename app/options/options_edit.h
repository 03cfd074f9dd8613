#pragma once
// The edit of the option values: show the live values (DisplayOptions),
// follow the edits (CheckOptionsChanged), and commit, write and apply them
// (SaveOptions); and the tool-bar style the options choose.

#include <QString>
#include <cstdint>
#include <optional>

namespace modOptions {

// Copies the live values into the edit copy, fills the page, runs the change
// check. Called at load, by Cancel and at the end of SaveOptions.
void DisplayOptions();
// Recomputes gOptionsChanged, the derived switches (gSoundsOn, the default
// client's and sound's validity, the current account's client validity) and
// the page's Save and Cancel buttons. Does nothing while gLoading is set.
void CheckOptionsChanged();
// Commits every pending edit, writes all saved keys and applies them.
void SaveOptions();
// The sort order a header click chose (0 ascending, 1 descending) becomes
// the live and the pending one, shown on the page: the order chosen last, by
// a header or on the page, is the one a save keeps.
void ChooseSortOrder(int16_t order);

// 1 = flat, 0 = raised, per group.
struct ToolbarStyles {
    int16_t a;
    int16_t b;
    int16_t c;
    bool operator==(const ToolbarStyles&) const = default;
};
// The groups' styles for "ButtonStyle" and "ApplyStyle"; nullopt when the
// styles stay as they are (an "ApplyStyle" beyond 0..3).
std::optional<ToolbarStyles> ToolbarStylesFor(int16_t buttonStyle, int16_t applyStyle);
// Applies the live "ButtonStyle" and "ApplyStyle" to the window's tool bars.
void ApplyButtonStyle();

// The list column key of a "SortColumn" value: 1 to 5 "From" … "Size"; 0 the
// last-used column, "Date" when that names no column.
QString SortColumnName(int16_t sortColumn);

// A sound the program can play: an existing file whose name ends ".wav",
// letter case aside.
bool IsUsableSound(const QString& path);

}  // namespace modOptions
