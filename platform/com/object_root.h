#pragma once
// Reference counting with deferred free for objects that are re-entered.
//
// A client may release its last reference from inside an event that the
// object itself raised, while the object's own frames are still on the
// stack. Then FinalRelease runs at once (the object lets go of everything
// it holds and becomes a zombie), but the memory is freed only when the
// outermost guarded call returns, so those frames can still test IsAlive()
// and unwind without touching freed memory.
//
// Objects live on one thread (the one that created them): the counts are
// plain integers.
#include <cstdint>

#include "platform/com/hresult.h"

namespace com {

class ObjectRoot {
public:
    ObjectRoot() = default;
    ObjectRoot(const ObjectRoot&) = delete;
    ObjectRoot& operator=(const ObjectRoot&) = delete;

    // Both return the count that remains.
    std::uint32_t InternalAddRef() noexcept;
    std::uint32_t InternalRelease() noexcept;

    std::uint32_t RefCount() const noexcept { return refs_; }
    // False once FinalRelease has run.
    bool IsAlive() const noexcept { return !finalReleased_; }
    // Number of guarded calls of this object on the stack.
    std::uint32_t CallDepth() const noexcept { return depth_; }

    // Marks a member or handler of the object as running: while any guard
    // exists the memory stays valid even after the last Release.
    class CallGuard {
    public:
        explicit CallGuard(ObjectRoot& object) noexcept;
        ~CallGuard();
        CallGuard(const CallGuard&) = delete;
        CallGuard& operator=(const CallGuard&) = delete;

        bool Alive() const noexcept { return object_.IsAlive(); }

    private:
        ObjectRoot& object_;
    };

    // Runs once, after construction by the creating helpers; a failure
    // destroys the object and is returned to the creator.
    virtual HRESULT FinalConstruct() { return S_OK; }

protected:
    virtual ~ObjectRoot() = default;
    // Runs once, when the last reference goes, also from inside a call.
    virtual void FinalRelease() {}

private:
    void FreeIfUnused() noexcept;

    std::uint32_t refs_ = 0;
    std::uint32_t depth_ = 0;
    bool finalReleased_ = false;
};

}  // namespace com
