#pragma once
// The component's numbered errors with their English texts. Searched from
// the top; the order is part of the contract.
#include <cstdint>
#include <span>

namespace component::transport {

struct ErrorTableEntry {
    std::int32_t code;
    const char* text;
};

std::span<const ErrorTableEntry> ErrorTable();
// "Unrecognized error" for a code that is not in the table.
const char* LookupErrorText(std::int32_t code);

}  // namespace component::transport
