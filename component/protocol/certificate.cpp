#include "component/protocol/certificate.h"
#include "component/protocol/exception_barrier.h"
#include "component/protocol/out_params.h"

#include <openssl/bio.h>
#include <openssl/bn.h>
#include <openssl/err.h>
#include <openssl/pem.h>

#include <map>
#include <mutex>

#include "component/transport/error_table.h"
#include "component/transport/pem_readers.h"
#include "platform/text/code_page.h"

namespace component::protocol {

using com::BSTR;
using com::E_FAIL;
using com::E_POINTER;
using com::HRESULT;
using com::S_OK;

namespace {

// Handle -> context, so that a Handle put on another object finds the same
// certificate while any object still holds it.
struct HandleTable {
    std::mutex lock;
    std::map<std::int32_t, std::weak_ptr<CertContext>> entries;
    std::int32_t next = 1;
};

HandleTable& Handles() {
    static HandleTable table;
    return table;
}

std::string FromBio(BIO* bio) {
    char* data = nullptr;
    const long n = BIO_get_mem_data(bio, &data);
    return n > 0 ? std::string(data, static_cast<std::size_t>(n)) : std::string();
}

std::string NameText(const X509_NAME* name) {
    std::unique_ptr<BIO, decltype(&BIO_free)> bio(BIO_new(BIO_s_mem()), &BIO_free);
    if (!bio || X509_NAME_print_ex(bio.get(), name, 0, XN_FLAG_RFC2253) < 0) return {};
    return FromBio(bio.get());
}

// Hands the caller's pass phrase to the PEM reader; with none it answers
// 0, which fails the read instead of asking on the terminal.
std::string TextOf(BSTR value) { return text::ToAnsi(std::u16string(com::BstrView(value))); }

HRESULT DateOf(const ASN1_TIME* time, com::DATE* value) {
    if (value == nullptr) return E_POINTER;
    std::tm tm{};
    if (time == nullptr || ASN1_TIME_to_tm(time, &tm) != 1) return E_FAIL;
    com::DateParts parts;
    parts.year = tm.tm_year + 1900;
    parts.month = tm.tm_mon + 1;
    parts.day = tm.tm_mday;
    parts.hour = tm.tm_hour;
    parts.minute = tm.tm_min;
    parts.second = tm.tm_sec;
    const auto date = com::OleDateFromParts(parts);
    if (!date) return E_FAIL;
    *value = *date;
    return S_OK;
}

}  // namespace

CertContext::CertContext(openssl::X509Ptr cert, openssl::PkeyPtr key)
    : certificate(std::move(cert)), privateKey(std::move(key)) {
    HandleTable& table = Handles();
    const std::lock_guard hold(table.lock);
    handle = table.next++;
    if (table.next <= 0) table.next = 1;
}

CertContext::~CertContext() {
    {
        HandleTable& table = Handles();
        const std::lock_guard hold(table.lock);
        table.entries.erase(handle);
    }
}

namespace {

std::shared_ptr<CertContext> Register(openssl::X509Ptr cert, openssl::PkeyPtr key) {
    auto context = std::make_shared<CertContext>(std::move(cert), std::move(key));
    HandleTable& table = Handles();
    const std::lock_guard hold(table.lock);
    table.entries[context->handle] = context;
    return context;
}

}  // namespace

com::ComPtr<CCertificate> CCertificate::FromX509(X509* cert) {
    auto object = com::MakeComObject<CCertificate>();
    if (!object || cert == nullptr) return object;
    X509_up_ref(cert);
    object->context = Register(openssl::X509Ptr(cert), nullptr);
    return object;
}

HRESULT CCertificate::InterfaceSupportsErrorInfo(const com::IID& iid) {
    return iid == ICertificate::iid ? S_OK : com::S_FALSE;
}

HRESULT CCertificate::Fail(std::int32_t code) {
    com::SetErrorInfoText(ICertificate::iid, qelpop3::kCertificateProgId,
                          text::FromAnsi(transport::LookupErrorText(code)));
    return com::CtlError(static_cast<std::uint16_t>(code));
}

HRESULT CCertificate::get_Data(BSTR* value) try {
    if (value == nullptr) return E_POINTER;
    if (!context) return Fail(errNoCertificate);
    std::unique_ptr<BIO, decltype(&BIO_free)> bio(BIO_new(BIO_s_mem()), &BIO_free);
    if (!bio || PEM_write_bio_X509(bio.get(), context->certificate.get()) != 1) return E_FAIL;
    return CopyAnsi(FromBio(bio.get()), value);
} catch (...) {
    return ExceptionResult();
}

HRESULT CCertificate::get_PrivateKey(BSTR* value) try {
    if (value == nullptr) return E_POINTER;
    if (!context || context->privateKey == nullptr) return E_FAIL;
    std::unique_ptr<BIO, decltype(&BIO_free)> bio(BIO_new(BIO_s_mem()), &BIO_free);
    if (!bio || PEM_write_bio_PrivateKey(bio.get(), context->privateKey.get(), nullptr, nullptr, 0, nullptr,
                                         nullptr) != 1)
        return E_FAIL;
    std::string pem = FromBio(bio.get());
    const HRESULT hr = CopyAnsi(pem, value);
    OPENSSL_cleanse(pem.data(), pem.size());
    return hr;
} catch (...) {
    return ExceptionResult();
}

HRESULT CCertificate::get_HasPrivateKey(com::VARIANT_BOOL* value) try {
    return CopyValue(com::ToVariantBool(context && context->privateKey != nullptr), value);
} catch (...) {
    return ExceptionResult();
}

HRESULT CCertificate::get_Handle(std::int32_t* value) try {
    return CopyValue(context ? context->handle : 0, value);
} catch (...) {
    return ExceptionResult();
}

HRESULT CCertificate::put_Handle(std::int32_t value) try {
    if (value == 0) {
        context.reset();
        return S_OK;
    }
    std::shared_ptr<CertContext> found;
    {
        HandleTable& table = Handles();
        const std::lock_guard hold(table.lock);
        const auto it = table.entries.find(value);
        if (it != table.entries.end()) found = it->second.lock();
    }
    if (!found) return com::E_INVALIDARG;
    context = std::move(found);
    return S_OK;
} catch (...) {
    return ExceptionResult();
}

HRESULT CCertificate::get_Subject(BSTR* value) try {
    if (value == nullptr) return E_POINTER;
    if (!context) return Fail(errNoCertificate);
    return CopyAnsi(NameText(X509_get_subject_name(context->certificate.get())), value);
} catch (...) {
    return ExceptionResult();
}

HRESULT CCertificate::get_Issuer(BSTR* value) try {
    if (value == nullptr) return E_POINTER;
    if (!context) return Fail(errNoCertificate);
    return CopyAnsi(NameText(X509_get_issuer_name(context->certificate.get())), value);
} catch (...) {
    return ExceptionResult();
}

HRESULT CCertificate::get_ValidFrom(com::DATE* value) try {
    if (!context) return Fail(errNoCertificate);
    return DateOf(X509_get0_notBefore(context->certificate.get()), value);
} catch (...) {
    return ExceptionResult();
}

HRESULT CCertificate::get_ValidTo(com::DATE* value) try {
    if (!context) return Fail(errNoCertificate);
    return DateOf(X509_get0_notAfter(context->certificate.get()), value);
} catch (...) {
    return ExceptionResult();
}

HRESULT CCertificate::get_SerialNumber(BSTR* value) try {
    if (value == nullptr) return E_POINTER;
    if (!context) return Fail(errNoCertificate);
    std::unique_ptr<BIGNUM, decltype(&BN_free)> bn(
        ASN1_INTEGER_to_BN(X509_get0_serialNumber(context->certificate.get()), nullptr), &BN_free);
    if (!bn) return E_FAIL;
    char* hex = BN_bn2hex(bn.get());
    if (hex == nullptr) return com::E_OUTOFMEMORY;
    const std::string text(hex);
    OPENSSL_free(hex);
    return CopyAnsi(text, value);
} catch (...) {
    return ExceptionResult();
}

HRESULT CCertificate::Load(BSTR Certificate, BSTR PrivateKey, BSTR PassPhrase) try {
    openssl::X509Ptr cert = openssl::ReadPemCertificate(TextOf(Certificate));
    if (!cert) return Fail(errCertificateImport);
    std::string keyText = TextOf(PrivateKey);
    std::string phrase = TextOf(PassPhrase);
    openssl::PkeyPtr key;
    if (!keyText.empty()) {
        key = openssl::ReadPemPrivateKey(keyText, phrase);
        if (!key || X509_check_private_key(cert.get(), key.get()) != 1) {
            key.reset();
            cert.reset();
        }
        ERR_clear_error();
    }
    OPENSSL_cleanse(keyText.data(), keyText.size());
    OPENSSL_cleanse(phrase.data(), phrase.size());
    if (!cert) return Fail(errPrivateKeyImport);
    context = Register(std::move(cert), std::move(key));
    return S_OK;
} catch (...) {
    return ExceptionResult();
}

namespace {

using T = com::DispatchTable<ICertificate>;
using I = ICertificate;

const T kTable{
    T::Get<&I::get_Data>(u"Data", DISPID_Certificate_Data),
    T::Get<&I::get_PrivateKey>(u"PrivateKey", DISPID_Certificate_PrivateKey),
    T::Get<&I::get_HasPrivateKey>(u"HasPrivateKey", DISPID_Certificate_HasPrivateKey),
    T::Get<&I::get_Handle>(u"Handle", DISPID_Certificate_Handle),
    T::Put<&I::put_Handle>(u"Handle", DISPID_Certificate_Handle),
    T::Get<&I::get_Subject>(u"Subject", DISPID_Certificate_Subject),
    T::Get<&I::get_Issuer>(u"Issuer", DISPID_Certificate_Issuer),
    T::Get<&I::get_ValidFrom>(u"ValidFrom", DISPID_Certificate_ValidFrom),
    T::Get<&I::get_ValidTo>(u"ValidTo", DISPID_Certificate_ValidTo),
    T::Get<&I::get_SerialNumber>(u"SerialNumber", DISPID_Certificate_SerialNumber),
    T::Method<&I::Load>(u"Load", DISPID_Certificate_Load),
};

}  // namespace

const com::DispatchTable<ICertificate>& CCertificate::GetDispatchTable() const { return kTable; }

}  // namespace component::protocol
