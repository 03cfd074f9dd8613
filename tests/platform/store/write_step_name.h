#pragma once
#include <ostream>
#include <string>

#include "platform/store/atomic_file.h"

inline std::string StepName(platform::store::WriteStep step) {
    switch (step) {
        case platform::store::WriteStep::Create:
            return "Create";
        case platform::store::WriteStep::Write:
            return "Write";
        case platform::store::WriteStep::Sync:
            return "Sync";
        case platform::store::WriteStep::Rename:
            return "Rename";
        case platform::store::WriteStep::KeepAside:
            return "KeepAside";
    }
    return "?";
}

namespace platform::store {
inline void PrintTo(WriteStep step, std::ostream* os) { *os << StepName(step); }
}  // namespace platform::store
