// VariantChangeType: the coercions between the variant types.
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <new>
#include <string>

#include "platform/com/com_ptr.h"
#include "platform/com/dispatch.h"
#include "platform/com/variant.h"

namespace com {

namespace {

bool IsNumericType(VARTYPE vt) noexcept {
    switch (vt) {
        case VT_I2:
        case VT_I4:
        case VT_R4:
        case VT_R8:
        case VT_DATE:
        case VT_BOOL:
        case VT_UI1:
            return true;
        default:
            return false;
    }
}

double NumericValue(const VARIANT& v) noexcept {
    switch (v.vt) {
        case VT_I2:
            return v.iVal;
        case VT_I4:
            return v.lVal;
        case VT_R4:
            return v.fltVal;
        case VT_R8:
            return v.dblVal;
        case VT_DATE:
            return v.date;
        case VT_BOOL:
            return v.boolVal;
        case VT_UI1:
            return v.bVal;
        default:
            return 0.0;
    }
}

bool AsciiEqualNoCase(std::u16string_view a, std::u16string_view b) noexcept {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char16_t x = a[i];
        char16_t y = b[i];
        if (x >= u'A' && x <= u'Z') x = static_cast<char16_t>(x + 32);
        if (y >= u'A' && y <= u'Z') y = static_cast<char16_t>(y + 32);
        if (x != y) return false;
    }
    return true;
}

std::u16string_view Trimmed(std::u16string_view text) noexcept {
    while (!text.empty() && (text.front() == u' ' || text.front() == u'\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == u' ' || text.back() == u'\t')) text.remove_suffix(1);
    return text;
}

// A decimal number (sign, digits, point, exponent), blanks around it allowed.
HRESULT ParseNumber(std::u16string_view text, double& value) noexcept {
    text = Trimmed(text);
    if (text.empty() || text.size() > 64) return DISP_E_TYPEMISMATCH;
    char narrow[72];
    std::size_t n = 0;
    for (const char16_t c : text) {
        const bool allowed =
            (c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || c == u'.' || c == u'e' || c == u'E';
        if (!allowed) return DISP_E_TYPEMISMATCH;
        narrow[n++] = static_cast<char>(c);
    }
    narrow[n] = '\0';
    char* end = nullptr;
    errno = 0;
    value = std::strtod(narrow, &end);
    if (end != narrow + n || n == 0) return DISP_E_TYPEMISMATCH;
    if (errno == ERANGE && std::isinf(value)) return DISP_E_OVERFLOW;
    return S_OK;
}

HRESULT NumberFromText(std::u16string_view text, VARTYPE target, double& value) noexcept {
    if (target == VT_BOOL) {
        if (AsciiEqualNoCase(Trimmed(text), u"True")) {
            value = -1;
            return S_OK;
        }
        if (AsciiEqualNoCase(Trimmed(text), u"False")) {
            value = 0;
            return S_OK;
        }
    }
    return ParseNumber(text, value);
}

std::u16string Widen(const char* text) {
    std::u16string out;
    for (; *text; ++text) out.push_back(static_cast<unsigned char>(*text));
    return out;
}

std::u16string FormatDouble(double value, int digits) {
    char text[40];
    std::snprintf(text, sizeof text, "%.*G", digits, value);
    return Widen(text);
}

std::u16string TextOfNumber(const VARIANT& v, std::uint16_t flags) {
    switch (v.vt) {
        case VT_I2:
            return Widen(std::to_string(v.iVal).c_str());
        case VT_I4:
            return Widen(std::to_string(v.lVal).c_str());
        case VT_UI1:
            return Widen(std::to_string(v.bVal).c_str());
        case VT_R4:
            return FormatDouble(v.fltVal, 7);
        case VT_R8:
            return FormatDouble(v.dblVal, 15);
        case VT_BOOL:
            if (flags & VARIANT_ALPHABOOL) return v.boolVal ? u"True" : u"False";
            return v.boolVal ? u"-1" : u"0";
        default:
            return {};
    }
}

// Integers round half to even, as the default floating-point mode does.
HRESULT StoreNumber(double value, VARTYPE target, VARIANT& out) noexcept {
    if (std::isnan(value)) return DISP_E_TYPEMISMATCH;
    const auto inRange = [&](double lo, double hi, double& rounded) {
        rounded = std::nearbyint(value);
        return rounded >= lo && rounded <= hi;
    };
    double r = 0;
    out.vt = target;
    switch (target) {
        case VT_I2:
            if (!inRange(-32768.0, 32767.0, r)) return DISP_E_OVERFLOW;
            out.iVal = static_cast<std::int16_t>(r);
            return S_OK;
        case VT_I4:
            if (!inRange(-2147483648.0, 2147483647.0, r)) return DISP_E_OVERFLOW;
            out.lVal = static_cast<std::int32_t>(r);
            return S_OK;
        case VT_UI1:
            if (!inRange(0.0, 255.0, r)) return DISP_E_OVERFLOW;
            out.bVal = static_cast<std::uint8_t>(r);
            return S_OK;
        case VT_R4:
            if (std::fabs(value) > std::numeric_limits<float>::max()) return DISP_E_OVERFLOW;
            out.fltVal = static_cast<float>(value);
            return S_OK;
        case VT_R8:
            out.dblVal = value;
            return S_OK;
        case VT_DATE:
            if (!(value >= kMinOleDate && value < kMaxOleDate + 1.0 / 86400.0)) return DISP_E_OVERFLOW;
            out.date = value;
            return S_OK;
        case VT_BOOL:
            out.boolVal = value != 0.0 ? VARIANT_TRUE : VARIANT_FALSE;
            return S_OK;
        default:
            return DISP_E_TYPEMISMATCH;
    }
}

// The value of an object: its default member read as a property.
HRESULT ValueOfObject(IDispatch* object, VARIANT& value) noexcept {
    if (!object) return DISP_E_TYPEMISMATCH;
    DISPPARAMS none;
    const HRESULT hr =
        object->Invoke(DISPID_VALUE, GUID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET | DISPATCH_METHOD,
                       &none, &value, nullptr, nullptr);
    if (FAILED(hr)) return DISP_E_TYPEMISMATCH;
    if (value.vt == VT_DISPATCH || value.vt == VT_UNKNOWN) {
        VariantClear(&value);
        return DISP_E_TYPEMISMATCH;
    }
    return S_OK;
}

HRESULT ToObject(const VARIANT& src, VARTYPE target, VARIANT& out) noexcept {
    if (src.vt != VT_DISPATCH && src.vt != VT_UNKNOWN) return DISP_E_TYPEMISMATCH;
    IUnknown* unknown = src.vt == VT_DISPATCH ? static_cast<IUnknown*>(src.pdispVal) : src.punkVal;
    out.vt = target;
    if (!unknown) {
        out.punkVal = nullptr;
        return S_OK;
    }
    if (target == VT_UNKNOWN) {
        // Same object, one more reference.
        out.punkVal = unknown;
        unknown->AddRef();
        return S_OK;
    }
    void* dispatch = nullptr;
    if (FAILED(unknown->QueryInterface(IID_IDispatch, &dispatch))) return DISP_E_TYPEMISMATCH;
    out.pdispVal = static_cast<IDispatch*>(dispatch);
    return S_OK;
}

// `src` holds no by-reference form; the result goes to `out`, which is empty.
HRESULT Convert(const VARIANT& src, std::uint16_t flags, VARTYPE target, VARIANT& out) {
    if (src.vt == target) return VariantCopy(&out, &src);
    switch (target) {
        case VT_EMPTY:
            return S_OK;
        case VT_NULL:
            if (src.vt != VT_EMPTY) return DISP_E_TYPEMISMATCH;
            out.vt = VT_NULL;
            return S_OK;
        case VT_DISPATCH:
        case VT_UNKNOWN:
            return ToObject(src, target, out);
        case VT_ERROR:
            return DISP_E_TYPEMISMATCH;
        case VT_BSTR:
            if (src.vt == VT_EMPTY) {
                out.vt = VT_BSTR;
                out.bstrVal = SysAllocStringView(u"");
                return out.bstrVal ? S_OK : E_OUTOFMEMORY;
            }
            // Dates become text through the text layer's formatting, not here.
            if (src.vt == VT_DATE || !IsNumericType(src.vt)) break;
            out.bstrVal = SysAllocStringView(TextOfNumber(src, flags));
            if (!out.bstrVal) return E_OUTOFMEMORY;
            out.vt = VT_BSTR;
            return S_OK;
        default: {
            if (!IsNumericType(target)) return DISP_E_BADVARTYPE;
            if (src.vt == VT_EMPTY) return StoreNumber(0.0, target, out);
            double value = 0;
            if (IsNumericType(src.vt)) {
                value = NumericValue(src);
            } else if (src.vt == VT_BSTR) {
                if (target == VT_DATE) break;  // date text is parsed by the text layer
                const HRESULT hr = NumberFromText(BstrView(src.bstrVal), target, value);
                if (FAILED(hr)) return hr;
            } else {
                break;
            }
            return StoreNumber(value, target, out);
        }
    }
    return DISP_E_TYPEMISMATCH;
}

}  // namespace

HRESULT VariantChangeType(VARIANT* dest, const VARIANT* src, std::uint16_t flags, VARTYPE vt) noexcept {
    if (!dest || !src) return E_POINTER;
    if (vt & VT_BYREF || vt == VT_VARIANT) return DISP_E_BADVARTYPE;
    try {
        // Work on a copy of the value so that `dest` may be `src`.
        Variant source;
        HRESULT hr = VariantCopyInd(&source, src);
        if (FAILED(hr)) return hr;
        if ((source.vt == VT_DISPATCH) && vt != VT_DISPATCH && vt != VT_UNKNOWN) {
            if (flags & VARIANT_NOVALUEPROP) return DISP_E_TYPEMISMATCH;
            Variant value;
            hr = ValueOfObject(source.pdispVal, value);
            if (FAILED(hr)) return hr;
            source = std::move(value);
        }
        Variant result;
        hr = Convert(source, flags, vt, result);
        if (FAILED(hr)) {
            VariantClear(&result);
            return hr;
        }
        return result.Detach(dest);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

}  // namespace com
