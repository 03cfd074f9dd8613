#pragma once
// No C++ exception may cross the binary interface: every interface member
// ends in `catch (...) { return ExceptionResult(); }`, which turns the
// exception in flight into the HRESULT a COM caller understands.
#include <new>

#include "platform/com/hresult.h"

namespace component::protocol {

inline com::HRESULT ExceptionResult() noexcept {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        return com::E_OUTOFMEMORY;
    } catch (...) {
        return com::E_UNEXPECTED;
    }
}

}  // namespace component::protocol
