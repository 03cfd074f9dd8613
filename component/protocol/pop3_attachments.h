#pragma once
// CPop3Attachments / CPop3Attachment: the attachments detected in a message.
// Each attachment shares the bytes it was found in, not a pointer to its
// message or its file: it stays right after the message is released or
// retrieved again (which rewrites the file).
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "component/mime/attachments.h"
#include "platform/com/com_class.h"
#include "platform/com/dispatch_table.h"
#include "platform/com/error_info.h"
#include "qelpop3/qelpop3.h"

namespace component::protocol {

class CPop3Attachment final
    : public com::ComClass<com::DispatchImpl<IPop3Attachment>, com::ISupportErrorInfo> {
public:
    CPop3Attachment() = default;

    com::HRESULT InterfaceSupportsErrorInfo(const com::IID& iid) override;

    com::HRESULT get_Name(com::BSTR* value) override;
    com::HRESULT put_Name(com::BSTR value) override;
    com::HRESULT get_Type(com::BSTR* value) override;
    com::HRESULT get_Encoding(AttachmentEncodingsEnum* value) override;
    com::HRESULT Save(com::VARIANT Filename) override;
    com::HRESULT get_Part(IPop3Msg** value) override;
    com::HRESULT get_Size(std::int32_t* value) override;

    // `scanned`: the bytes the attachment was detected in, lying in `raw`.
    void Set(const mime::AttachmentInfo& info, com::ComPtr<IPop3Msg> holder,
             std::shared_ptr<const std::string> raw, std::string_view scanned);

protected:
    const com::DispatchTable<IPop3Attachment>& GetDispatchTable() const override;

private:
    std::u16string Name;
    std::u16string Type;
    std::int32_t Size = 0;
    AttachmentEncodingsEnum Encoding = enc7BIT;
    std::shared_ptr<const std::string> raw;
    std::string_view encoded;    // the encoded content, in *raw
    com::ComPtr<IPop3Msg> part;  // the message or part that holds the content
};

class CPop3Attachments final
    : public com::ComClass<com::DispatchImpl<IPop3Attachments>, com::ISupportErrorInfo> {
public:
    CPop3Attachments() = default;

    com::HRESULT InterfaceSupportsErrorInfo(const com::IID& iid) override;

    com::HRESULT get_Item(std::int16_t Index, IPop3Attachment** value) override;
    com::HRESULT get_Count(std::int16_t* value) override;
    com::HRESULT get__NewEnum(com::IUnknown** enumerator) override;

    // `holders[i]`: the message object over the part of `found[i]`.
    void Fill(const std::vector<mime::AttachmentInfo>& found,
              const std::vector<com::ComPtr<IPop3Msg>>& holders,
              const std::shared_ptr<const std::string>& raw, std::string_view scanned);

protected:
    const com::DispatchTable<IPop3Attachments>& GetDispatchTable() const override;

private:
    std::vector<com::ComPtr<CPop3Attachment>> items;
};

}  // namespace component::protocol
