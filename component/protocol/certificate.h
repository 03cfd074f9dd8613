#pragma once
// CCertificate: a certificate, with its private key when it has one, as a
// COM object. The component makes one for each server certificate it shows
// to the client; a client makes one (by CLSID_Certificate) to load its own
// certificate and key from PEM text.
#include <cstdint>
#include <memory>
#include <string>

#include "component/transport/openssl_types.h"
#include "platform/com/com_class.h"
#include "platform/com/dispatch_table.h"
#include "platform/com/error_info.h"
#include "qelpop3/qelpop3.h"

namespace component::protocol {

// One certificate and its optional key, shared by every object whose Handle
// names it.
struct CertContext {
    CertContext(openssl::X509Ptr cert, openssl::PkeyPtr key);
    ~CertContext();
    CertContext(const CertContext&) = delete;
    CertContext& operator=(const CertContext&) = delete;
    openssl::X509Ptr certificate;
    openssl::PkeyPtr privateKey;  // null when none
    std::int32_t handle;          // process-wide, never 0
};

class CCertificate final : public com::ComClass<com::DispatchImpl<ICertificate>, com::ISupportErrorInfo> {
public:
    CCertificate() = default;

    // A new object presenting `cert` (its reference is added, not taken).
    static com::ComPtr<CCertificate> FromX509(X509* cert);

    com::HRESULT InterfaceSupportsErrorInfo(const com::IID& iid) override;

    com::HRESULT get_Data(com::BSTR* value) override;
    com::HRESULT get_PrivateKey(com::BSTR* value) override;
    com::HRESULT get_HasPrivateKey(com::VARIANT_BOOL* value) override;
    com::HRESULT get_Handle(std::int32_t* value) override;
    com::HRESULT put_Handle(std::int32_t value) override;
    com::HRESULT get_Subject(com::BSTR* value) override;
    com::HRESULT get_Issuer(com::BSTR* value) override;
    com::HRESULT get_ValidFrom(com::DATE* value) override;
    com::HRESULT get_ValidTo(com::DATE* value) override;
    com::HRESULT get_SerialNumber(com::BSTR* value) override;
    com::HRESULT Load(com::BSTR Certificate, com::BSTR PrivateKey, com::BSTR PassPhrase) override;

protected:
    const com::DispatchTable<ICertificate>& GetDispatchTable() const override;

private:
    com::HRESULT Fail(std::int32_t code);
    std::shared_ptr<CertContext> context;
};

}  // namespace component::protocol
