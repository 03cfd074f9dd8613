#pragma once
// The check cycle's pauses of the automatic check and of the start-up
// countdown, as the child windows call them; the start procedure wires them
// before the first window loads. Unwired, they pause nothing.
#include <QString>
#include <functional>

namespace forms {

struct WindowHooks {
    // The check cycle's SuspendAutoCheck, with "Suspend" or "Restore".
    std::function<void(const QString& action)> SuspendAutoCheck;
    // The start-up countdown's pause, with "Suspend" or "Restore".
    std::function<void(const QString& action)> SuspendStartUpCheck;
};
extern WindowHooks gWindowHooks;

// Calls through gWindowHooks.
void SuspendAutoCheck(const QString& action);
void SuspendStartUpCheck(const QString& action);

}  // namespace forms
