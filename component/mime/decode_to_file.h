// Decoding (or copying) a byte range into a file, for attachment Save,
// message Save and the stand-alone decoder. The output is written to a new
// file beside the destination and renamed over it only when complete, so a
// failure never leaves a half-written or emptied destination, and saving onto
// the very file being read is safe. A symbolic link is followed (the target
// is replaced, the link stays); a destination that is not a regular file (a
// device, a FIFO with a reader) is written straight into.
#pragma once

#include <string>
#include <string_view>

#include "component/mime/mime_enums.h"
#include "component/mime/transfer_decoder.h"

namespace component::mime {

enum class SaveStatus {
    ok,
    no_destination,    // empty destination name
    unknown_encoding,  // encoding outside 1..5
    output_failed,     // the destination (or its folder) cannot be written
};

struct SaveResult {
    SaveStatus status = SaveStatus::ok;
    DecodeError decode = DecodeError::none;  // the decoder's verdict on the data
};

// Decodes `range` with `encoding` into `destination` (enc7BIT copies).
SaveResult decode_to_file(std::string_view range, AttachmentEncodingsEnum encoding,
                          const std::string& destination);

}  // namespace component::mime
