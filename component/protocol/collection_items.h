#pragma once
// What every collection of the component shares over its list of items:
// a 16-bit Count, 0-based Item (E_INVALIDARG outside the list) and a
// _NewEnum that enumerates a snapshot, so a list changed during the
// enumeration cannot invalidate it.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "platform/com/com_ptr.h"
#include "platform/com/enum_variant.h"
#include "platform/com/hresult.h"
#include "platform/com/variant.h"

namespace component::protocol {

template <class Items>
com::HRESULT CollectionCount(const Items& items, std::int16_t* value) {
    if (value == nullptr) return com::E_POINTER;
    // A 16-bit count never wraps negative; the lists hold no more anyway.
    *value = static_cast<std::int16_t>(std::min<std::size_t>(items.size(), INT16_MAX));
    return com::S_OK;
}

template <class Interface, class Items>
com::HRESULT CollectionItem(const Items& items, std::int16_t index, Interface** value) {
    if (value == nullptr) return com::E_POINTER;
    *value = nullptr;
    if (index < 0 || static_cast<std::size_t>(index) >= items.size()) return com::E_INVALIDARG;
    return com::ComPtr<Interface>(items[static_cast<std::size_t>(index)].Get()).CopyTo(value);
}

template <class Interface, class Items>
com::HRESULT CollectionEnum(const Items& items, com::IUnknown** enumerator) {
    if (enumerator == nullptr) return com::E_POINTER;
    *enumerator = nullptr;
    std::vector<com::Variant> snapshot;
    snapshot.reserve(items.size());
    for (const auto& item : items)
        snapshot.emplace_back(static_cast<com::IDispatch*>(static_cast<Interface*>(item.Get())));
    return com::CreateEnumVariant(std::move(snapshot), enumerator);
}

}  // namespace component::protocol
