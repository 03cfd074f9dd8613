// The message getters' algorithms over one header list: decoded values,
// address and display name, priority and the Content-Type family. Decoded
// texts are UTF-16 (for BSTR); 8-bit texts are as stored (ANSI).
#pragma once

#include <string>
#include <string_view>

#include "component/mime/header_block.h"
#include "component/mime/mime_enums.h"

namespace component::mime {

// The first header named `name`, unfolded and with its encoded words decoded;
// empty when absent.
std::u16string header_text(const Headers& headers, std::string_view name);
// The first header named `name`, unfolded, 8-bit as written; empty when absent.
std::string header_unfolded(const Headers& headers, std::string_view name);

// Address and display name of a From/To value, taken from the raw value
// before any decoding, so an encoded display name cannot pose as the address.
// `extract_address`: the text in the first <...> outside quotes (else the whole
// value), cut at its first blank; empty without "@". `extract_name`: the text
// before that "<", decoded, without surrounding blanks and quotes; empty when
// it holds "@".
std::u16string extract_address(std::string_view raw_value);
// The same address as 8-bit text (for the delivery-report scanners).
std::string extract_address_bytes(std::string_view raw_value);
std::u16string extract_name(std::string_view raw_value);

PrioritiesEnum priority(const Headers& headers);

// Decoded "Content-Type" cut at its first ";" (ContentTypeOnly).
std::u16string content_type_only(const Headers& headers);
// Lower-cased media type without blanks; "text/plain" when there is no
// Content-Type (RFC 2045 5.2).
std::string media_type(const Headers& headers);

// A parameter of a header value (`param` such as "charset=", searched without
// regard to case after the first ";", so "name=" also finds "filename=").
// Quoted values run to the same quote; others end at ";", white space, CR or
// LF. When the plain form is absent, RFC 2231 forms (attr*=, attr*0=,
// attr*0*= ...) are joined and converted from their charset. Encoded words
// are decoded.
std::u16string header_param(std::string_view raw_value, std::string_view param);
std::u16string content_type_param(const Headers& headers, std::string_view param);
// The plain form's 8-bit value as written, for names such as the charset.
std::string content_type_param_bytes(const Headers& headers, std::string_view param);
// ContentName: "name=", else "filename=".
std::u16string content_name(const Headers& headers);
// The multipart delimiter ("--" + boundary) from the raw Content-Type, or empty
// when the type is not multipart or has no usable boundary.
std::string multipart_delimiter(const Headers& headers);

}  // namespace component::mime
