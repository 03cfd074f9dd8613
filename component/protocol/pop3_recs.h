#pragma once
// CPop3Recs / CPop3Rec: the "Received" headers of a message, each taken
// apart into hosts, addresses, protocol, recipient and date. The records are
// made from the headers when the collection is made, so the collection holds
// no pointer back to its message and outlives it safely.
#include <cstdint>
#include <string>
#include <vector>

#include "component/mime/header_block.h"
#include "platform/com/com_class.h"
#include "platform/com/dispatch_table.h"
#include "platform/com/error_info.h"
#include "qelpop3/qelpop3.h"

namespace component::protocol {

class CPop3Rec final : public com::ComClass<com::DispatchImpl<IPop3Rec>, com::ISupportErrorInfo> {
public:
    CPop3Rec() = default;

    com::HRESULT InterfaceSupportsErrorInfo(const com::IID& iid) override;

    com::HRESULT get_FromHost(com::BSTR* value) override;
    com::HRESULT get_FromIP(com::BSTR* value) override;
    com::HRESULT get_ToHost(com::BSTR* value) override;
    com::HRESULT get_ToIP(com::BSTR* value) override;
    com::HRESULT get_Date(com::DATE* value) override;
    com::HRESULT get_Protocol(com::BSTR* value) override;
    com::HRESULT get_ToEmail(com::BSTR* value) override;
    com::HRESULT get_FullLine(com::BSTR* value) override;
    com::HRESULT put_FullLine(com::BSTR value) override;

    // The raw (folded) header value, 8-bit.
    void SetFullLine(std::string_view raw8);

protected:
    const com::DispatchTable<IPop3Rec>& GetDispatchTable() const override;

private:
    std::u16string FullLine;
    std::u16string ToEmail;
    std::u16string Protocol;
    std::u16string FromHost;
    std::u16string FromIP;
    std::u16string ToHost;
    std::u16string ToIP;
    com::DATE Date = 0;
};

class CPop3Recs final : public com::ComClass<com::DispatchImpl<IPop3Recs>, com::ISupportErrorInfo> {
public:
    CPop3Recs() = default;

    com::HRESULT InterfaceSupportsErrorInfo(const com::IID& iid) override;

    com::HRESULT get_Item(std::int16_t Index, IPop3Rec** value) override;
    com::HRESULT get_Count(std::int16_t* value) override;
    com::HRESULT get__NewEnum(com::IUnknown** enumerator) override;

    void Fill(const mime::Headers& headers);

protected:
    const com::DispatchTable<IPop3Recs>& GetDispatchTable() const override;

private:
    std::vector<com::ComPtr<CPop3Rec>> items;
};

}  // namespace component::protocol
