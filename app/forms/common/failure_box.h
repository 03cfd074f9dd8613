#pragma once
// How the program tells a failure that ended one of its handlers: a message
// box titled with the program's name, naming what was being done and what
// went wrong, and saying that the program goes on.
#include <QString>

#include "platform/loop/handler_barrier.h"

namespace forms {

// The box's text.
QString HandlerFailurePrompt(const platform::loop::HandlerFailure& failure);

// While the object lives, failures are told in that box.
class FailureBox {
public:
    FailureBox();

private:
    platform::loop::FailureReporter reporter_;
};

}  // namespace forms
