#include "platform/com/variant.h"

#include "platform/com/dispatch.h"

namespace com {

namespace {

bool IsKnownType(VARTYPE type) noexcept {
    switch (type) {
        case VT_EMPTY:
        case VT_NULL:
        case VT_I2:
        case VT_I4:
        case VT_R4:
        case VT_R8:
        case VT_DATE:
        case VT_BSTR:
        case VT_DISPATCH:
        case VT_ERROR:
        case VT_BOOL:
        case VT_UNKNOWN:
        case VT_UI1:
            return true;
        default:
            return false;
    }
}

bool IsValidVartype(VARTYPE vt) noexcept {
    if (vt & VT_BYREF) {
        const VARTYPE base = vt & ~VT_BYREF;
        return base != VT_EMPTY && base != VT_NULL && (base == VT_VARIANT || IsKnownType(base));
    }
    return IsKnownType(vt);
}

}  // namespace

void VariantInit(VARIANT* v) noexcept {
    v->vt = VT_EMPTY;
    v->bits_ = 0;
}

HRESULT VariantClear(VARIANT* v) noexcept {
    if (!v) return E_POINTER;
    if (!IsValidVartype(v->vt)) return DISP_E_BADVARTYPE;
    // Take the value out first: a Release may re-enter and look at `v`.
    VARIANT old = *v;
    VariantInit(v);
    switch (old.vt) {
        case VT_BSTR:
            SysFreeString(old.bstrVal);
            break;
        case VT_DISPATCH:
            if (old.pdispVal) old.pdispVal->Release();
            break;
        case VT_UNKNOWN:
            if (old.punkVal) old.punkVal->Release();
            break;
        default:
            break;
    }
    return S_OK;
}

HRESULT VariantCopy(VARIANT* dest, const VARIANT* src) noexcept {
    if (!dest || !src) return E_POINTER;
    if (!IsValidVartype(src->vt)) return DISP_E_BADVARTYPE;
    if (dest == src) return S_OK;
    VARIANT copy = *src;
    switch (copy.vt) {
        case VT_BSTR:
            if (src->bstrVal) {
                copy.bstrVal = SysAllocStringView(BstrView(src->bstrVal));
                if (!copy.bstrVal) return E_OUTOFMEMORY;
            }
            break;
        case VT_DISPATCH:
            if (copy.pdispVal) copy.pdispVal->AddRef();
            break;
        case VT_UNKNOWN:
            if (copy.punkVal) copy.punkVal->AddRef();
            break;
        default:
            break;
    }
    const HRESULT hr = VariantClear(dest);
    if (FAILED(hr)) {
        VariantClear(&copy);
        return hr;
    }
    *dest = copy;
    return S_OK;
}

const VARIANT& Dereference(const VARIANT& v) noexcept {
    const VARIANT* p = &v;
    // A variant by reference may itself hold a by-reference form.
    for (int depth = 0; depth < 8 && p->vt == (VT_VARIANT | VT_BYREF) && p->pvarVal; ++depth) p = p->pvarVal;
    return *p;
}

HRESULT VariantCopyInd(VARIANT* dest, const VARIANT* src) noexcept {
    if (!dest || !src) return E_POINTER;
    const VARIANT& source = Dereference(*src);
    if (!(source.vt & VT_BYREF)) return VariantCopy(dest, &source);
    if (!IsValidVartype(source.vt) || source.vt == (VT_VARIANT | VT_BYREF)) return DISP_E_BADVARTYPE;
    if (!source.byref) return E_POINTER;
    VARIANT value;
    value.vt = source.vt & ~VT_BYREF;
    switch (value.vt) {
        case VT_UI1:
            value.bVal = *source.pbVal;
            break;
        case VT_I2:
            value.iVal = *source.piVal;
            break;
        case VT_I4:
            value.lVal = *source.plVal;
            break;
        case VT_R4:
            value.fltVal = *source.pfltVal;
            break;
        case VT_R8:
            value.dblVal = *source.pdblVal;
            break;
        case VT_DATE:
            value.date = *source.pdate;
            break;
        case VT_BOOL:
            value.boolVal = *source.pboolVal;
            break;
        case VT_ERROR:
            value.scode = *source.pscode;
            break;
        case VT_BSTR:
            value.bstrVal = *source.pbstrVal;
            break;
        case VT_DISPATCH:
            value.pdispVal = *source.ppdispVal;
            break;
        case VT_UNKNOWN:
            value.punkVal = *source.ppunkVal;
            break;
        default:
            return DISP_E_BADVARTYPE;
    }
    // `value` borrows; VariantCopy duplicates what it points to.
    return VariantCopy(dest, &value);
}

Variant::Variant(const Variant& other) : VARIANT() { VariantCopy(this, &other); }

Variant::Variant(Variant&& other) noexcept : VARIANT(other) { VariantInit(&other); }

Variant::Variant(const VARIANT& other) : VARIANT() { VariantCopy(this, &other); }

Variant& Variant::operator=(const Variant& other) {
    VariantCopy(this, &other);
    return *this;
}

Variant& Variant::operator=(const VARIANT& other) {
    VariantCopy(this, &other);
    return *this;
}

Variant& Variant::operator=(Variant&& other) noexcept {
    if (this != &other) {
        VARIANT taken = other;
        VariantInit(&other);
        VariantClear(this);
        static_cast<VARIANT&>(*this) = taken;
    }
    return *this;
}

Variant::Variant(std::int16_t value) noexcept {
    vt = VT_I2;
    iVal = value;
}

Variant::Variant(std::int32_t value) noexcept {
    vt = VT_I4;
    lVal = value;
}

Variant::Variant(std::uint8_t value) noexcept {
    vt = VT_UI1;
    bVal = value;
}

Variant::Variant(float value) noexcept {
    vt = VT_R4;
    fltVal = value;
}

Variant::Variant(double value) noexcept {
    vt = VT_R8;
    dblVal = value;
}

Variant::Variant(VARIANT_BOOL value) noexcept {
    vt = VT_BOOL;
    boolVal = value;
}

Variant::Variant(std::u16string_view text) {
    vt = VT_BSTR;
    bstrVal = Bstr(text).Detach();
}

Variant::Variant(const OLECHAR* text) {
    vt = VT_BSTR;
    bstrVal = Bstr(text).Detach();
}

Variant::Variant(const Bstr& text) {
    vt = VT_BSTR;
    bstrVal = Bstr(text).Detach();
}

Variant::Variant(IDispatch* object) noexcept {
    vt = VT_DISPATCH;
    pdispVal = object;
    if (object) object->AddRef();
}

Variant::Variant(IUnknown* object) noexcept {
    vt = VT_UNKNOWN;
    punkVal = object;
    if (object) object->AddRef();
}

Variant Variant::FromDate(DATE value) noexcept {
    Variant v;
    v.vt = VT_DATE;
    v.date = value;
    return v;
}

Variant Variant::FromError(SCODE code) noexcept {
    Variant v;
    v.vt = VT_ERROR;
    v.scode = code;
    return v;
}

Variant Variant::Null() noexcept {
    Variant v;
    v.vt = VT_NULL;
    return v;
}

Variant Variant::Missing() noexcept { return FromError(DISP_E_PARAMNOTFOUND); }

Variant Variant::AdoptBstr(BSTR text) noexcept {
    Variant v;
    v.vt = VT_BSTR;
    v.bstrVal = text;
    return v;
}

Variant Variant::MakeByRef(VARTYPE type, void* p) noexcept {
    Variant v;
    v.vt = type | VT_BYREF;
    v.byref = p;
    return v;
}

HRESULT Variant::Detach(VARIANT* dest) noexcept {
    if (!dest) return E_POINTER;
    if (dest == this) return S_OK;
    const HRESULT hr = VariantClear(dest);
    if (FAILED(hr)) return hr;
    *dest = static_cast<const VARIANT&>(*this);
    VariantInit(this);
    return S_OK;
}

void Variant::Attach(VARIANT* src) noexcept {
    if (!src || src == this) return;
    VARIANT taken = *src;
    VariantInit(src);
    VariantClear(this);
    static_cast<VARIANT&>(*this) = taken;
}

std::u16string_view Variant::TextView() const noexcept {
    const VARIANT& v = Dereference(*this);
    if (v.vt == VT_BSTR) return BstrView(v.bstrVal);
    if (v.vt == (VT_BSTR | VT_BYREF) && v.pbstrVal) return BstrView(*v.pbstrVal);
    return {};
}

bool Variant::IsMissing() const noexcept {
    const VARIANT& v = Dereference(*this);
    return v.vt == VT_ERROR && v.scode == DISP_E_PARAMNOTFOUND;
}

}  // namespace com
