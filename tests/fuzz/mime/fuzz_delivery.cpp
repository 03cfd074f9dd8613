// The delivery-report scans over arbitrary report bodies and headers.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "component/mime/delivery_report.h"
#include "component/mime/header_values.h"

using namespace component::mime;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const AddressExtractor extract = [](std::string_view s) { return extract_address_bytes(s); };
    // The first line plays the header value, the rest the report's text.
    const auto lf = bytes.find('\n');
    const std::string_view head = bytes.substr(0, lf);
    const std::string_view body = lf == std::string_view::npos ? std::string_view{} : bytes.substr(lf + 1);
    (void)IsReportSender(head);
    for (const char* marker : {"failed", "delayed"})
        if (ScanDeliveryStatusText(body, marker, extract).size() > body.size()) __builtin_trap();
    (void)FailureNoticeRecipient(body);
    (void)DeliveryReportSubjectRecipient(head, body);
    (void)ReturnedMessageRecipient(body, extract);
    (void)NondeliveryRecipient(head, body, extract);
    return 0;
}
