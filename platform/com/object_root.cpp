#include "platform/com/object_root.h"

namespace com {

std::uint32_t ObjectRoot::InternalAddRef() noexcept { return ++refs_; }

std::uint32_t ObjectRoot::InternalRelease() noexcept {
    if (refs_ == 0) return 0;  // an unbalanced Release: never free twice
    if (--refs_ > 0) return refs_;
    if (!finalReleased_) {
        finalReleased_ = true;
        // FinalRelease may add and drop references to this object itself;
        // the raised depth keeps those from freeing it under our feet.
        ++depth_;
        FinalRelease();
        --depth_;
    }
    const std::uint32_t remaining = refs_;
    FreeIfUnused();
    return remaining;
}

void ObjectRoot::FreeIfUnused() noexcept {
    if (depth_ == 0 && refs_ == 0 && finalReleased_) delete this;
}

ObjectRoot::CallGuard::CallGuard(ObjectRoot& object) noexcept : object_(object) { ++object_.depth_; }

ObjectRoot::CallGuard::~CallGuard() {
    if (--object_.depth_ == 0) object_.FreeIfUnused();
}

}  // namespace com
