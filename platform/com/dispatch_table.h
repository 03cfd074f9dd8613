#pragma once
// IDispatch over a table of an interface's members: each row names a
// member, its DISPID and its kind, and binds the C++ member function, whose
// parameters say how the VARIANT arguments are converted:
//
//   const com::DispatchTable<IThing> kThingTable{
//       com::DispatchTable<IThing>::Get<&IThing::get_Port>(u"Port", 8),
//       com::DispatchTable<IThing>::Put<&IThing::put_Port>(u"Port", 8),
//       com::DispatchTable<IThing>::Method<&IThing::Connect>(u"Connect", 2),
//   };
//   class CThing : public com::ComClass<com::DispatchImpl<IThing>> {
//       const com::DispatchTable<IThing>& GetDispatchTable() const override { return kThingTable; }
//   };
//
// Parameters may be 16/32-bit integers, bytes, floats, doubles, VARIANT_BOOL,
// enumerations (32-bit), BSTR, VARIANT (by value or const reference) and
// interface pointers; a last parameter that is a pointer to one of these
// (BSTR*, int32_t*, VARIANT*, IDispatch** ...) is the result; in/out pointer
// parameters are not bound. A missing trailing VARIANT argument arrives as
// VT_ERROR/DISP_E_PARAMNOTFOUND.
#include <cstdint>
#include <initializer_list>
#include <new>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/com/dispatch.h"
#include "platform/com/dispatch_binding.h"

namespace com {

enum class DispKind : std::uint16_t {
    Method = DISPATCH_METHOD,
    PropertyGet = DISPATCH_PROPERTYGET,
    PropertyPut = DISPATCH_PROPERTYPUT,
    PropertyPutRef = DISPATCH_PROPERTYPUTREF,
};

template <class I>
struct DispMember {
    std::u16string_view name;
    DISPID dispid;
    DispKind kind;
    HRESULT (*thunk)(I& self, DispatchCall& call);
};

template <class I>
class DispatchTable {
public:
    using Member = DispMember<I>;

    DispatchTable(std::initializer_list<Member> members) : members_(members) {}

    // `ResultAs` converts the result, e.g. VT_DATE for a DATE (a double).
    template <auto Fn, VARTYPE ResultAs = VT_EMPTY>
    static Member Method(std::u16string_view name, DISPID dispid) {
        return {name, dispid, DispKind::Method, &dispatch_detail::Thunk<I, Fn, ResultAs>};
    }
    template <auto Fn, VARTYPE ResultAs = VT_EMPTY>
    static Member Get(std::u16string_view name, DISPID dispid) {
        static_assert(dispatch_detail::MemberOf<Fn>::hasResult,
                      "a property get ends with its result pointer");
        return {name, dispid, DispKind::PropertyGet, &dispatch_detail::Thunk<I, Fn, ResultAs>};
    }
    template <auto Fn>
    static Member Put(std::u16string_view name, DISPID dispid) {
        static_assert(!dispatch_detail::MemberOf<Fn>::hasResult, "a property put has no result");
        return {name, dispid, DispKind::PropertyPut, &dispatch_detail::Thunk<I, Fn, VT_EMPTY>};
    }
    template <auto Fn>
    static Member PutRef(std::u16string_view name, DISPID dispid) {
        static_assert(!dispatch_detail::MemberOf<Fn>::hasResult, "a property put has no result");
        return {name, dispid, DispKind::PropertyPutRef, &dispatch_detail::Thunk<I, Fn, VT_EMPTY>};
    }

    // Names compare without regard to letter case; only the member's own
    // name is known (parameter names give DISP_E_UNKNOWNNAME).
    HRESULT GetIDsOfNames(OLECHAR** names, std::uint32_t count, DISPID* dispids) const {
        if (!names || !dispids) return E_POINTER;
        if (count == 0) return S_OK;
        for (std::uint32_t i = 0; i < count; ++i) dispids[i] = DISPID_UNKNOWN;
        const auto* found = FindByName(names[0]);
        if (!found) return DISP_E_UNKNOWNNAME;
        dispids[0] = found->dispid;
        return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
    }

    HRESULT Invoke(I& self, DISPID dispid, std::uint16_t flags, DISPPARAMS* params, VARIANT* result,
                   EXCEPINFO* exception, std::uint32_t* argError) const {
        if (!params) return E_POINTER;
        const Member* member = Choose(dispid, flags);
        if (!member) return DISP_E_MEMBERNOTFOUND;
        const bool isPut = member->kind == DispKind::PropertyPut || member->kind == DispKind::PropertyPutRef;
        const bool namedValue = isPut && params->cNamedArgs == 1 && params->rgdispidNamedArgs &&
                                params->rgdispidNamedArgs[0] == DISPID_PROPERTYPUT;
        if (params->cNamedArgs > 0 && !namedValue) return DISP_E_NONAMEDARGS;
        if (isPut) result = nullptr;
        DispatchCall call(*params, result);
        HRESULT hr = S_OK;
        try {
            hr = member->thunk(self, call);
        } catch (const std::bad_alloc&) {
            hr = E_OUTOFMEMORY;
        } catch (...) {
            hr = E_UNEXPECTED;  // no exception crosses the interface
        }
        if (call.HasFailedArg() && argError) *argError = call.FailedArg();
        return dispatch_detail::ReportFailure(hr, call.HasFailedArg(), exception);
    }

    const std::vector<Member>& Members() const noexcept { return members_; }

private:
    const Member* FindByName(const OLECHAR* name) const {
        if (!name) return nullptr;
        const std::u16string_view wanted(name);
        for (const Member& m : members_) {
            if (dispatch_detail::NamesEqual(m.name, wanted)) return &m;
        }
        return nullptr;
    }

    const Member* Find(DISPID dispid, DispKind kind) const {
        for (const Member& m : members_) {
            if (m.dispid == dispid && m.kind == kind) return &m;
        }
        return nullptr;
    }

    // A read asked as method-or-get (as script callers do) takes the get.
    const Member* Choose(DISPID dispid, std::uint16_t flags) const {
        const Member* m = nullptr;
        if (!m && (flags & DISPATCH_PROPERTYPUTREF)) m = Find(dispid, DispKind::PropertyPutRef);
        if (!m && (flags & DISPATCH_PROPERTYPUT)) m = Find(dispid, DispKind::PropertyPut);
        if (!m && (flags & DISPATCH_PROPERTYGET)) m = Find(dispid, DispKind::PropertyGet);
        if (!m && (flags & DISPATCH_METHOD)) m = Find(dispid, DispKind::Method);
        return m;
    }

    std::vector<Member> members_;
};

// Implements IDispatch for interface I from the class's table.
template <class I>
class DispatchImpl : public I {
public:
    HRESULT GetTypeInfoCount(std::uint32_t* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT GetTypeInfo(std::uint32_t, LCID, ITypeInfo** info) override {
        if (info) *info = nullptr;
        return E_NOTIMPL;
    }
    HRESULT GetIDsOfNames(const IID&, OLECHAR** names, std::uint32_t count, LCID, DISPID* dispids) override {
        return GetDispatchTable().GetIDsOfNames(names, count, dispids);
    }
    HRESULT Invoke(DISPID dispid, const IID&, LCID, std::uint16_t flags, DISPPARAMS* params, VARIANT* result,
                   EXCEPINFO* exception, std::uint32_t* argError) override {
        return GetDispatchTable().Invoke(*this, dispid, flags, params, result, exception, argError);
    }

protected:
    virtual const DispatchTable<I>& GetDispatchTable() const = 0;
    ~DispatchImpl() = default;
};

}  // namespace com
