#pragma once
// IDispatch: late-bound calls by member number (DISPID) with the arguments
// as VARIANTs, last argument first.
#include <cstdint>

#include "platform/com/bstr.h"
#include "platform/com/unknown.h"
#include "platform/com/variant.h"

namespace com {

using DISPID = std::int32_t;
using LCID = std::uint32_t;

inline constexpr DISPID DISPID_VALUE = 0;
inline constexpr DISPID DISPID_UNKNOWN = -1;
inline constexpr DISPID DISPID_PROPERTYPUT = -3;
inline constexpr DISPID DISPID_NEWENUM = -4;

inline constexpr std::uint16_t DISPATCH_METHOD = 0x1;
inline constexpr std::uint16_t DISPATCH_PROPERTYGET = 0x2;
inline constexpr std::uint16_t DISPATCH_PROPERTYPUT = 0x4;
inline constexpr std::uint16_t DISPATCH_PROPERTYPUTREF = 0x8;

inline constexpr LCID LOCALE_USER_DEFAULT = 0x0400;

struct DISPPARAMS {
    VARIANTARG* rgvarg = nullptr;  // the arguments, last one first
    DISPID* rgdispidNamedArgs = nullptr;
    std::uint32_t cArgs = 0;
    std::uint32_t cNamedArgs = 0;
};

// Filled in by Invoke when a member fails with DISP_E_EXCEPTION. The
// receiver frees the texts (ClearExcepInfo).
struct EXCEPINFO {
    std::uint16_t wCode = 0;
    BSTR bstrSource = nullptr;
    BSTR bstrDescription = nullptr;
    BSTR bstrHelpFile = nullptr;
    std::uint32_t dwHelpContext = 0;
    SCODE scode = S_OK;
};

void ClearExcepInfo(EXCEPINFO* info) noexcept;

// Type information is not provided; the slot keeps the interface layout.
struct ITypeInfo;

struct IDispatch : IUnknown {
    using base_interface = IUnknown;
    static constexpr IID iid = GuidLiteral("{1F96199F-EF26-4836-BB24-907403DA5A0C}");

    virtual HRESULT GetTypeInfoCount(std::uint32_t* count) = 0;
    virtual HRESULT GetTypeInfo(std::uint32_t index, LCID lcid, ITypeInfo** info) = 0;
    virtual HRESULT GetIDsOfNames(const IID& reserved, OLECHAR** names, std::uint32_t nameCount, LCID lcid,
                                  DISPID* dispids) = 0;
    virtual HRESULT Invoke(DISPID dispid, const IID& reserved, LCID lcid, std::uint16_t flags,
                           DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                           std::uint32_t* argError) = 0;

protected:
    ~IDispatch() = default;
};

inline constexpr const IID& IID_IDispatch = IDispatch::iid;

}  // namespace com
