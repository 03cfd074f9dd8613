// The places where the message model reads a message differently from the
// peer on purpose. Each rule rewrites the peer's reading into what the model's
// own rule gives for that message; every other difference is a fault.
#pragma once

#include <string>
#include <vector>

#include "tests/component/mime_diff/corpus.h"
#include "tests/component/mime_diff/reading.h"

namespace mime_diff {

enum class Field { subject, from_address, from_name, date, plain, html, attachments };

const char* field_name(Field f) noexcept;

struct AllowedDifference {
    const char* name;
    Field field;
    const char* rule;  // the model's rule, in one sentence
    // Rewrites `expected` when the rule concerns message `m`; true when it
    // changed anything.
    bool (*apply)(const CorpusMessage& m, Reading& expected);
};

// The table, in the order the rules are applied.
const std::vector<AllowedDifference>& allowed_differences();

struct Normalised {
    Reading expected;
    std::vector<const AllowedDifference*> applied;  // the rules that changed something
};

// The peer's reading of `m` with every rule of the table applied.
Normalised normalise(const CorpusMessage& m);

}  // namespace mime_diff
