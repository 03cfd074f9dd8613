// The enumerations of the public interface that the message model
// produces, named in the MIME engine's namespace: one definition, so the
// engine and the interface cannot drift apart.
#pragma once

#include "qelpop3/qelpop3.h"

namespace component::mime {

using ::AttachmentEncodingsEnum;
using enum ::AttachmentEncodingsEnum;
using ::PrioritiesEnum;
using enum ::PrioritiesEnum;

}  // namespace component::mime
