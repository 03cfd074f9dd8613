#pragma once
// Registration-free activation. The program fills a process-wide table that
// maps each class (and its ProgIDs) to the shared library serving it; the
// library is loaded with dlopen on first use, asked for its factory through
// kClassObjectEntryPoint, and stays loaded.
//
// Failures: REGDB_E_CLASSNOTREG (class not in the table), CO_E_CLASSSTRING
// (unknown ProgID), CO_E_DLLNOTFOUND (no library file), CO_E_ERRORINDLL
// (the file does not load or lacks the entry point), and whatever the
// library answers, e.g. CLASS_E_CLASSNOTAVAILABLE. Load failures also set
// the thread's error information with the loader's message.
#include <string>
#include <string_view>
#include <vector>

#include "platform/com/class_factory.h"
#include "platform/com/guid.h"
#include "platform/com/hresult.h"
#include "platform/com/unknown.h"

namespace com {

// Maps a class to the library at `libraryPath`; replaces an earlier entry.
HRESULT RegisterServerLibrary(const CLSID& clsid, const std::vector<std::u16string>& progIds,
                              const std::string& libraryPath);
// Maps a class to a factory entry inside this process (no library).
HRESULT RegisterClassObject(const CLSID& clsid, const std::vector<std::u16string>& progIds,
                            GetClassObjectFn getClassObject);
// Removes a class and its ProgIDs from the table.
void RevokeClass(const CLSID& clsid);

// ProgIDs compare without regard to letter case.
HRESULT CLSIDFromProgID(std::u16string_view progId, CLSID* clsid);
// A "{...}" class identifier text or a ProgID.
HRESULT CLSIDFromString(std::u16string_view text, CLSID* clsid);

HRESULT CoGetClassObject(const CLSID& clsid, const IID& iid, void** factory);
// `outer` must be null: no class aggregates.
HRESULT CoCreateInstance(const CLSID& clsid, IUnknown* outer, const IID& iid, void** object);
HRESULT CreateInstanceFromProgID(std::u16string_view progId, const IID& iid, void** object);

}  // namespace com
