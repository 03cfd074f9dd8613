#pragma once
// CPop3Attachments / CPop3Attachment: the attachments detected in a message.
// Each attachment keeps the file name and byte range it was found at, not a
// pointer to its message, so it stays safe to use after the message is gone
// (Save then finds no file and fails).
#include <cstdint>
#include <string>
#include <vector>

#include "component/mime/attachments.h"
#include "platform/com/com_class.h"
#include "platform/com/dispatch_table.h"
#include "platform/com/error_info.h"
#include "qelpop3/qelpop3.h"

namespace component::protocol {

class CPop3Attachment final : public com::ComClass<com::DispatchImpl<IPop3Attachment>, com::ISupportErrorInfo> {
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

    // `fileOffset`: where the detected message's bytes begin in `file8`.
    void Set(const mime::AttachmentInfo& info, com::ComPtr<IPop3Msg> holder, std::string file8,
             std::int64_t fileOffset);

protected:
    const com::DispatchTable<IPop3Attachment>& GetDispatchTable() const override;

private:
    std::u16string Name;
    std::u16string Type;
    std::int64_t startOffset = 0;
    std::int64_t endOffset = 0;
    std::int32_t Size = 0;
    AttachmentEncodingsEnum Encoding = enc7BIT;
    std::string filename8;
    com::ComPtr<IPop3Msg> part;  // the message or part that holds the content
};

class CPop3Attachments final : public com::ComClass<com::DispatchImpl<IPop3Attachments>, com::ISupportErrorInfo> {
public:
    CPop3Attachments() = default;

    com::HRESULT InterfaceSupportsErrorInfo(const com::IID& iid) override;

    com::HRESULT get_Item(std::int16_t Index, IPop3Attachment** value) override;
    com::HRESULT get_Count(std::int16_t* value) override;
    com::HRESULT get__NewEnum(com::IUnknown** enumerator) override;

    // `holders[i]`: the message object over the part of `found[i]`.
    void Fill(const std::vector<mime::AttachmentInfo>& found, const std::vector<com::ComPtr<IPop3Msg>>& holders,
              const std::string& file8, std::int64_t fileOffset);

protected:
    const com::DispatchTable<IPop3Attachments>& GetDispatchTable() const override;

private:
    std::vector<com::ComPtr<CPop3Attachment>> items;
};

}  // namespace component::protocol
