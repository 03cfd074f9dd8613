#pragma once
// How a dispatch table row calls a C++ member: the VARIANT arguments are
// converted to the member's parameter types and its result pointer is
// turned back into a VARIANT. Used by dispatch_table.h.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>

#include "platform/com/com_ptr.h"
#include "platform/com/dispatch.h"
#include "platform/com/variant.h"

namespace com {

// One call in progress: its arguments and where its result goes.
class DispatchCall {
public:
    DispatchCall(DISPPARAMS& params, VARIANT* result) noexcept : params_(params), result_(result) {}

    std::uint32_t ArgCount() const noexcept { return params_.cArgs; }
    // Argument `index` in natural order (first argument first); null when
    // the caller passed fewer.
    const VARIANT* Arg(std::size_t index) const noexcept {
        if (index >= params_.cArgs || !params_.rgvarg) return nullptr;
        return &params_.rgvarg[params_.cArgs - 1 - index];
    }
    VARIANT* Result() const noexcept { return result_; }

    // Records the argument that could not be converted (natural order).
    void SetFailedArg(std::size_t index) noexcept {
        failedArg_ = static_cast<std::uint32_t>(params_.cArgs - 1 - index);
        hasFailedArg_ = true;
    }
    bool HasFailedArg() const noexcept { return hasFailedArg_; }
    // The position in DISPPARAMS::rgvarg, as IDispatch reports it.
    std::uint32_t FailedArg() const noexcept { return failedArg_; }

private:
    DISPPARAMS& params_;
    VARIANT* result_;
    std::uint32_t failedArg_ = 0;
    bool hasFailedArg_ = false;
};

namespace dispatch_detail {

bool NamesEqual(std::u16string_view a, std::u16string_view b) noexcept;
// With an EXCEPINFO, a member's failure becomes DISP_E_EXCEPTION carrying
// the HRESULT and the thread's error information.
HRESULT ReportFailure(HRESULT hr, bool argumentFailed, EXCEPINFO* exception) noexcept;
// An interface argument as IUnknown (null for Nothing), or a type mismatch.
HRESULT ObjectArgument(const VARIANT& v, IUnknown** object) noexcept;

template <class T>
concept Interface = std::is_class_v<T> && std::is_base_of_v<IUnknown, T>;

template <class T>
constexpr VARTYPE VartypeOf() noexcept {
    if constexpr (std::is_same_v<T, std::int16_t>)
        return VT_I2;
    else if constexpr (std::is_same_v<T, std::int32_t>)
        return VT_I4;
    else if constexpr (std::is_same_v<T, std::uint8_t>)
        return VT_UI1;
    else if constexpr (std::is_same_v<T, float>)
        return VT_R4;
    else if constexpr (std::is_same_v<T, double>)
        return VT_R8;
    else if constexpr (std::is_same_v<T, VARIANT_BOOL>)
        return VT_BOOL;
    else if constexpr (std::is_enum_v<T>)
        return VT_I4;
    else if constexpr (std::is_same_v<T, BSTR>)
        return VT_BSTR;
    else
        static_assert(sizeof(T) == 0, "no VARIANT type for this parameter");
}

template <class T>
T ScalarOf(const VARIANT& v) noexcept {
    if constexpr (std::is_same_v<T, std::int16_t>)
        return v.iVal;
    else if constexpr (std::is_same_v<T, std::int32_t>)
        return v.lVal;
    else if constexpr (std::is_same_v<T, std::uint8_t>)
        return v.bVal;
    else if constexpr (std::is_same_v<T, float>)
        return v.fltVal;
    else if constexpr (std::is_same_v<T, double>)
        return v.dblVal;
    else if constexpr (std::is_same_v<T, VARIANT_BOOL>)
        return v.boolVal;
    else
        return static_cast<T>(v.lVal);
}

template <class T>
void SetScalar(VARIANT& v, T value) noexcept {
    v.vt = VartypeOf<T>();
    if constexpr (std::is_same_v<T, std::int16_t>)
        v.iVal = value;
    else if constexpr (std::is_same_v<T, std::int32_t>)
        v.lVal = value;
    else if constexpr (std::is_same_v<T, std::uint8_t>)
        v.bVal = value;
    else if constexpr (std::is_same_v<T, float>)
        v.fltVal = value;
    else if constexpr (std::is_same_v<T, double>)
        v.dblVal = value;
    else if constexpr (std::is_same_v<T, VARIANT_BOOL>)
        v.boolVal = value;
    else
        v.lVal = static_cast<std::int32_t>(value);
}

// An in parameter of type P, converted from its VARIANT argument.
template <class P>
class InArg {
    using T = std::remove_cvref_t<P>;

public:
    HRESULT Load(const VARIANT* v) {
        if constexpr (std::is_same_v<T, VARIANT>) {
            if (v)
                raw_ = v;
            else
                value_ = Variant::Missing();
            return S_OK;
        } else {
            if (!v) return DISP_E_BADPARAMCOUNT;
            if constexpr (std::is_pointer_v<T> && Interface<std::remove_pointer_t<T>>) {
                using X = std::remove_pointer_t<T>;
                ComPtr<IUnknown> unknown;
                HRESULT hr = ObjectArgument(*v, unknown.ReleaseAndGetAddressOf());
                if (FAILED(hr) || !unknown) return hr;
                if constexpr (std::is_same_v<X, IUnknown>) {
                    object_ = std::move(unknown);
                } else {
                    void* asked = nullptr;
                    if (FAILED(unknown->QueryInterface(X::iid, &asked))) return DISP_E_TYPEMISMATCH;
                    object_.Attach(static_cast<IUnknown*>(static_cast<X*>(asked)));
                }
                return S_OK;
            } else {
                return VariantChangeType(&value_, v, 0, VartypeOf<T>());
            }
        }
    }

    decltype(auto) Get() const noexcept {
        if constexpr (std::is_same_v<T, VARIANT>)
            return static_cast<const VARIANT&>(raw_ ? *raw_ : value_);
        else if constexpr (std::is_pointer_v<T> && Interface<std::remove_pointer_t<T>>)
            return static_cast<T>(object_.Get());
        else if constexpr (std::is_same_v<T, BSTR>)
            return value_.bstrVal;
        else
            return ScalarOf<T>(value_);
    }

private:
    Variant value_;
    const VARIANT* raw_ = nullptr;
    ComPtr<IUnknown> object_;
};

// Storage for a member's result of type T (the pointee of its last parameter).
template <class T>
class OutArg {
public:
    OutArg() = default;
    OutArg(const OutArg&) = delete;
    OutArg& operator=(const OutArg&) = delete;
    ~OutArg() { Free(); }

    T* Address() noexcept { return &value_; }

    // Moves the result into `result` (when the caller wants one), converted
    // to `as` unless that is VT_EMPTY.
    HRESULT Store(VARIANT* result, VARTYPE as) {
        if (!result) return S_OK;
        Variant out;
        if constexpr (std::is_same_v<T, VARIANT>) {
            out.Attach(&value_);
        } else if constexpr (std::is_same_v<T, BSTR>) {
            out.vt = VT_BSTR;
            out.bstrVal = std::exchange(value_, nullptr);
        } else if constexpr (std::is_pointer_v<T> && Interface<std::remove_pointer_t<T>>) {
            if constexpr (std::is_base_of_v<IDispatch, std::remove_pointer_t<T>>) {
                out.vt = VT_DISPATCH;
                out.pdispVal = std::exchange(value_, nullptr);
            } else {
                out.vt = VT_UNKNOWN;
                out.punkVal = std::exchange(value_, nullptr);
            }
        } else {
            SetScalar<T>(out, value_);
        }
        if (as != VT_EMPTY && out.vt != as) {
            const HRESULT hr = out.ChangeType(as);
            if (FAILED(hr)) return hr;
        }
        return out.Detach(result);
    }

private:
    void Free() noexcept {
        if constexpr (std::is_same_v<T, VARIANT>) {
            VariantClear(&value_);
        } else if constexpr (std::is_same_v<T, BSTR>) {
            SysFreeString(std::exchange(value_, nullptr));
        } else if constexpr (std::is_pointer_v<T> && Interface<std::remove_pointer_t<T>>) {
            if (auto* object = std::exchange(value_, nullptr)) object->Release();
        }
    }

    T value_{};
};

// A last parameter T* is the result unless T* is itself an in parameter:
// a BSTR (OLECHAR*) or an interface pointer.
template <class P>
constexpr bool IsResultParameter() noexcept {
    if constexpr (!std::is_pointer_v<P>) {
        return false;
    } else {
        using T = std::remove_cv_t<std::remove_pointer_t<P>>;
        return !std::is_same_v<T, OLECHAR> && (!std::is_class_v<T> || std::is_same_v<T, VARIANT>);
    }
}

template <auto Fn>
struct MemberOf;

template <class C, class... A, HRESULT (C::*Fn)(A...)>
struct MemberOf<Fn> {
    using Class = C;
    using Args = std::tuple<A...>;
    static constexpr std::size_t count = sizeof...(A);
    static constexpr bool hasResult = [] {
        if constexpr (sizeof...(A) == 0)
            return false;
        else
            return IsResultParameter<std::tuple_element_t<sizeof...(A) - 1, Args>>();
    }();
    static constexpr std::size_t inCount = count - (hasResult ? 1 : 0);
};

template <auto Fn, VARTYPE ResultAs, class C, std::size_t... N>
HRESULT CallMember(C& self, DispatchCall& call, std::index_sequence<N...>) {
    using Info = MemberOf<Fn>;
    using Args = typename Info::Args;
    std::tuple<InArg<std::tuple_element_t<N, Args>>...> ins;
    HRESULT hr = S_OK;
    (void)((SUCCEEDED(hr = std::get<N>(ins).Load(call.Arg(N))) || (call.SetFailedArg(N), false)) && ...);
    if (FAILED(hr)) return hr;
    if constexpr (Info::hasResult) {
        using Out = std::remove_pointer_t<std::tuple_element_t<Info::count - 1, Args>>;
        OutArg<Out> out;
        hr = (self.*Fn)(std::get<N>(ins).Get()..., out.Address());
        if (FAILED(hr)) return hr;
        const HRESULT stored = out.Store(call.Result(), ResultAs);
        return FAILED(stored) ? stored : hr;
    } else {
        return (self.*Fn)(std::get<N>(ins).Get()...);
    }
}

template <class I, auto Fn, VARTYPE ResultAs>
HRESULT Thunk(I& self, DispatchCall& call) {
    using Info = MemberOf<Fn>;
    static_assert(std::is_base_of_v<typename Info::Class, I>, "the member belongs to the table's interface");
    if (call.ArgCount() > Info::inCount) return DISP_E_BADPARAMCOUNT;
    return CallMember<Fn, ResultAs>(static_cast<typename Info::Class&>(self), call,
                                    std::make_index_sequence<Info::inCount>{});
}

}  // namespace dispatch_detail

}  // namespace com
