#include "platform/com/dispatch_binding.h"

#include "platform/com/error_info.h"

namespace com::dispatch_detail {

bool NamesEqual(std::u16string_view a, std::u16string_view b) noexcept {
    if (a.size() != b.size()) return false;
    const auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; };
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

HRESULT ReportFailure(HRESULT hr, bool argumentFailed, EXCEPINFO* exception) noexcept {
    if (SUCCEEDED(hr) || argumentFailed || !exception) return hr;
    ClearExcepInfo(exception);
    exception->scode = hr;
    ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, info.ReleaseAndGetAddressOf()) == S_OK) {
        info->GetSource(&exception->bstrSource);
        info->GetDescription(&exception->bstrDescription);
    }
    return DISP_E_EXCEPTION;
}

HRESULT ObjectArgument(const VARIANT& arg, IUnknown** object) noexcept {
    *object = nullptr;
    const VARIANT& v = Dereference(arg);
    IUnknown* found = nullptr;
    switch (v.vt) {
        case VT_EMPTY:
        case VT_NULL:
            return S_OK;  // Nothing
        case VT_DISPATCH:
            found = v.pdispVal;
            break;
        case VT_UNKNOWN:
            found = v.punkVal;
            break;
        case VT_DISPATCH | VT_BYREF:
            found = v.ppdispVal ? *v.ppdispVal : nullptr;
            break;
        case VT_UNKNOWN | VT_BYREF:
            found = v.ppunkVal ? *v.ppunkVal : nullptr;
            break;
        default:
            return DISP_E_TYPEMISMATCH;
    }
    if (found) found->AddRef();
    *object = found;
    return S_OK;
}

}  // namespace com::dispatch_detail
