#include "component/protocol/pop3_recs.h"
#include "component/protocol/exception_barrier.h"
#include "component/protocol/out_params.h"

#include "component/mime/date_parser.h"
#include "component/mime/header_values.h"
#include "component/mime/received_parser.h"
#include "component/protocol/collection_items.h"
#include "component/transport/error_table.h"
#include "platform/com/enum_variant.h"
#include "platform/com/ole_date.h"
#include "platform/text/code_page.h"

namespace component::protocol {

using com::E_POINTER;
using com::HRESULT;
using com::S_OK;

namespace {}  // namespace

HRESULT CPop3Rec::InterfaceSupportsErrorInfo(const com::IID& iid) {
    return iid == IPop3Rec::iid ? S_OK : com::S_FALSE;
}

void CPop3Rec::SetFullLine(std::string_view raw8) {
    const std::string line = mime::UnfoldReceived(raw8);
    const mime::ReceivedFields fields = mime::ParseReceivedLine(line);
    FullLine = text::FromAnsi(line);
    FromHost = text::FromAnsi(fields.fromHost);
    FromIP = text::FromAnsi(fields.fromIP);
    ToHost = text::FromAnsi(fields.toHost);
    ToIP = text::FromAnsi(fields.toIP);
    Protocol = text::FromAnsi(fields.protocol);
    ToEmail = fields.hasFor ? mime::extract_address(fields.forClause) : std::u16string();
    Date = 0;
    if (fields.hasDate) {
        const auto local = mime::parse_date_local(fields.dateClause, mime::current_utc_offset_minutes());
        if (local) {
            const auto ole = com::OleDateFromParts(
                {local->year, local->month, local->day, local->hour, local->minute, local->second, 0});
            if (ole) Date = *ole;
        }
    }
}

HRESULT CPop3Rec::get_FromHost(com::BSTR* value) try { return CopyText(FromHost, value); } catch (...) {
    return ExceptionResult();
}
HRESULT CPop3Rec::get_FromIP(com::BSTR* value) try { return CopyText(FromIP, value); } catch (...) {
    return ExceptionResult();
}
HRESULT CPop3Rec::get_ToHost(com::BSTR* value) try { return CopyText(ToHost, value); } catch (...) {
    return ExceptionResult();
}
HRESULT CPop3Rec::get_ToIP(com::BSTR* value) try { return CopyText(ToIP, value); } catch (...) {
    return ExceptionResult();
}
HRESULT CPop3Rec::get_Protocol(com::BSTR* value) try { return CopyText(Protocol, value); } catch (...) {
    return ExceptionResult();
}
HRESULT CPop3Rec::get_ToEmail(com::BSTR* value) try { return CopyText(ToEmail, value); } catch (...) {
    return ExceptionResult();
}
HRESULT CPop3Rec::get_FullLine(com::BSTR* value) try { return CopyText(FullLine, value); } catch (...) {
    return ExceptionResult();
}

HRESULT CPop3Rec::put_FullLine(com::BSTR value) try {
    SetFullLine(text::ToAnsi(com::BstrView(value)));
    return S_OK;
} catch (...) {
    return ExceptionResult();
}

HRESULT CPop3Rec::get_Date(com::DATE* value) try {
    if (value == nullptr) return E_POINTER;
    if (Date == 0) {
        com::SetErrorInfoText(IPop3Rec::iid, u"Pop3Rec",
                              text::FromAnsi(transport::LookupErrorText(errNoDate)));
        return com::CtlError(static_cast<std::uint16_t>(errNoDate));
    }
    *value = Date;
    return S_OK;
} catch (...) {
    return ExceptionResult();
}

namespace {

using RecTable = com::DispatchTable<IPop3Rec>;
using R = IPop3Rec;
const RecTable kRecTable{
    RecTable::Get<&R::get_FromHost>(u"FromHost", DISPID_Pop3Rec_FromHost),
    RecTable::Get<&R::get_FromIP>(u"FromIP", DISPID_Pop3Rec_FromIP),
    RecTable::Get<&R::get_ToHost>(u"ToHost", DISPID_Pop3Rec_ToHost),
    RecTable::Get<&R::get_ToIP>(u"ToIP", DISPID_Pop3Rec_ToIP),
    RecTable::Get<&R::get_Date, com::VT_DATE>(u"Date", DISPID_Pop3Rec_Date),
    RecTable::Get<&R::get_Protocol>(u"Protocol", DISPID_Pop3Rec_Protocol),
    RecTable::Get<&R::get_ToEmail>(u"ToEmail", DISPID_Pop3Rec_ToEmail),
    RecTable::Get<&R::get_FullLine>(u"FullLine", DISPID_Pop3Rec_FullLine),
    RecTable::Put<&R::put_FullLine>(u"FullLine", DISPID_Pop3Rec_FullLine),
};

}  // namespace

const com::DispatchTable<IPop3Rec>& CPop3Rec::GetDispatchTable() const { return kRecTable; }

HRESULT CPop3Recs::InterfaceSupportsErrorInfo(const com::IID& iid) {
    return iid == IPop3Recs::iid ? S_OK : com::S_FALSE;
}

void CPop3Recs::Fill(const mime::Headers& headers) {
    items.clear();
    for (const mime::Header* header : mime::find_all_headers(headers, "Received")) {
        auto item = com::MakeComObject<CPop3Rec>();
        item->SetFullLine(header->value);
        items.push_back(std::move(item));
    }
}

HRESULT CPop3Recs::get_Item(std::int16_t Index, IPop3Rec** value) try {
    return CollectionItem(items, Index, value);
} catch (...) {
    return ExceptionResult();
}

HRESULT CPop3Recs::get_Count(std::int16_t* value) try { return CollectionCount(items, value); } catch (...) {
    return ExceptionResult();
}

HRESULT CPop3Recs::get__NewEnum(com::IUnknown** enumerator) try {
    return CollectionEnum<IPop3Rec>(items, enumerator);
} catch (...) {
    return ExceptionResult();
}

namespace {

using RecsTable = com::DispatchTable<IPop3Recs>;
const RecsTable kRecsTable{
    RecsTable::Get<&IPop3Recs::get_Item>(u"Item", DISPID_Pop3Recs_Item),
    RecsTable::Get<&IPop3Recs::get_Count>(u"Count", DISPID_Pop3Recs_Count),
    RecsTable::Get<&IPop3Recs::get__NewEnum>(u"_NewEnum", DISPID_Pop3Recs_NewEnum),
};

}  // namespace

const com::DispatchTable<IPop3Recs>& CPop3Recs::GetDispatchTable() const { return kRecsTable; }

}  // namespace component::protocol
