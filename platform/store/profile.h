#pragma once
// The INI file API of the Windows profile functions, over UTF-8 files.
// Values are read whole (never cut), and every write replaces the file
// atomically under a lock, so a failure leaves the old file as it was. Only
// regular text files (no NUL byte) of at most kMaxFileSize bytes that this
// user may read are read; anything else reads as a missing file and is never
// replaced. Through a symbolic link the
// link's target is read and replaced; the link stays.

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>

#include "platform/store/ini_document.h"

namespace platform::store {

// The key's value, or defaultValue when the file, the section or the key is
// missing or the file cannot be read.
std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue, const std::filesystem::path& file);

// Creates the file and the section as needed and replaces an existing value.
// The folder must exist. A new file gets mode 0600; an existing one keeps its mode.
std::error_code WritePrivateProfileString(std::string_view section, std::string_view key,
                                          std::string_view value, const std::filesystem::path& file);

// The parsed file (empty when missing), never null and shared while the file
// stays the same; ec is set when it exists but cannot be read.
std::shared_ptr<const IniDocument> ReadProfileFile(const std::filesystem::path& file, std::error_code& ec);

// Replaces the whole file by doc in one atomic step; refused with the read's
// error when the file exists but cannot be read.
std::error_code WriteProfileFile(const std::filesystem::path& file, const IniDocument& doc);

}  // namespace platform::store
