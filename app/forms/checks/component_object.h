#pragma once
// The one component object of the program and the library that serves it.
#include <QString>
#include <stdexcept>

#include "platform/com/com_ptr.h"
#include "qelpop3/qelpop3.h"

namespace forms {

// Held by the main window from its load to its unload.
extern com::ComPtr<IqelPop3Com> gPop3;

// The component library: the installed one beside the program's other
// libraries, else the one built with the program; a test may name another.
void SetComponentLibraryPath(const QString& path);
QString ComponentLibraryPath();

// The description the thread's error information holds (a failed call of
// the component leaves it there); empty when there is none.
QString ErrorInfoText();

// Creates a component object by class. On failure, error holds a text for
// the user that names the library file and the reason.
com::ComPtr<IqelPop3Com> CreateComponent(QString& error);
// A message object of the component of its own, which reads the file it is
// given; none when it cannot be made.
com::ComPtr<IPop3Msg> CreateMessageObject();

// A start that cannot go on: the program shows what went wrong and ends with
// a non-zero status.
class StartupFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace forms
