#pragma once
// The POP3 line rules of the session: reply status, the greeting's APOP time
// stamp, LIST and UIDL scan lines, data-line unstuffing, the APOP digest.
#include <cstdint>
#include <string>
#include <string_view>

namespace component::protocol {

// "+OK" or "-ERR" at the start of a line of at least three bytes.
bool IsPositiveReply(std::string_view line);
bool IsNegativeReply(std::string_view line);
// What follows "-ERR " of a negative line; empty when nothing follows.
std::string ReplyText(std::string_view line);
// The end of a multi-line reply.
inline bool IsEndOfData(std::string_view line) { return line == "."; }
// A data line as stored: one leading "." removed (RFC 1939 byte-stuffing).
std::string_view UnstuffDataLine(std::string_view line);

// The text from the first "<" through the first ">" after it; empty when the
// greeting carries no such pair.
std::string FindApopTimestamp(std::string_view greeting);
// The message count of a STAT reply "+OK nn mm": false when the line is not
// positive or no digits follow its first run of blanks.
bool ParseStatCount(std::string_view line, std::uint32_t& count);
// The size of a LIST scan line: the digits after the first run of blanks; 0
// when the line has no blank or no digits there.
std::int32_t ParseListSize(std::string_view line);
// A UIDL scan line "n uid": false when the line holds no blank.
bool ParseUidlLine(std::string_view line, std::uint64_t& number, std::string& uid);
// 32 lowercase hexadecimal digits of MD5(timestamp + password).
std::string ApopDigest(std::string_view timestamp, std::string_view password);
// A text that would break out of a command line: CR, LF or NUL in it.
bool HasCommandBreak(std::string_view text);

}  // namespace component::protocol
