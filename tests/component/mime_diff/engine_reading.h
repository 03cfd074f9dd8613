// What the message model makes of a message, in the peer's terms.
#pragma once

#include <string_view>

#include "tests/component/mime_diff/reading.h"

namespace mime_diff {

// Decoded Subject; From address and display name; Date moved to UTC (the
// model's local time with an offset of 0); PlainText and HTMLText (empty when
// there is none); every detected attachment with the SHA-256 of its saved bytes.
Reading engine_reading(std::string_view message);

}  // namespace mime_diff
