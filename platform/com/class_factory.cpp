#include "platform/com/class_factory.h"

namespace com {

HRESULT GetClassObjectFrom(std::span<const ClassEntry> classes, const CLSID& clsid, const IID& iid,
                           void** factory) {
    if (!factory) return E_POINTER;
    *factory = nullptr;
    for (const ClassEntry& entry : classes) {
        if (entry.clsid == clsid) return entry.getClassObject(clsid, iid, factory);
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

}  // namespace com
