#pragma once
// The interface and identifiers of the test-only server library.
#include "platform/com/unknown.h"

namespace comtest {

struct ITestThing : com::IUnknown {
    using base_interface = com::IUnknown;
    static constexpr com::IID iid = com::GuidLiteral("{6A1E0C55-93D2-4F4B-8B1E-2F0C9D7A3E61}");

    virtual com::HRESULT GetValue(std::int32_t* value) = 0;
    // Fails with a numbered error and sets the thread's error information.
    virtual com::HRESULT Fail() = 0;
};

inline constexpr com::CLSID CLSID_TestThing = com::GuidLiteral("{0E2B7F14-5C8A-4D3E-A1F6-7B9C2D4E8F01}");
// Registered by the tests but not served by the library.
inline constexpr com::CLSID CLSID_NotServed = com::GuidLiteral("{4F8D2A6B-1C3E-4B5A-9D7F-0A2B4C6D8E9F}");

}  // namespace comtest
