#include "component/protocol/pop3_msgs.h"
#include "component/protocol/exception_barrier.h"

#include "component/protocol/collection_items.h"
#include "component/protocol/qel_pop3_com.h"
#include "platform/com/enum_variant.h"

namespace component::protocol {

using com::E_POINTER;
using com::HRESULT;
using com::S_OK;

HRESULT CPop3Msgs::InterfaceSupportsErrorInfo(const com::IID& iid) {
    return iid == IPop3Msgs::iid ? S_OK : com::S_FALSE;
}

void CPop3Msgs::DetachOwner() {
    owner = nullptr;
    for (const auto& item : items) item->SetOwner(nullptr);
}

void CPop3Msgs::AppendListed(CqelPop3Com* messageOwner, std::int32_t size) {
    // Count and Index are 16-bit: messages past 32 767 cannot be reached,
    // so the collection holds the mailbox's first 32 767.
    if (items.size() >= static_cast<std::size_t>(INT16_MAX)) return;
    auto message = com::MakeComObject<CPop3Msg>();
    message->SetOwner(messageOwner);
    message->SetIndex(static_cast<std::int16_t>(items.size()));
    message->SetSize(size);
    items.push_back(std::move(message));
}

HRESULT CPop3Msgs::get_Count(std::int16_t* count) try { return CollectionCount(items, count); } catch (...) {
    return ExceptionResult();
}

HRESULT CPop3Msgs::get_Item(std::int16_t index, IPop3Msg** message) try {
    return CollectionItem(items, index, message);
} catch (...) {
    return ExceptionResult();
}

HRESULT CPop3Msgs::GetAll() try {
    CallGuard guard(*this);
    if (owner == nullptr) return com::E_FAIL;
    return owner->StartChain(false, 0);
} catch (...) {
    return ExceptionResult();
}

HRESULT CPop3Msgs::GetAllHeaders() try {
    CallGuard guard(*this);
    if (owner == nullptr) return com::E_FAIL;
    return owner->StartChain(true, 0);
} catch (...) {
    return ExceptionResult();
}

HRESULT CPop3Msgs::GetAllLines(std::int16_t MaxLines) try {
    CallGuard guard(*this);
    if (owner == nullptr) return com::E_FAIL;
    return owner->StartChain(true, MaxLines);
} catch (...) {
    return ExceptionResult();
}

HRESULT CPop3Msgs::get__NewEnum(com::IUnknown** enumerator) try {
    return CollectionEnum<IPop3Msg>(items, enumerator);
} catch (...) {
    return ExceptionResult();
}

namespace {

using MsgsTable = com::DispatchTable<IPop3Msgs>;
const MsgsTable kMsgsTable{
    MsgsTable::Get<&IPop3Msgs::get_Item>(u"Item", DISPID_Pop3Msgs_Item),
    MsgsTable::Get<&IPop3Msgs::get_Count>(u"Count", DISPID_Pop3Msgs_Count),
    MsgsTable::Method<&IPop3Msgs::GetAll>(u"GetAll", DISPID_Pop3Msgs_GetAll),
    MsgsTable::Method<&IPop3Msgs::GetAllHeaders>(u"GetAllHeaders", DISPID_Pop3Msgs_GetAllHeaders),
    MsgsTable::Method<&IPop3Msgs::GetAllLines>(u"GetAllLines", DISPID_Pop3Msgs_GetAllLines),
    MsgsTable::Get<&IPop3Msgs::get__NewEnum>(u"_NewEnum", DISPID_Pop3Msgs_NewEnum),
};

}  // namespace

const com::DispatchTable<IPop3Msgs>& CPop3Msgs::GetDispatchTable() const { return kMsgsTable; }

}  // namespace component::protocol
