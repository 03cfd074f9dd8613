#include "app/forms/window_hooks.h"

namespace forms {

WindowHooks gWindowHooks;

void SuspendAutoCheck(const QString& action) {
    if (gWindowHooks.SuspendAutoCheck) gWindowHooks.SuspendAutoCheck(action);
}

void SuspendStartUpCheck(const QString& action) {
    if (gWindowHooks.SuspendStartUpCheck) gWindowHooks.SuspendStartUpCheck(action);
}

}  // namespace forms
