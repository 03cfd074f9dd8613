#include "app/forms/window_hooks.h"

namespace forms {

WindowHooks gWindowHooks;

void SuspendAutoCheck(const QString& action) {
    if (gWindowHooks.SuspendAutoCheck) gWindowHooks.SuspendAutoCheck(action);
}

int OptButtonStyle() { return gWindowHooks.ButtonStyle ? gWindowHooks.ButtonStyle() : 0; }

int OptApplyStyle() { return gWindowHooks.ApplyStyle ? gWindowHooks.ApplyStyle() : 0; }

bool DefaultClientValid() { return gWindowHooks.DefaultClientValid && gWindowHooks.DefaultClientValid(); }

}  // namespace forms
