#pragma once
// CPop3Hdrs / CPop3Hdr: the header lines of a message as the client sees
// them. The message's header getters read these objects, so a client that
// changes a header changes what the getters return.
#include <cstdint>
#include <string>
#include <vector>

#include "component/mime/header_block.h"
#include "platform/com/com_class.h"
#include "platform/com/dispatch_table.h"
#include "platform/com/error_info.h"
#include "qelpop3/qelpop3.h"

namespace component::protocol {

class CPop3Hdr final : public com::ComClass<com::DispatchImpl<IPop3Hdr>, com::ISupportErrorInfo> {
public:
    CPop3Hdr() = default;

    com::HRESULT InterfaceSupportsErrorInfo(const com::IID& iid) override;

    com::HRESULT ToString(com::BSTR* value) override;
    com::HRESULT get_Name(com::BSTR* value) override;
    com::HRESULT put_Name(com::BSTR value) override;
    com::HRESULT get_Value(com::BSTR* value) override;
    com::HRESULT put_Value(com::BSTR value) override;

    // 8-bit, as in the message file.
    void Set(std::string name8, std::string value8);
    const std::string& Name8() const { return Name; }
    const std::string& Value8() const { return Value; }

protected:
    const com::DispatchTable<IPop3Hdr>& GetDispatchTable() const override;

private:
    std::string Name;
    std::string Value;
};

class CPop3Hdrs final : public com::ComClass<com::DispatchImpl<IPop3Hdrs>, com::ISupportErrorInfo> {
public:
    CPop3Hdrs() = default;

    com::HRESULT InterfaceSupportsErrorInfo(const com::IID& iid) override;

    com::HRESULT get_Item(com::VARIANT Index, IPop3Hdr** value) override;
    com::HRESULT get_Count(std::int16_t* value) override;
    com::HRESULT ToString(com::BSTR* value) override;
    com::HRESULT get__NewEnum(com::IUnknown** enumerator) override;

    void Fill(const mime::Headers& headers);
    // The current names and values, for the header getters.
    mime::Headers Snapshot() const;

protected:
    const com::DispatchTable<IPop3Hdrs>& GetDispatchTable() const override;

private:
    std::vector<com::ComPtr<CPop3Hdr>> items;
};

}  // namespace component::protocol
