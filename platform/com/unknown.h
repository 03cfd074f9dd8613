#pragma once
// The root interface. Every interface is an abstract class whose members
// return HRESULT; each names its identifier as `iid` and its parent
// interface as `base_interface`, which QueryInterface walks.
#include <cstdint>

#include "platform/com/guid.h"
#include "platform/com/hresult.h"

namespace com {

struct IUnknown {
    static constexpr IID iid = GuidLiteral("{15D0937F-7438-41D2-AE9E-E1831EDE8A5E}");

    virtual HRESULT QueryInterface(const IID& iid, void** object) = 0;
    virtual std::uint32_t AddRef() = 0;
    // Returns the count of references that remain.
    virtual std::uint32_t Release() = 0;

protected:
    ~IUnknown() = default;
};

inline constexpr const IID& IID_IUnknown = IUnknown::iid;

// The identifier of an interface type.
template <class I>
constexpr const IID& IidOf() noexcept {
    return I::iid;
}

}  // namespace com
