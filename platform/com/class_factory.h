#pragma once
// Class factories and the entry point of a server library.
//
// A server library lists its creatable classes and exports one C function
// under the name kClassObjectEntryPoint:
//
//   const com::ClassEntry kClasses[] = {com::ClassEntryFor<CThing>(CLSID_Thing)};
//   extern "C" [[gnu::visibility("default")]]
//   com::HRESULT DllGetClassObject(const com::CLSID& clsid, const com::IID& iid, void** factory)
//   {
//       return com::GetClassObjectFrom(kClasses, clsid, iid, factory);
//   }
#include <cstdint>
#include <new>
#include <span>

#include "platform/com/com_class.h"
#include "platform/com/com_ptr.h"
#include "platform/com/unknown.h"

namespace com {

struct IClassFactory : IUnknown {
    using base_interface = IUnknown;
    static constexpr IID iid = GuidLiteral("{BC4BDC03-7407-41BB-8247-EBD43C6F9FB2}");

    // A new object answering `iid`; `outer` must be null (no aggregation).
    virtual HRESULT CreateInstance(IUnknown* outer, const IID& iid, void** object) = 0;
    // Libraries stay loaded for the life of the process, so this only answers S_OK.
    virtual HRESULT LockServer(std::int32_t lock) = 0;

protected:
    ~IClassFactory() = default;
};

inline constexpr const char* kClassObjectEntryPoint = "DllGetClassObject";
using GetClassObjectFn = HRESULT (*)(const CLSID& clsid, const IID& iid, void** factory);

// Creates T objects: construction, FinalConstruct, then QueryInterface.
template <class T>
class ClassFactory : public ComClass<IClassFactory> {
public:
    HRESULT CreateInstance(IUnknown* outer, const IID& iid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        try {
            ComPtr<T> created;
            const HRESULT hr = CreateComObject(&created);
            if (FAILED(hr)) return hr;
            return created->QueryInterface(iid, object);
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
    }
    HRESULT LockServer(std::int32_t) override { return S_OK; }
};

// The factory of class T, asked for `iid`.
template <class T>
HRESULT GetClassFactory(const IID& iid, void** factory) {
    if (!factory) return E_POINTER;
    *factory = nullptr;
    try {
        const ComPtr<ClassFactory<T>> f = MakeComObject<ClassFactory<T>>();
        return f->QueryInterface(iid, factory);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

struct ClassEntry {
    CLSID clsid;
    GetClassObjectFn getClassObject;
};

template <class T>
constexpr ClassEntry ClassEntryFor(const CLSID& clsid) noexcept {
    return {clsid,
            [](const CLSID&, const IID& iid, void** factory) { return GetClassFactory<T>(iid, factory); }};
}

// The factory of `clsid` from a library's table; CLASS_E_CLASSNOTAVAILABLE
// when the library has no such class.
HRESULT GetClassObjectFrom(std::span<const ClassEntry> classes, const CLSID& clsid, const IID& iid,
                           void** factory);

}  // namespace com
