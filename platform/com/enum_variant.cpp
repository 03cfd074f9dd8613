#include "platform/com/enum_variant.h"

#include "platform/com/snapshot_enum.h"

namespace com {

namespace {

struct VariantPolicy {
    using Interface = IEnumVARIANT;
    using Item = VARIANT;
    using Held = Variant;
    static HRESULT CopyOut(VARIANT* out, const Variant& held) {
        VariantInit(out);
        return VariantCopy(out, &held);
    }
};

using VariantEnum = SnapshotEnum<VariantPolicy>;

}  // namespace

HRESULT CreateEnumVariant(std::vector<Variant> items, IEnumVARIANT** enumerator) {
    return VariantEnum::Create(std::move(items), enumerator);
}

HRESULT CreateEnumVariant(std::vector<Variant> items, IUnknown** enumerator) {
    if (!enumerator) return E_POINTER;
    IEnumVARIANT* e = nullptr;
    const HRESULT hr = CreateEnumVariant(std::move(items), &e);
    *enumerator = e;  // IEnumVARIANT is an IUnknown at the same address
    return hr;
}

}  // namespace com
