#include "component/protocol/pop3_attachments.h"
#include "component/protocol/exception_barrier.h"
#include "component/protocol/out_params.h"

#include <algorithm>

#include "component/mime/decode_to_file.h"
#include "component/protocol/collection_items.h"
#include "component/transport/error_table.h"
#include "platform/com/enum_variant.h"
#include "platform/text/code_page.h"

namespace component::protocol {

using com::E_POINTER;
using com::HRESULT;
using com::S_OK;

namespace {

HRESULT ReportError(std::int32_t code) {
    com::SetErrorInfoText(IPop3Attachment::iid, u"Pop3Attachment",
                          text::FromAnsi(transport::LookupErrorText(code)));
    return com::CtlError(static_cast<std::uint16_t>(code));
}

// A text or a reference to one; anything else counts as no name.
std::u16string VariantText(const com::VARIANT& in) {
    const com::VARIANT& v = com::Dereference(in);
    if (v.vt == com::VT_BSTR) return std::u16string(com::BstrView(v.bstrVal));
    if (v.vt == (com::VT_BSTR | com::VT_BYREF) && v.pbstrVal != nullptr)
        return std::u16string(com::BstrView(*v.pbstrVal));
    return {};
}

}  // namespace

// ---- CPop3Attachment -----------------------------------------------------------

HRESULT CPop3Attachment::InterfaceSupportsErrorInfo(const com::IID& iid) {
    return iid == IPop3Attachment::iid ? S_OK : com::S_FALSE;
}

void CPop3Attachment::Set(const mime::AttachmentInfo& info, com::ComPtr<IPop3Msg> holder,
                          std::shared_ptr<const std::string> bytes, std::string_view scanned) {
    part = std::move(holder);
    Name = info.name;
    Type = text::FromAnsi(info.type);
    Size = static_cast<std::int32_t>(std::min<std::int64_t>(info.size_estimate(), INT32_MAX));
    Encoding = static_cast<AttachmentEncodingsEnum>(info.encoding);
    raw = std::move(bytes);
    encoded = info.start <= info.end && info.end <= scanned.size()
                  ? scanned.substr(info.start, info.end - info.start)
                  : std::string_view();
}

HRESULT CPop3Attachment::get_Name(com::BSTR* value) try { return CopyText(Name, value); } catch (...) {
    return ExceptionResult();
}

HRESULT CPop3Attachment::put_Name(com::BSTR value) try {
    Name = std::u16string(com::BstrView(value));
    return S_OK;
} catch (...) {
    return ExceptionResult();
}

HRESULT CPop3Attachment::get_Type(com::BSTR* value) try { return CopyText(Type, value); } catch (...) {
    return ExceptionResult();
}

HRESULT CPop3Attachment::get_Encoding(AttachmentEncodingsEnum* value) try {
    return CopyValue(Encoding, value);
} catch (...) {
    return ExceptionResult();
}

HRESULT CPop3Attachment::get_Size(std::int32_t* value) try { return CopyValue(Size, value); } catch (...) {
    return ExceptionResult();
}

HRESULT CPop3Attachment::get_Part(IPop3Msg** value) try {
    if (value == nullptr) return E_POINTER;
    *value = nullptr;
    return part ? part.CopyTo(value) : com::E_FAIL;
} catch (...) {
    return ExceptionResult();
}

HRESULT CPop3Attachment::Save(com::VARIANT Filename) try {
    const std::string destination = text::ToAnsi(VariantText(Filename));
    if (destination.empty()) return ReportError(errNoDestination);
    if (Encoding < encBASE64 || Encoding > enc7BIT) return ReportError(errUnknownEncoder);
    const auto result =
        mime::decode_to_file(encoded, static_cast<mime::AttachmentEncodingsEnum>(Encoding), destination);
    switch (result.status) {
        case mime::SaveStatus::ok:
            return S_OK;
        case mime::SaveStatus::no_destination:
            return ReportError(errNoDestination);
        case mime::SaveStatus::unknown_encoding:
            return ReportError(errUnknownEncoder);
        case mime::SaveStatus::output_failed:
            return ReportError(errCannotAccessDestination);
    }
    return com::E_FAIL;
} catch (...) {
    return ExceptionResult();
}

namespace {

using AttTable = com::DispatchTable<IPop3Attachment>;
using A = IPop3Attachment;
const AttTable kAttachmentTable{
    AttTable::Get<&A::get_Name>(u"Name", DISPID_Pop3Attachment_Name),
    AttTable::Put<&A::put_Name>(u"Name", DISPID_Pop3Attachment_Name),
    AttTable::Get<&A::get_Type>(u"Type", DISPID_Pop3Attachment_Type),
    AttTable::Get<&A::get_Encoding>(u"Encoding", DISPID_Pop3Attachment_Encoding),
    AttTable::Method<&A::Save>(u"Save", DISPID_Pop3Attachment_Save),
    AttTable::Get<&A::get_Part>(u"Part", DISPID_Pop3Attachment_Part),
    AttTable::Get<&A::get_Size>(u"Size", DISPID_Pop3Attachment_Size),
};

}  // namespace

const com::DispatchTable<IPop3Attachment>& CPop3Attachment::GetDispatchTable() const {
    return kAttachmentTable;
}

// ---- CPop3Attachments ----------------------------------------------------------

HRESULT CPop3Attachments::InterfaceSupportsErrorInfo(const com::IID& iid) {
    return iid == IPop3Attachments::iid ? S_OK : com::S_FALSE;
}

void CPop3Attachments::Fill(const std::vector<mime::AttachmentInfo>& found,
                            const std::vector<com::ComPtr<IPop3Msg>>& holders,
                            const std::shared_ptr<const std::string>& raw, std::string_view scanned) {
    items.clear();
    for (std::size_t i = 0; i < found.size(); ++i) {
        if (items.size() >= static_cast<std::size_t>(INT16_MAX)) break;
        auto item = com::MakeComObject<CPop3Attachment>();
        item->Set(found[i], i < holders.size() ? holders[i] : nullptr, raw, scanned);
        items.push_back(std::move(item));
    }
}

HRESULT CPop3Attachments::get_Item(std::int16_t Index, IPop3Attachment** value) try {
    return CollectionItem(items, Index, value);
} catch (...) {
    return ExceptionResult();
}

HRESULT CPop3Attachments::get_Count(std::int16_t* value) try {
    return CollectionCount(items, value);
} catch (...) {
    return ExceptionResult();
}

HRESULT CPop3Attachments::get__NewEnum(com::IUnknown** enumerator) try {
    return CollectionEnum<IPop3Attachment>(items, enumerator);
} catch (...) {
    return ExceptionResult();
}

namespace {

using AttsTable = com::DispatchTable<IPop3Attachments>;
const AttsTable kAttachmentsTable{
    AttsTable::Get<&IPop3Attachments::get_Item>(u"Item", DISPID_Pop3Attachments_Item),
    AttsTable::Get<&IPop3Attachments::get_Count>(u"Count", DISPID_Pop3Attachments_Count),
    AttsTable::Get<&IPop3Attachments::get__NewEnum>(u"_NewEnum", DISPID_Pop3Attachments_NewEnum),
};

}  // namespace

const com::DispatchTable<IPop3Attachments>& CPop3Attachments::GetDispatchTable() const {
    return kAttachmentsTable;
}

}  // namespace component::protocol
