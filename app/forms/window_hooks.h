#pragma once
// What the windows of this folder take from modules that land beside them:
// the check cycle's pause of the automatic check and the live option values.
// The start procedure wires each hook before the first window loads. An
// unwired hook pauses nothing and reads the option's default.
#include <QString>
#include <functional>

namespace forms {

struct WindowHooks {
    // The check cycle's SuspendAutoCheck, with "Suspend" or "Restore".
    std::function<void(const QString& action)> SuspendAutoCheck;
    // The live "ButtonStyle" (0 or 1) and "ApplyStyle" (0 to 3).
    std::function<int()> ButtonStyle;
    std::function<int()> ApplyStyle;
    // Whether the options' default mail client is a usable program.
    std::function<bool()> DefaultClientValid;
};
extern WindowHooks gWindowHooks;

// Calls through gWindowHooks.
void SuspendAutoCheck(const QString& action);
int OptButtonStyle();
int OptApplyStyle();
bool DefaultClientValid();

}  // namespace forms
