#pragma once
// The tolerant splitter behind a message's "Received" records: it takes the
// trace line apart into hosts, addresses, protocol, recipient and date text.
// Mail servers write these lines in many shapes, so nothing here rejects
// input; what cannot be recognised is simply left empty.
#include <string>
#include <string_view>
#include <vector>

namespace component::mime {

struct ReceivedFields {
    std::string fromHost;
    std::string fromIP;
    std::string toHost;
    std::string toIP;
    std::string protocol;
    std::string forClause;   // text after " for ", before address extraction
    std::string dateClause;  // text after ";", before date parsing
    bool hasFor = false;
    bool hasDate = false;
};

// A raw header value as one line: line breaks dropped (the continuation's
// leading white space stays), every TAB turned into a blank.
std::string UnfoldReceived(std::string_view rawValue);

// Splits an unfolded line into its clauses and fields.
ReceivedFields ParseReceivedLine(std::string_view fullLine);

// Blank-separated tokens outside quotes, parentheses and brackets; quoted
// tokens lose their quotes. At most `maxTokens`; later ones are ignored.
std::vector<std::string> TokenizeReceived(std::string_view text, std::size_t maxTokens = 100);

// First position of `what` whose first character lies outside [..] and (..)
// (no nesting in this search); npos when absent.
std::size_t FindStrOutsideBrackets(std::string_view text, std::string_view what);

}  // namespace component::mime
