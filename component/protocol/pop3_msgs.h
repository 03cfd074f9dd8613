#pragma once
// CPop3Msgs: the ordered messages of the mailbox, in LIST order. The
// component fills it while it lists the mailbox; GetAll and its siblings ask
// the component to download the messages marked for getting.
#include <cstdint>
#include <vector>

#include "component/protocol/pop3_msg.h"
#include "platform/com/com_class.h"
#include "platform/com/dispatch_table.h"
#include "platform/com/error_info.h"
#include "qelpop3/qelpop3.h"

namespace component::protocol {

class CqelPop3Com;

class CPop3Msgs final : public com::ComClass<com::DispatchImpl<IPop3Msgs>, com::ISupportErrorInfo> {
public:
    CPop3Msgs() = default;

    com::HRESULT InterfaceSupportsErrorInfo(const com::IID& iid) override;

    com::HRESULT get_Count(std::int16_t* count) override;
    com::HRESULT get_Item(std::int16_t index, IPop3Msg** message) override;
    com::HRESULT GetAll() override;
    com::HRESULT GetAllHeaders() override;
    com::HRESULT GetAllLines(std::int16_t MaxLines) override;
    com::HRESULT get__NewEnum(com::IUnknown** enumerator) override;

    CqelPop3Com* Owner() const { return owner; }
    void SetOwner(CqelPop3Com* newOwner) { owner = newOwner; }
    // Clears the owner link of the collection and of every message: their
    // downloads answer E_FAIL from now on.
    void DetachOwner();
    std::uint32_t Count() const { return static_cast<std::uint32_t>(items.size()); }
    CPop3Msg* At(std::uint32_t index) const { return items[index].Get(); }
    com::ComPtr<CPop3Msg> Ref(std::uint32_t index) const { return items[index]; }
    // A message from a LIST scan line: the next index, the given size;
    // nothing past the 32 767th message.
    void AppendListed(CqelPop3Com* messageOwner, std::int32_t size);
    // A MIME part, for the part list of a message.
    void AppendPart(com::ComPtr<CPop3Msg> part) { items.push_back(std::move(part)); }

protected:
    const com::DispatchTable<IPop3Msgs>& GetDispatchTable() const override;

private:
    CqelPop3Com* owner = nullptr;  // not counted
    std::vector<com::ComPtr<CPop3Msg>> items;
};

}  // namespace component::protocol
