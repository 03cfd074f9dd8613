#pragma once
// VARIANT: a tagged value as it crosses dispatch interfaces, with the
// types the component and its clients use and their by-reference forms.
#include <cstdint>
#include <string_view>
#include <utility>

#include "platform/com/bstr.h"
#include "platform/com/hresult.h"
#include "platform/com/ole_date.h"
#include "platform/com/unknown.h"

namespace com {

struct IDispatch;

using VARTYPE = std::uint16_t;

enum : VARTYPE {
    VT_EMPTY = 0,
    VT_NULL = 1,
    VT_I2 = 2,
    VT_I4 = 3,
    VT_R4 = 4,
    VT_R8 = 5,
    VT_DATE = 7,
    VT_BSTR = 8,
    VT_DISPATCH = 9,
    VT_ERROR = 10,
    VT_BOOL = 11,
    VT_VARIANT = 12,
    VT_UNKNOWN = 13,
    VT_UI1 = 17,
    VT_BYREF = 0x4000,
    VT_TYPEMASK = 0x0FFF,
};

// A 16-bit boolean: -1 is true, 0 false.
enum VARIANT_BOOL : std::int16_t { VARIANT_FALSE = 0, VARIANT_TRUE = -1 };

constexpr VARIANT_BOOL ToVariantBool(bool value) noexcept { return value ? VARIANT_TRUE : VARIANT_FALSE; }

struct VARIANT {
    VARTYPE vt = VT_EMPTY;
    union {
        std::int64_t bits_ = 0;  // zero-initialises the whole value
        std::uint8_t bVal;
        std::int16_t iVal;
        std::int32_t lVal;
        float fltVal;
        double dblVal;
        VARIANT_BOOL boolVal;
        SCODE scode;
        DATE date;
        BSTR bstrVal;
        IUnknown* punkVal;
        IDispatch* pdispVal;
        std::uint8_t* pbVal;
        std::int16_t* piVal;
        std::int32_t* plVal;
        float* pfltVal;
        double* pdblVal;
        VARIANT_BOOL* pboolVal;
        SCODE* pscode;
        DATE* pdate;
        BSTR* pbstrVal;
        IUnknown** ppunkVal;
        IDispatch** ppdispVal;
        VARIANT* pvarVal;
        void* byref;
    };
};

using VARIANTARG = VARIANT;

void VariantInit(VARIANT* v) noexcept;
// Frees what the variant owns (not what a by-reference form points to) and
// leaves it VT_EMPTY.
HRESULT VariantClear(VARIANT* v) noexcept;
// Deep copy: texts are duplicated, objects get a reference; by-reference
// forms copy the pointer. `dest` is cleared first.
HRESULT VariantCopy(VARIANT* dest, const VARIANT* src) noexcept;
// As VariantCopy, but a by-reference source is copied as the value it points to.
HRESULT VariantCopyInd(VARIANT* dest, const VARIANT* src) noexcept;

// Flags of VariantChangeType.
inline constexpr std::uint16_t VARIANT_NOVALUEPROP = 0x01;  // no default-member call on objects
inline constexpr std::uint16_t VARIANT_ALPHABOOL = 0x02;    // booleans as "True"/"False" text

// Converts `src` (by-reference forms are followed) to `vt`; `dest` may be
// `src`. Integers round half to even; out of range gives DISP_E_OVERFLOW,
// impossible conversions DISP_E_TYPEMISMATCH. An object converts through its
// default member (DISPID 0) unless VARIANT_NOVALUEPROP.
HRESULT VariantChangeType(VARIANT* dest, const VARIANT* src, std::uint16_t flags, VARTYPE vt) noexcept;

// The held type without VT_BYREF, and the VARIANT that holds the value
// (the target of VT_VARIANT|VT_BYREF, else `v` itself).
constexpr VARTYPE BaseType(VARTYPE vt) noexcept { return vt & VT_TYPEMASK; }
const VARIANT& Dereference(const VARIANT& v) noexcept;

// Owns one VARIANT.
class Variant : public VARIANT {
public:
    Variant() noexcept = default;
    Variant(const Variant& other);
    Variant(Variant&& other) noexcept;
    explicit Variant(const VARIANT& other);
    ~Variant() { VariantClear(this); }
    Variant& operator=(const Variant& other);
    Variant& operator=(Variant&& other) noexcept;
    Variant& operator=(const VARIANT& other);

    Variant(std::int16_t value) noexcept;
    Variant(std::int32_t value) noexcept;
    Variant(std::uint8_t value) noexcept;
    Variant(float value) noexcept;
    Variant(double value) noexcept;
    Variant(VARIANT_BOOL value) noexcept;
    // A C++ bool would silently become the integer 1: say VARIANT_TRUE or
    // VARIANT_FALSE (ToVariantBool).
    Variant(bool) = delete;
    // Texts; a null pointer gives a null BSTR.
    Variant(std::u16string_view text);
    Variant(const OLECHAR* text);
    Variant(const Bstr& text);
    // Objects get a reference.
    Variant(IDispatch* object) noexcept;
    Variant(IUnknown* object) noexcept;

    static Variant FromDate(DATE date) noexcept;
    static Variant FromError(SCODE code) noexcept;
    static Variant Null() noexcept;
    // An omitted optional argument: VT_ERROR with DISP_E_PARAMNOTFOUND.
    static Variant Missing() noexcept;
    // Takes ownership of a BSTR.
    static Variant AdoptBstr(BSTR text) noexcept;

    // By-reference forms point at the caller's storage, which must outlive
    // the variant's use.
    static Variant ByRef(std::int16_t* p) noexcept { return MakeByRef(VT_I2, p); }
    static Variant ByRef(std::int32_t* p) noexcept { return MakeByRef(VT_I4, p); }
    static Variant ByRef(std::uint8_t* p) noexcept { return MakeByRef(VT_UI1, p); }
    static Variant ByRef(float* p) noexcept { return MakeByRef(VT_R4, p); }
    static Variant ByRef(double* p) noexcept { return MakeByRef(VT_R8, p); }
    static Variant ByRef(VARIANT_BOOL* p) noexcept { return MakeByRef(VT_BOOL, p); }
    static Variant ByRef(BSTR* p) noexcept { return MakeByRef(VT_BSTR, p); }
    static Variant ByRef(IDispatch** p) noexcept { return MakeByRef(VT_DISPATCH, p); }
    static Variant ByRef(IUnknown** p) noexcept { return MakeByRef(VT_UNKNOWN, p); }
    static Variant ByRef(VARIANT* p) noexcept { return MakeByRef(VT_VARIANT, p); }
    static Variant DateByRef(DATE* p) noexcept { return MakeByRef(VT_DATE, p); }

    void Clear() noexcept { VariantClear(this); }
    // Moves the value into `dest` (cleared first) and leaves this empty.
    HRESULT Detach(VARIANT* dest) noexcept;
    // Takes the value out of `src`, which is left empty.
    void Attach(VARIANT* src) noexcept;
    // A deep copy into `dest` (for [out] parameters).
    HRESULT CopyTo(VARIANT* dest) const noexcept { return VariantCopy(dest, this); }
    HRESULT ChangeType(VARTYPE vt, std::uint16_t flags = 0) noexcept {
        return VariantChangeType(this, this, flags, vt);
    }

    // The text of a VT_BSTR or VT_BSTR|VT_BYREF value, else empty.
    std::u16string_view TextView() const noexcept;
    bool IsMissing() const noexcept;

private:
    static Variant MakeByRef(VARTYPE type, void* p) noexcept;
};

}  // namespace com
