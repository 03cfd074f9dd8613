#pragma once
// Calls through IDispatch from C++: arguments are added first to last and
// handed over last-first, as DISPPARAMS wants them.
#include <cstddef>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "platform/com/dispatch.h"
#include "platform/com/variant.h"

namespace com {

class DispatchArgs {
public:
    DispatchArgs() = default;
    // Arguments in their natural order (first argument first).
    DispatchArgs(std::initializer_list<Variant> arguments);
    DispatchArgs(const DispatchArgs&) = delete;
    DispatchArgs& operator=(const DispatchArgs&) = delete;

    // Appends the next argument.
    DispatchArgs& Add(Variant argument);
    std::size_t Count() const noexcept { return reversed_.size(); }
    // Argument `index` in natural order.
    Variant& operator[](std::size_t index) noexcept { return reversed_[reversed_.size() - 1 - index]; }

    // Valid until the next Add. With `propertyPut` the last argument is
    // named as the value of a property put.
    DISPPARAMS* Params(bool propertyPut = false) noexcept;

private:
    std::vector<Variant> reversed_;
    DISPPARAMS params_;
    DISPID putName_ = DISPID_PROPERTYPUT;
};

HRESULT InvokeMethod(IDispatch* object, DISPID dispid, DispatchArgs& args, VARIANT* result = nullptr,
                     EXCEPINFO* exception = nullptr);
HRESULT InvokePropertyGet(IDispatch* object, DISPID dispid, DispatchArgs& args, VARIANT* result);
// The value to store is the last argument; `byReference` for an object put
// by reference (putref).
HRESULT InvokePropertyPut(IDispatch* object, DISPID dispid, DispatchArgs& args, bool byReference = false);
HRESULT GetDispatchId(IDispatch* object, std::u16string_view name, DISPID* dispid);

}  // namespace com
