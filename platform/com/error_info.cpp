#include "platform/com/error_info.h"

#include <new>

#include "platform/com/com_class.h"
#include "platform/com/com_ptr.h"

namespace com {

namespace {

class ErrorInfo : public ComClass<IErrorInfo> {
public:
    ErrorInfo(const GUID& guid, std::u16string_view source, std::u16string_view description)
        : guid_(guid), source_(source), description_(description) {}

    HRESULT GetGUID(GUID* guid) override {
        if (!guid) return E_POINTER;
        *guid = guid_;
        return S_OK;
    }
    HRESULT GetSource(BSTR* source) override { return source_.CopyTo(source); }
    HRESULT GetDescription(BSTR* description) override { return description_.CopyTo(description); }
    HRESULT GetHelpFile(BSTR* helpFile) override {
        if (!helpFile) return E_POINTER;
        *helpFile = nullptr;
        return S_OK;
    }
    HRESULT GetHelpContext(std::uint32_t* helpContext) override {
        if (!helpContext) return E_POINTER;
        *helpContext = 0;
        return S_OK;
    }

private:
    GUID guid_;
    Bstr source_;
    Bstr description_;
};

ComPtr<IErrorInfo>& ThreadErrorInfo() {
    thread_local ComPtr<IErrorInfo> current;
    return current;
}

}  // namespace

HRESULT SetErrorInfo(std::uint32_t, IErrorInfo* info) {
    // Swap first: releasing the old object may run arbitrary code.
    ComPtr<IErrorInfo> old(info);
    old.Swap(ThreadErrorInfo());
    return S_OK;
}

HRESULT GetErrorInfo(std::uint32_t, IErrorInfo** info) {
    if (!info) return E_POINTER;
    *info = ThreadErrorInfo().Detach();
    return *info ? S_OK : S_FALSE;
}

HRESULT CreateErrorInfo(const GUID& guid, std::u16string_view source, std::u16string_view description,
                        IErrorInfo** info) {
    if (!info) return E_POINTER;
    *info = nullptr;
    try {
        ComPtr<ErrorInfo> object;
        const HRESULT hr = CreateComObject(&object, guid, source, description);
        if (FAILED(hr)) return hr;
        *info = object.Detach();
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT SetErrorInfoText(const GUID& guid, std::u16string_view source, std::u16string_view description) {
    ComPtr<IErrorInfo> info;
    const HRESULT hr = CreateErrorInfo(guid, source, description, info.ReleaseAndGetAddressOf());
    if (FAILED(hr)) return hr;
    return SetErrorInfo(0, info.Get());
}

void ClearErrorInfo() { SetErrorInfo(0, nullptr); }

}  // namespace com
