#include "component/protocol/pop3_hdrs.h"
#include "component/protocol/collection_items.h"
#include "component/protocol/exception_barrier.h"
#include "component/protocol/out_params.h"

#include "platform/com/enum_variant.h"
#include "platform/text/code_page.h"

namespace component::protocol {

using com::E_POINTER;
using com::HRESULT;
using com::S_OK;

namespace {

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
        if (lower(static_cast<unsigned char>(a[i])) != lower(static_cast<unsigned char>(b[i]))) return false;
    }
    return true;
}

}  // namespace

// ---- CPop3Hdr ----------------------------------------------------------------

HRESULT CPop3Hdr::InterfaceSupportsErrorInfo(const com::IID& iid) {
    return iid == IPop3Hdr::iid ? S_OK : com::S_FALSE;
}

void CPop3Hdr::Set(std::string name8, std::string value8) {
    Name = std::move(name8);
    Value = std::move(value8);
}

HRESULT CPop3Hdr::ToString(com::BSTR* value) try {
    return CopyAnsi(Name + ": " + Value, value);
} catch (...) {
    return ExceptionResult();
}
HRESULT CPop3Hdr::get_Name(com::BSTR* value) try { return CopyAnsi(Name, value); } catch (...) {
    return ExceptionResult();
}
HRESULT CPop3Hdr::get_Value(com::BSTR* value) try { return CopyAnsi(Value, value); } catch (...) {
    return ExceptionResult();
}

HRESULT CPop3Hdr::put_Name(com::BSTR value) try {
    Name = text::ToAnsi(com::BstrView(value));
    return S_OK;
} catch (...) {
    return ExceptionResult();
}

HRESULT CPop3Hdr::put_Value(com::BSTR value) try {
    Value = text::ToAnsi(com::BstrView(value));
    return S_OK;
} catch (...) {
    return ExceptionResult();
}

namespace {

using HdrTable = com::DispatchTable<IPop3Hdr>;
const HdrTable kHdrTable{
    HdrTable::Method<&IPop3Hdr::ToString>(u"ToString", DISPID_Pop3Hdr_ToString),
    HdrTable::Get<&IPop3Hdr::get_Name>(u"Name", DISPID_Pop3Hdr_Name),
    HdrTable::Put<&IPop3Hdr::put_Name>(u"Name", DISPID_Pop3Hdr_Name),
    HdrTable::Get<&IPop3Hdr::get_Value>(u"Value", DISPID_Pop3Hdr_Value),
    HdrTable::Put<&IPop3Hdr::put_Value>(u"Value", DISPID_Pop3Hdr_Value),
};

}  // namespace

const com::DispatchTable<IPop3Hdr>& CPop3Hdr::GetDispatchTable() const { return kHdrTable; }

// ---- CPop3Hdrs ---------------------------------------------------------------

HRESULT CPop3Hdrs::InterfaceSupportsErrorInfo(const com::IID& iid) {
    return iid == IPop3Hdrs::iid ? S_OK : com::S_FALSE;
}

void CPop3Hdrs::Fill(const mime::Headers& headers) {
    items.clear();
    items.reserve(headers.size());
    for (const auto& h : headers) {
        auto item = com::MakeComObject<CPop3Hdr>();
        item->Set(h.name, h.value);
        items.push_back(std::move(item));
    }
}

mime::Headers CPop3Hdrs::Snapshot() const {
    mime::Headers out;
    out.reserve(items.size());
    for (const auto& item : items) out.push_back({item->Name8(), item->Value8()});
    return out;
}

HRESULT CPop3Hdrs::get_Item(com::VARIANT Index, IPop3Hdr** value) try {
    if (value == nullptr) return E_POINTER;
    *value = nullptr;
    const com::VARIANT& index = com::Dereference(Index);
    const bool byRefText = index.vt == (com::VT_BSTR | com::VT_BYREF);
    if (index.vt == com::VT_BSTR || byRefText) {
        if (byRefText && index.pbstrVal == nullptr) return com::E_INVALIDARG;
        const std::string name = text::ToAnsi(com::BstrView(byRefText ? *index.pbstrVal : index.bstrVal));
        for (const auto& item : items) {
            if (SameNameIgnoringCase(item->Name8(), name))
                return com::ComPtr<IPop3Hdr>(item.Get()).CopyTo(value);
        }
        return com::E_INVALIDARG;
    }
    com::Variant position;
    if (com::FAILED(com::VariantChangeType(&position, &index, 0, com::VT_I2))) return com::E_INVALIDARG;
    if (position.iVal < 0 || static_cast<std::size_t>(position.iVal) >= items.size())
        return com::E_INVALIDARG;
    return com::ComPtr<IPop3Hdr>(items[static_cast<std::size_t>(position.iVal)].Get()).CopyTo(value);
} catch (...) {
    return ExceptionResult();
}

HRESULT CPop3Hdrs::get_Count(std::int16_t* value) try { return CollectionCount(items, value); } catch (...) {
    return ExceptionResult();
}

HRESULT CPop3Hdrs::ToString(com::BSTR* value) try {
    return CopyAnsi(mime::headers_to_string(Snapshot()), value);
} catch (...) {
    return ExceptionResult();
}

HRESULT CPop3Hdrs::get__NewEnum(com::IUnknown** enumerator) try {
    return CollectionEnum<IPop3Hdr>(items, enumerator);
} catch (...) {
    return ExceptionResult();
}

namespace {

using HdrsTable = com::DispatchTable<IPop3Hdrs>;
const HdrsTable kHdrsTable{
    HdrsTable::Get<&IPop3Hdrs::get_Item>(u"Item", DISPID_Pop3Hdrs_Item),
    HdrsTable::Get<&IPop3Hdrs::get_Count>(u"Count", DISPID_Pop3Hdrs_Count),
    HdrsTable::Method<&IPop3Hdrs::ToString>(u"ToString", DISPID_Pop3Hdrs_ToString),
    HdrsTable::Get<&IPop3Hdrs::get__NewEnum>(u"_NewEnum", DISPID_Pop3Hdrs_NewEnum),
};

}  // namespace

const com::DispatchTable<IPop3Hdrs>& CPop3Hdrs::GetDispatchTable() const { return kHdrsTable; }

}  // namespace component::protocol
