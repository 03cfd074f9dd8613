#pragma once
// A file's bytes read or written directly, bypassing the store under test.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

inline std::string Slurp(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

inline void WriteRaw(const std::filesystem::path& p, std::string_view text) {
    std::ofstream(p, std::ios::binary) << text;
}
