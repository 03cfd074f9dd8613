#pragma once
// CBstrA: an interface string (BSTR, may be null) with an 8-bit copy in the
// component's code page, made when first asked for.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/com/bstr.h"

namespace component::transport {

class CBstrA {
public:
    CBstrA() = default;
    explicit CBstrA(std::u16string_view wide) : bstr(wide) {}
    // 8-bit text in the component's code page.
    explicit CBstrA(std::string_view ansi);
    // Copies the interface string only; the copy makes its own 8-bit text.
    CBstrA(const CBstrA& other) : bstr(other.bstr) {}
    CBstrA& operator=(const CBstrA& other);
    CBstrA(CBstrA&&) noexcept = default;
    CBstrA& operator=(CBstrA&&) noexcept = default;
    ~CBstrA();

    // A new 8-bit copy of the current string.
    const std::string& ToAnsi();
    // The 8-bit copy, made on first use.
    const std::string& GetAnsi();
    // Replaces the string by the UTF-8 decoding of exactly `size` bytes.
    CBstrA& FromUtf8(const char* bytes, std::size_t size);

    com::BSTR Get() const { return bstr.Get(); }
    std::u16string_view View() const { return bstr.View(); }
    bool IsNull() const { return bstr.IsNull(); }

private:
    void DropAnsi();

    com::Bstr bstr;
    std::optional<std::string> ansi;
};

}  // namespace component::transport
