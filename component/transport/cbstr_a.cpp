#include "component/transport/cbstr_a.h"

#include <openssl/crypto.h>

#include "platform/text/code_page.h"
#include "platform/text/utf8.h"

namespace component::transport {

namespace {

const std::string kEmpty;

}  // namespace

CBstrA::CBstrA(std::string_view text8) : bstr(text::FromAnsi(text8)) {}

CBstrA& CBstrA::operator=(const CBstrA& other) {
    if (this != &other) {
        DropAnsi();
        bstr = other.bstr;
    }
    return *this;
}

CBstrA::~CBstrA() { DropAnsi(); }

void CBstrA::DropAnsi() {
    // The copy may hold a password: wiped before it is freed.
    if (ansi && !ansi->empty()) OPENSSL_cleanse(ansi->data(), ansi->size());
    ansi.reset();
}

const std::string& CBstrA::ToAnsi() {
    DropAnsi();
    std::string converted = text::ToAnsi(bstr.View());
    if (converted.empty()) return kEmpty;
    ansi = std::move(converted);
    return *ansi;
}

const std::string& CBstrA::GetAnsi() { return ansi ? *ansi : ToAnsi(); }

CBstrA& CBstrA::FromUtf8(const char* bytes, std::size_t size) {
    DropAnsi();
    bstr = com::Bstr(text::FromUtf8(std::string_view(bytes, size)));
    return *this;
}

}  // namespace component::transport
