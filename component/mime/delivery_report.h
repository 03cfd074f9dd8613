#pragma once
// Recognising delivery reports (bounces and delay notices) and finding the
// recipient they are about. These are the text-level steps; the message
// object walks its parts and headers and feeds them here.
#include <functional>
#include <string>
#include <string_view>

namespace component::mime {

// Address extraction as the message object does it for header values.
using AddressExtractor = std::function<std::string(std::string_view)>;

// Whether a (lower-cased) sender address belongs to a reporting system.
bool IsReportSender(std::string_view senderLower);
// Whether a Return-Path value is the null reverse-path "<>", which every
// delivery report carries (RFC 5321).
bool IsNullReversePath(std::string_view returnPath);
// The subjects of bounces that name the recipient in their text: "failure
// notice", "Mail delivery failed", "Returned mail:", as written or extended.
bool IsFailureNoticeSubject(std::string_view subject);

// One message/delivery-status body: the recipient of the first per-recipient
// block whose Action holds `marker` ("failed" or "delayed"), or empty.
std::string ScanDeliveryStatusText(std::string_view statusText, std::string_view marker,
                                   const AddressExtractor& extractAddress);

// "failure notice" bounces: the first "<...>" after the permanent-error line
// (or the first empty line).
std::string FailureNoticeRecipient(std::string_view bodyText);

// The "Undeliverable Message:  Delivery report for message to NAME" subject:
// NAME joined with the sender's domain; empty when the subject is another.
std::string DeliveryReportSubjectRecipient(std::string_view subject, std::string_view fromEmail);

// The To field of a returned message's header block, through address extraction.
std::string ReturnedMessageRecipient(std::string_view messageText, const AddressExtractor& extractAddress);

// X-Report-Type "Nondelivery; boundary=\"...\"" reports: the "Error-For:"
// address after the line holding the boundary marker.
std::string NondeliveryRecipient(std::string_view reportType, std::string_view bodyText,
                                 const AddressExtractor& extractAddress);

}  // namespace component::mime
