#include "component/mime/received_parser.h"

#include <algorithm>
#include <array>

namespace component::mime {
namespace {

// Nested comments of a hostile line must not recurse without bound; real
// trace lines nest two or three deep.
constexpr int kMaxCommentDepth = 8;

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

// The text with a blank on each side, so markers at its ends are found too.
std::string Padded(std::string_view s) {
    std::string out;
    out.reserve(s.size() + 2);
    out += ' ';
    out.append(s);
    out += ' ';
    return out;
}

bool IsDigitsAndDots(std::string_view s) {
    return !s.empty() &&
           std::all_of(s.begin(), s.end(), [](char c) { return (c >= '0' && c <= '9') || c == '.'; });
}

// The inside of a "(..." or "[..." token, up to the first closing character.
std::string_view Inside(std::string_view token, char close) {
    token.remove_prefix(1);
    const auto end = token.find(close);
    return end == std::string_view::npos ? token : token.substr(0, end);
}

void ParseFromPart(std::string_view clause, ReceivedFields& f, int depth) {
    if (depth > kMaxCommentDepth) return;
    for (const std::string& raw : TokenizeReceived(clause)) {
        const std::string_view token = TrimBlanks(raw);
        if (token.empty()) continue;
        if (token.front() == '(') {
            ParseFromPart(Inside(token, ')'), f, depth + 1);
        } else if (token.front() == '[') {
            ParseFromPart(Inside(token, ']'), f, depth + 1);
        } else if (IsDigitsAndDots(token)) {
            if (f.fromIP.empty()) f.fromIP = token;
        } else if (f.fromHost.empty()) {
            f.fromHost = token;
        }
    }
}

void ParseByPart(std::string_view clause, ReceivedFields& f) {
    const std::string work = Padded(clause);
    const std::size_t with = FindStrOutsideBrackets(work, " with ");
    const std::string_view before = std::string_view(work).substr(0, with);
    for (const std::string& raw : TokenizeReceived(before)) {
        const std::string_view token = TrimBlanks(raw);
        if (token.empty()) continue;
        if (token.front() == '(') {
            ParseFromPart(Inside(token, ')'), f, 1);
        } else if (token.front() == '[') {
            ParseFromPart(Inside(token, ']'), f, 1);
        } else if (IsDigitsAndDots(token)) {
            if (f.toIP.empty()) f.toIP = token;
        } else if (f.toHost.empty()) {
            f.toHost = token;
        }
    }
    if (with != std::string::npos) {
        const auto after = TokenizeReceived(std::string_view(work).substr(with + 6), 1);
        if (!after.empty()) f.protocol = after.front();
    }
}

}  // namespace

std::string UnfoldReceived(std::string_view rawValue) {
    std::string out;
    out.reserve(rawValue.size());
    // Lines end at LF with one CR before it dropped; joining them with
    // nothing keeps the continuation's own leading blank.
    while (!rawValue.empty()) {
        const auto lf = rawValue.find('\n');
        std::string_view line = rawValue.substr(0, lf);
        if (lf != std::string_view::npos && !line.empty() && line.back() == '\r') line.remove_suffix(1);
        out.append(line);
        if (lf == std::string_view::npos) break;
        rawValue.remove_prefix(lf + 1);
    }
    std::replace(out.begin(), out.end(), '\t', ' ');
    return out;
}

std::size_t FindStrOutsideBrackets(std::string_view text, std::string_view what) {
    if (what.empty()) return std::string_view::npos;
    bool inBracket = false;
    bool inParen = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (!inBracket && !inParen && c == what.front() && text.substr(i, what.size()) == what) return i;
        if (c == '[')
            inBracket = true;
        else if (c == ']')
            inBracket = false;
        else if (c == '(')
            inParen = true;
        else if (c == ')')
            inParen = false;
    }
    return std::string_view::npos;
}

std::vector<std::string> TokenizeReceived(std::string_view text, std::size_t maxTokens) {
    std::vector<std::string> tokens;
    std::string current;
    int parens = 0;
    int brackets = 0;
    bool quoted = false;
    auto finish = [&] {
        if (!current.empty() && tokens.size() < maxTokens) tokens.push_back(std::move(current));
        current.clear();
    };
    for (const char c : text) {
        if (tokens.size() >= maxTokens) break;
        if (quoted) {
            if (c == '"') {
                quoted = false;
                finish();
            } else {
                current += c;
            }
            continue;
        }
        if (parens > 0) {
            current += c;
            if (c == '(')
                ++parens;
            else if (c == ')')
                --parens;
            continue;
        }
        if (brackets > 0) {
            current += c;
            if (c == '[')
                ++brackets;
            else if (c == ']')
                --brackets;
            continue;
        }
        switch (c) {
            case ' ':
                finish();
                break;
            case '"':
                quoted = true;
                break;
            case '(':
                ++parens;
                current += c;
                break;
            case '[':
                ++brackets;
                current += c;
                break;
            default:
                current += c;
                break;
        }
    }
    finish();
    return tokens;
}

ReceivedFields ParseReceivedLine(std::string_view fullLine) {
    const std::string work = Padded(fullLine);
    struct Marker {
        std::string_view text;
        std::size_t at;
    };
    std::array<Marker, 4> markers{{{" from ", 0}, {" by ", 0}, {" for ", 0}, {";", 0}}};
    for (Marker& m : markers) m.at = FindStrOutsideBrackets(work, m.text);

    // Each marker's first character ends the clause before it; a clause runs
    // from just after its marker to the next cut, whatever order they have.
    auto clause = [&](const Marker& m) -> std::string_view {
        const std::size_t start = m.at + m.text.size();
        std::size_t end = work.size();
        for (const Marker& other : markers)
            if (other.at != std::string::npos && other.at >= start) end = std::min(end, other.at);
        return TrimBlanks(std::string_view(work).substr(start, end - start));
    };

    ReceivedFields f;
    if (markers[0].at != std::string::npos) ParseFromPart(clause(markers[0]), f, 0);
    if (markers[1].at != std::string::npos) ParseByPart(clause(markers[1]), f);
    if (markers[2].at != std::string::npos) {
        f.hasFor = true;
        f.forClause = clause(markers[2]);
    }
    if (markers[3].at != std::string::npos) {
        f.hasDate = true;
        f.dateClause = clause(markers[3]);
    }
    return f;
}

}  // namespace component::mime
