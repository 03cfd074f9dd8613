#pragma once
// Counts of the message list's rows, recounted by every fill and read by the
// status bar's tool tips.
#include <cstdint>

namespace forms {

// Rows not new, not marked for deletion, not spam, with an attachment.
extern int16_t gAttachTally;
// Rows marked for deletion with an attachment, new or not.
extern int16_t gDeleteAttachTally;
// Rows new, not marked for deletion, not spam, with an attachment.
extern int16_t gAttachNewTally;

}  // namespace forms
