#pragma once
// The thread's error information: the description and source of the last
// failure a member reported, read by the caller after a failed HRESULT.
#include <cstdint>
#include <string_view>

#include "platform/com/bstr.h"
#include "platform/com/unknown.h"

namespace com {

struct IErrorInfo : IUnknown {
    using base_interface = IUnknown;
    static constexpr IID iid = GuidLiteral("{0151F5BD-D5C0-4AE8-8E2F-8D64E055CDEF}");

    // The interface that reported the error.
    virtual HRESULT GetGUID(GUID* guid) = 0;
    virtual HRESULT GetSource(BSTR* source) = 0;
    virtual HRESULT GetDescription(BSTR* description) = 0;
    virtual HRESULT GetHelpFile(BSTR* helpFile) = 0;
    virtual HRESULT GetHelpContext(std::uint32_t* helpContext) = 0;

protected:
    ~IErrorInfo() = default;
};

struct ISupportErrorInfo : IUnknown {
    using base_interface = IUnknown;
    static constexpr IID iid = GuidLiteral("{B21ED45F-8714-4D1C-B020-43A8A8156E8F}");

    // S_OK when members of `iid` set error information, else S_FALSE.
    virtual HRESULT InterfaceSupportsErrorInfo(const IID& iid) = 0;

protected:
    ~ISupportErrorInfo() = default;
};

// Replaces the thread's error information (null clears it).
HRESULT SetErrorInfo(std::uint32_t reserved, IErrorInfo* info);
// Hands the thread's error information to the caller and clears it;
// S_FALSE and null when there is none.
HRESULT GetErrorInfo(std::uint32_t reserved, IErrorInfo** info);

// A new error information object.
HRESULT CreateErrorInfo(const GUID& guid, std::u16string_view source, std::u16string_view description,
                        IErrorInfo** info);
// Creates error information and makes it the thread's.
HRESULT SetErrorInfoText(const GUID& guid, std::u16string_view source, std::u16string_view description);
void ClearErrorInfo();

}  // namespace com
