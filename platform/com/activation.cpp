#include "platform/com/activation.h"

#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <map>
#include <mutex>
#include <new>

#include "platform/com/com_ptr.h"
#include "platform/com/error_info.h"

namespace com {

namespace {

struct ClassRecord {
    std::vector<std::u16string> progIds;
    std::string libraryPath;                    // empty for a class inside this process
    GetClassObjectFn getClassObject = nullptr;  // set for a class inside this process
};

struct Registry {
    std::mutex mutex;
    std::map<CLSID, ClassRecord> classes;
    std::map<std::string, GetClassObjectFn> loaded;  // library path -> entry point
};

Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

bool ProgIdsEqual(std::u16string_view a, std::u16string_view b) noexcept {
    const auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char16_t x, char16_t y) { return lower(x) == lower(y); });
}

std::u16string Widen(std::string_view text) { return {text.begin(), text.end()}; }

constexpr std::u16string_view kSource = u"platform.com activation";

HRESULT Fail(HRESULT hr, std::string_view message) {
    SetErrorInfoText(GUID_NULL, kSource, Widen(message));
    return hr;
}

// The entry point of a library, loading it on first use. Called with the
// registry locked.
HRESULT EntryPointOf(Registry& registry, const std::string& path, GetClassObjectFn* entry) {
    if (const auto it = registry.loaded.find(path); it != registry.loaded.end()) {
        *entry = it->second;
        return S_OK;
    }
    // A bare name is looked up by the loader's search path instead.
    if (path.find('/') != std::string::npos && ::access(path.c_str(), F_OK) != 0)
        return Fail(CO_E_DLLNOTFOUND, "Component library not found: " + path);
    dlerror();
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* why = dlerror();
        const bool found = path.find('/') != std::string::npos;
        return Fail(found ? CO_E_ERRORINDLL : CO_E_DLLNOTFOUND,
                    why ? why : "The component library does not load: " + path);
    }
    // The handle is kept for the life of the process: objects of the
    // library may outlive any count we could keep.
    void* symbol = ::dlsym(handle, kClassObjectEntryPoint);
    if (!symbol)
        return Fail(CO_E_ERRORINDLL, "The component library has no class factory entry point: " + path);
    *entry = reinterpret_cast<GetClassObjectFn>(symbol);
    registry.loaded.emplace(path, *entry);
    return S_OK;
}

HRESULT Register(const CLSID& clsid, const std::vector<std::u16string>& progIds, ClassRecord record) {
    try {
        Registry& registry = TheRegistry();
        const std::lock_guard lock(registry.mutex);
        // A ProgID names one class: take it away from any other.
        for (auto& [other, existing] : registry.classes) {
            if (other == clsid) continue;
            std::erase_if(existing.progIds, [&](const std::u16string& p) {
                return std::any_of(progIds.begin(), progIds.end(),
                                   [&](const std::u16string& q) { return ProgIdsEqual(p, q); });
            });
        }
        record.progIds = progIds;
        registry.classes[clsid] = std::move(record);
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

}  // namespace

HRESULT RegisterServerLibrary(const CLSID& clsid, const std::vector<std::u16string>& progIds,
                              const std::string& libraryPath) {
    if (libraryPath.empty()) return E_INVALIDARG;
    ClassRecord record;
    record.libraryPath = libraryPath;
    return Register(clsid, progIds, std::move(record));
}

HRESULT RegisterClassObject(const CLSID& clsid, const std::vector<std::u16string>& progIds,
                            GetClassObjectFn getClassObject) {
    if (!getClassObject) return E_POINTER;
    ClassRecord record;
    record.getClassObject = getClassObject;
    return Register(clsid, progIds, std::move(record));
}

void RevokeClass(const CLSID& clsid) {
    Registry& registry = TheRegistry();
    const std::lock_guard lock(registry.mutex);
    registry.classes.erase(clsid);
}

HRESULT CLSIDFromProgID(std::u16string_view progId, CLSID* clsid) {
    if (!clsid) return E_POINTER;
    *clsid = GUID_NULL;
    Registry& registry = TheRegistry();
    const std::lock_guard lock(registry.mutex);
    for (const auto& [id, record] : registry.classes) {
        for (const auto& p : record.progIds) {
            if (ProgIdsEqual(p, progId)) {
                *clsid = id;
                return S_OK;
            }
        }
    }
    return CO_E_CLASSSTRING;
}

HRESULT CLSIDFromString(std::u16string_view text, CLSID* clsid) {
    if (!clsid) return E_POINTER;
    if (!text.empty() && text.front() == u'{') {
        const auto parsed = ParseGuid(text);
        *clsid = parsed.value_or(GUID_NULL);
        return parsed ? S_OK : CO_E_CLASSSTRING;
    }
    return CLSIDFromProgID(text, clsid);
}

HRESULT CoGetClassObject(const CLSID& clsid, const IID& iid, void** factory) {
    if (!factory) return E_POINTER;
    *factory = nullptr;
    GetClassObjectFn entry = nullptr;
    try {
        Registry& registry = TheRegistry();
        const std::lock_guard lock(registry.mutex);
        const auto it = registry.classes.find(clsid);
        if (it == registry.classes.end()) return REGDB_E_CLASSNOTREG;
        entry = it->second.getClassObject;
        if (!entry) {
            const HRESULT hr = EntryPointOf(registry, it->second.libraryPath, &entry);
            if (FAILED(hr)) return hr;
        }
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    // Unlocked: the library's factory may itself create objects by class.
    return entry(clsid, iid, factory);
}

HRESULT CoCreateInstance(const CLSID& clsid, IUnknown* outer, const IID& iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    ComPtr<IClassFactory> factory;
    const HRESULT hr = CoGetClassObject(clsid, IClassFactory::iid, factory.ReleaseAndGetVoidAddress());
    if (FAILED(hr)) return hr;
    if (!factory) return E_UNEXPECTED;
    return factory->CreateInstance(nullptr, iid, object);
}

HRESULT CreateInstanceFromProgID(std::u16string_view progId, const IID& iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    CLSID clsid;
    const HRESULT hr = CLSIDFromProgID(progId, &clsid);
    if (FAILED(hr)) return hr;
    return CoCreateInstance(clsid, nullptr, iid, object);
}

}  // namespace com
