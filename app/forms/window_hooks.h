#pragma once
// The check cycle's pause of the automatic check, as the child windows call
// it; the start procedure wires it before the first window loads. Unwired,
// it pauses nothing.
#include <QString>
#include <functional>

namespace forms {

struct WindowHooks {
    // The check cycle's SuspendAutoCheck, with "Suspend" or "Restore".
    std::function<void(const QString& action)> SuspendAutoCheck;
};
extern WindowHooks gWindowHooks;

// Calls through gWindowHooks.
void SuspendAutoCheck(const QString& action);

}  // namespace forms
