// The component's enumerations that the message model produces.
#pragma once

namespace component::mime {

enum AttachmentEncodingsEnum : int {
    encUNKNOWN = 0,
    encBASE64 = 1,
    encBINHEX4 = 2,
    encUUENCODE = 3,
    encQUOTEDPRINTABLE = 4,
    enc7BIT = 5,
};

enum PrioritiesEnum : int {
    NormalPriority = 0,
    HighPriority = 1,
    LowPriority = 2,
};

}  // namespace component::mime
