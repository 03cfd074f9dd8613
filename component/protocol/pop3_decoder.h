#pragma once
// CPop3Decoder: decodes a whole file into another, for clients that hold
// encoded files of their own. No state.
#include "component/mime/mime_enums.h"
#include "platform/com/com_class.h"
#include "platform/com/dispatch_table.h"
#include "platform/com/error_info.h"
#include "qelpop3/qelpop3.h"

namespace component::protocol {

class CPop3Decoder final : public com::ComClass<com::DispatchImpl<IPop3Decoder>, com::ISupportErrorInfo> {
public:
    CPop3Decoder() = default;

    com::HRESULT InterfaceSupportsErrorInfo(const com::IID& iid) override;

    com::HRESULT Base64(com::BSTR InFile, com::BSTR OutFile) override;
    com::HRESULT Uudecode(com::BSTR InFile, com::BSTR OutFile) override;
    com::HRESULT QuotedPrintable(com::BSTR InFile, com::BSTR OutFile) override;
    com::HRESULT BinHex4(com::BSTR InFile, com::BSTR OutFile) override;

protected:
    const com::DispatchTable<IPop3Decoder>& GetDispatchTable() const override;

private:
    com::HRESULT DecodeFile(com::BSTR InFile, com::BSTR OutFile, mime::AttachmentEncodingsEnum encoding);
};

}  // namespace component::protocol
