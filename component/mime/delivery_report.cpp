#include "component/mime/delivery_report.h"

#include <array>

#include "component/mime/header_block.h"
#include "platform/text/ascii_case.h"

namespace component::mime {
namespace {

using text::FindNoCase;
using text::StartsWithNoCase;

// Calls `f` for every line of `text` (LF ends a line, one CR before it is
// dropped) until it returns false.
template <typename F>
void ForEachLine(std::string_view text, F&& f) {
    while (!text.empty()) {
        const auto lf = text.find('\n');
        std::string_view line = text.substr(0, lf);
        if (lf != std::string_view::npos && !line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!f(line)) return;
        if (lf == std::string_view::npos) return;
        text.remove_prefix(lf + 1);
    }
}

// A field value from a fixed offset; a line shorter than the offset has an
// empty value rather than a read past its end.
std::string_view From(std::string_view line, std::size_t offset) {
    return offset < line.size() ? line.substr(offset) : std::string_view{};
}

std::string_view SkipBlanks(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    return s;
}

std::string_view UpToBlank(std::string_view s) { return s.substr(0, s.find(' ')); }

// "rfc822; a@b" -> "a@b": after the ";" when there is one, blanks skipped,
// cut at the next blank.
std::string RecipientValue(std::string_view value, const AddressExtractor& extractAddress) {
    const auto semi = value.find(';');
    if (semi != std::string_view::npos) value.remove_prefix(semi + 1);
    return extractAddress(UpToBlank(SkipBlanks(value)));
}

}  // namespace

bool IsNullReversePath(std::string_view returnPath) {
    std::string compact;
    for (const char c : returnPath)
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n') compact.push_back(c);
    return compact == "<>";
}

bool IsFailureNoticeSubject(std::string_view subject) {
    // Real servers extend these forms ("Mail delivery failed: returning
    // message to sender", "Returned mail: see transcript for details").
    for (const std::string_view form : {"failure notice", "mail delivery failed", "returned mail:"})
        if (StartsWithNoCase(subject, form)) return true;
    return false;
}

bool IsReportSender(std::string_view sender) {
    static constexpr std::array<std::string_view, 5> kPrefixes{"mailer-daemon@", "postmaster@",
                                                               "administrator@", "mdaemon@", "mailrelay@"};
    for (const auto prefix : kPrefixes)
        if (sender.substr(0, prefix.size()) == prefix) return true;
    const auto at = sender.find('@');
    return sender.substr(0, at).find("virus") != std::string_view::npos;
}

std::string ScanDeliveryStatusText(std::string_view statusText, std::string_view marker,
                                   const AddressExtractor& extractAddress) {
    // RFC 3464: per-message fields, then one block per recipient, blocks
    // separated by empty lines. An Action belongs to its own block's
    // recipient, so a report that lists A delivered and B failed names B.
    std::string recipient;
    bool actionMatches = false;
    std::string result;
    auto closeBlock = [&] {
        if (result.empty() && actionMatches && !recipient.empty()) result = recipient;
        recipient.clear();
        actionMatches = false;
    };
    ForEachLine(statusText, [&](std::string_view line) {
        if (line.empty()) {
            closeBlock();
        } else if (StartsWithNoCase(line, "action")) {
            if (FindNoCase(From(line, 7), marker) != std::string_view::npos) actionMatches = true;
        } else if (StartsWithNoCase(line, "final-recipient")) {
            if (recipient.empty()) recipient = RecipientValue(From(line, 16), extractAddress);
        } else if (StartsWithNoCase(line, "x-actual-recipient")) {
            std::string actual = RecipientValue(From(line, 19), extractAddress);
            if (!actual.empty()) recipient = std::move(actual);
        }
        return result.empty();
    });
    closeBlock();
    return result;
}

std::string FailureNoticeRecipient(std::string_view bodyText) {
    bool pastIntro = false;
    std::string result;
    ForEachLine(bodyText, [&](std::string_view line) {
        if (!pastIntro) {
            pastIntro = line.empty() || line.substr(0, 25) == "This is a permanent error";
            return true;
        }
        const auto open = line.find('<');
        if (open == std::string_view::npos) return true;
        const auto close = line.find('>', open + 1);
        if (close == std::string_view::npos) return true;
        result = line.substr(open + 1, close - open - 1);
        return false;
    });
    return result;
}

std::string DeliveryReportSubjectRecipient(std::string_view subject, std::string_view fromEmail) {
    constexpr std::string_view kPrefix = "Undeliverable Message:  Delivery report for message to ";
    const auto at = fromEmail.find('@');
    if (subject.substr(0, kPrefix.size()) != kPrefix || at == std::string_view::npos) return {};
    return std::string(subject.substr(kPrefix.size())) + std::string(fromEmail.substr(at));
}

std::string ReturnedMessageRecipient(std::string_view messageText, const AddressExtractor& extractAddress) {
    // Only the returned message's own header block counts: a "To:" line in
    // its body (a quoted or forwarded message) names someone else.
    const Headers headers = parse_header_block(messageText).headers;
    const Header* to = find_header(headers, "To");
    return to != nullptr ? extractAddress(SkipBlanks(unfold(to->value))) : std::string();
}

std::string NondeliveryRecipient(std::string_view reportType, std::string_view bodyText,
                                 const AddressExtractor& extractAddress) {
    constexpr std::string_view kKey = "Nondelivery; boundary=\"";
    const auto key = reportType.find(kKey);
    if (key == std::string_view::npos) return {};
    std::string_view marker = reportType.substr(key + kKey.size());
    marker = marker.substr(0, marker.find('"'));
    bool found = false;
    std::string result;
    ForEachLine(bodyText, [&](std::string_view line) {
        if (line.empty()) return true;
        if (!found) found = line.find(marker) != std::string_view::npos;
        if (!found) return true;
        const auto at = FindNoCase(line, "error-for:");
        if (at != std::string_view::npos)
            result = extractAddress(UpToBlank(SkipBlanks(line.substr(at + 10))));
        return result.empty();
    });
    return result;
}

}  // namespace component::mime
