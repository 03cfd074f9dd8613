#include "app/forms/main_window/command_keys.h"

#include <stdexcept>

namespace forms {

void CommandKeys::Add(QStringView toolBar, int16_t index, QStringView key, Command command) {
    const auto [it, added] =
        commands_.try_emplace(Id{toolBar.toString(), index, key.toString().toLower()}, std::move(command));
    if (!added)
        throw std::logic_error("two commands for " + toolBar.toString().toStdString() + "(" +
                               std::to_string(index) + ") \"" + key.toString().toStdString() + "\"");
}

bool CommandKeys::Run(QStringView toolBar, int16_t index, QStringView key) const {
    const QString bar = toolBar.toString();
    const QString lower = key.toString().toLower();
    auto it = commands_.find(Id{bar, index, lower});
    if (it == commands_.end()) it = commands_.find(Id{bar, kAnyIndex, lower});
    if (it == commands_.end()) return false;
    it->second(index);
    return true;
}

std::vector<CommandKeys::Slot> CommandKeys::Slots() const {
    std::vector<Slot> all;
    all.reserve(commands_.size());
    for (const auto& [id, command] : commands_)
        all.push_back({std::get<0>(id), std::get<1>(id), std::get<2>(id)});
    return all;
}

}  // namespace forms
