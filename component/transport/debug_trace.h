#pragma once
// The conversation trace that `DebugFile` names. Each write opens the file for
// appending, writes and closes it; a file that cannot be opened is skipped.
// The trace holds passwords, so a new file is readable by its owner only.
#include <cstddef>
#include <string>

namespace component::transport {

void LogRaw(const std::string& path, const void* bytes, std::size_t size);
void LogFormat(const std::string& path, const char* format, ...) __attribute__((format(printf, 2, 3)));

}  // namespace component::transport
