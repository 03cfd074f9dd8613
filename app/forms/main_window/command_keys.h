#pragma once
// The main window's commands by tool bar and button key. Every tool bar's
// click reads the clicked button's key and runs the one command registered
// for it; each page registers its own commands where it wires its controls,
// so no switch statement has to know every page. A key with no command does
// nothing.
#include <QString>
#include <QStringView>
#include <cstdint>
#include <functional>
#include <map>
#include <tuple>
#include <vector>

namespace forms {

class CommandKeys {
public:
    // The element index of the clicked tool bar (0 for a single tool bar).
    using Command = std::function<void(int16_t index)>;
    static constexpr int16_t kAnyIndex = -1;

    // Registers the command of (toolBar, index, key); kAnyIndex serves every
    // element that has no command of its own. Keys compare without regard to
    // case, as tool-bar keys do. Registering a taken slot is a program fault
    // and throws std::logic_error.
    void Add(QStringView toolBar, int16_t index, QStringView key, Command command);
    void Add(QStringView toolBar, QStringView key, Command command) {
        Add(toolBar, kAnyIndex, key, std::move(command));
    }

    // Runs the command for the click; false when none is registered.
    bool Run(QStringView toolBar, int16_t index, QStringView key) const;

    struct Slot {
        QString toolBar;
        int16_t index;
        QString key;
    };
    // Every registered slot, in order of tool bar, index and key.
    std::vector<Slot> Slots() const;

private:
    using Id = std::tuple<QString, int16_t, QString>;
    std::map<Id, Command> commands_;
};

}  // namespace forms
