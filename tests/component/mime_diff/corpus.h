// The generated corpus: each message's bytes beside the peer's reading of it.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tests/component/mime_diff/flat_json.h"
#include "tests/component/mime_diff/reading.h"

namespace mime_diff {

struct CorpusMessage {
    std::string id;     // "0042"
    std::string bytes;  // the message as stored
    Reading peer;       // the peer's reading
    JsonValue facts;    // the generator's "facts": what the message was made of
};

// Runs tests/component/mime_diff/make_corpus.py (found through
// VELTRANE_SOURCE_DIR) into `dir` and reads every message back, in order.
// Throws std::runtime_error when the generator fails or a file is unreadable.
std::vector<CorpusMessage> generate_corpus(const std::filesystem::path& dir, int count);

}  // namespace mime_diff
