#include "platform/com/dispatch_args.h"

#include <string>

namespace com {

DispatchArgs::DispatchArgs(std::initializer_list<Variant> arguments) {
    reversed_.reserve(arguments.size());
    for (auto it = arguments.end(); it != arguments.begin();) reversed_.push_back(*--it);
}

DispatchArgs& DispatchArgs::Add(Variant argument) {
    reversed_.insert(reversed_.begin(), std::move(argument));
    return *this;
}

DISPPARAMS* DispatchArgs::Params(bool propertyPut) noexcept {
    params_.rgvarg = reversed_.empty() ? nullptr : reversed_.data();
    params_.cArgs = static_cast<std::uint32_t>(reversed_.size());
    const bool named = propertyPut && !reversed_.empty();
    params_.rgdispidNamedArgs = named ? &putName_ : nullptr;
    params_.cNamedArgs = named ? 1 : 0;
    return &params_;
}

namespace {

HRESULT Call(IDispatch* object, DISPID dispid, std::uint16_t flags, DISPPARAMS* params, VARIANT* result,
             EXCEPINFO* exception) {
    if (!object) return E_POINTER;
    std::uint32_t argError = 0;
    return object->Invoke(dispid, GUID_NULL, LOCALE_USER_DEFAULT, flags, params, result, exception,
                          &argError);
}

}  // namespace

HRESULT InvokeMethod(IDispatch* object, DISPID dispid, DispatchArgs& args, VARIANT* result,
                     EXCEPINFO* exception) {
    return Call(object, dispid, DISPATCH_METHOD, args.Params(), result, exception);
}

HRESULT InvokePropertyGet(IDispatch* object, DISPID dispid, DispatchArgs& args, VARIANT* result) {
    return Call(object, dispid, DISPATCH_PROPERTYGET, args.Params(), result, nullptr);
}

HRESULT InvokePropertyPut(IDispatch* object, DISPID dispid, DispatchArgs& args, bool byReference) {
    const std::uint16_t flags = byReference ? DISPATCH_PROPERTYPUTREF : DISPATCH_PROPERTYPUT;
    return Call(object, dispid, flags, args.Params(true), nullptr, nullptr);
}

HRESULT GetDispatchId(IDispatch* object, std::u16string_view name, DISPID* dispid) {
    if (!object || !dispid) return E_POINTER;
    std::u16string text(name);
    OLECHAR* names[1] = {text.data()};
    return object->GetIDsOfNames(GUID_NULL, names, 1, LOCALE_USER_DEFAULT, dispid);
}

}  // namespace com
