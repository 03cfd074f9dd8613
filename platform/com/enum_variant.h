#pragma once
// IEnumVARIANT: what a collection's _NewEnum (DISPID -4) returns.
#include <cstdint>
#include <vector>

#include "platform/com/unknown.h"
#include "platform/com/variant.h"

namespace com {

struct IEnumVARIANT : IUnknown {
    using base_interface = IUnknown;
    static constexpr IID iid = GuidLiteral("{68D66A9C-4C93-4834-B2F9-9C878E39FB12}");

    // Copies of up to `count` items; S_FALSE when fewer were left.
    virtual HRESULT Next(std::uint32_t count, VARIANT* items, std::uint32_t* fetched) = 0;
    virtual HRESULT Skip(std::uint32_t count) = 0;
    virtual HRESULT Reset() = 0;
    virtual HRESULT Clone(IEnumVARIANT** copy) = 0;

protected:
    ~IEnumVARIANT() = default;
};

// A snapshot enumerator over `items` (e.g. dispatch references of a
// collection's members), returned as IUnknown for _NewEnum.
HRESULT CreateEnumVariant(std::vector<Variant> items, IUnknown** enumerator);
HRESULT CreateEnumVariant(std::vector<Variant> items, IEnumVARIANT** enumerator);

}  // namespace com
