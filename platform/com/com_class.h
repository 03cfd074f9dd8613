#pragma once
// The base of every object class: reference counting from ObjectRoot and
// QueryInterface over the listed interfaces (and their parents).
//
//   class CThing : public com::ComClass<IThing, ISupportErrorInfo> { ... };
//   com::ComPtr<CThing> thing;
//   HRESULT hr = com::CreateComObject(&thing);
#include <type_traits>
#include <utility>

#include "platform/com/com_ptr.h"
#include "platform/com/object_root.h"
#include "platform/com/unknown.h"

namespace com {

namespace detail {

template <class I>
concept HasBaseInterface = requires {
    typename I::base_interface;
};

// The interface pointer for `iid` when it is `I` or one of its parents.
template <class I>
void* CastToChain(I* object, const IID& iid) noexcept {
    if (iid == I::iid) return object;
    if constexpr (HasBaseInterface<I>)
        return CastToChain<typename I::base_interface>(object, iid);
    else
        return nullptr;
}

template <class First, class... Rest>
struct FirstOf {
    using type = First;
};

}  // namespace detail

template <class... Interfaces>
class ComClass : public ObjectRoot, public Interfaces... {
    static_assert(sizeof...(Interfaces) > 0, "a class implements at least one interface");

public:
    HRESULT QueryInterface(const IID& iid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (iid == IID_IUnknown) {
            *object = GetUnknown();
        } else {
            // An exact match wins over a parent: IDispatch belongs to the
            // first listed interface derived from it.
            ((*object == nullptr && iid == Interfaces::iid ? (*object = static_cast<Interfaces*>(this))
                                                           : nullptr),
             ...);
            ((*object == nullptr
                  ? (*object = detail::CastToChain<Interfaces>(static_cast<Interfaces*>(this), iid))
                  : nullptr),
             ...);
        }
        if (!*object) {
            const HRESULT hr = QueryOtherInterface(iid, object);
            if (FAILED(hr)) *object = nullptr;
            return hr;
        }
        AddRef();
        return S_OK;
    }
    std::uint32_t AddRef() override { return InternalAddRef(); }
    std::uint32_t Release() override { return InternalRelease(); }

    // The object's identity.
    IUnknown* GetUnknown() noexcept {
        using First = typename detail::FirstOf<Interfaces...>::type;
        return static_cast<IUnknown*>(static_cast<First*>(this));
    }

protected:
    // For interfaces the class answers beyond its list; must AddRef on success.
    virtual HRESULT QueryOtherInterface(const IID&, void**) { return E_NOINTERFACE; }
};

// Creates an object with one reference held by `out`, after FinalConstruct.
template <class T, class... Args>
HRESULT CreateComObject(ComPtr<T>* out, Args&&... args) {
    if (!out) return E_POINTER;
    out->Reset();
    ComPtr<T> object(new T(std::forward<Args>(args)...));
    const HRESULT hr = object->FinalConstruct();
    if (FAILED(hr)) return hr;  // the last reference goes with `object`
    *out = std::move(object);
    return S_OK;
}

// The same, for construction that cannot fail.
template <class T, class... Args>
ComPtr<T> MakeComObject(Args&&... args) {
    ComPtr<T> object;
    CreateComObject(&object, std::forward<Args>(args)...);
    return object;
}

}  // namespace com
