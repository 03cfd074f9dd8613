// A small JSON reader for the expectation files the corpus generator writes:
// objects, arrays, strings (with \u escapes and surrogate pairs), integers,
// true/false and null. Strings come out as UTF-8.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mime_diff {

class JsonValue {
public:
    enum class Kind { null, boolean, number, string, array, object };

    Kind kind() const noexcept { return kind_; }
    bool is_null() const noexcept { return kind_ == Kind::null; }

    // Typed access; a value of another kind throws std::runtime_error naming `what`.
    const std::string& str(std::string_view what = "value") const;
    std::int64_t integer(std::string_view what = "value") const;
    bool boolean(std::string_view what = "value") const;
    const std::vector<JsonValue>& items(std::string_view what = "value") const;
    // The member `key` of an object; throws when absent.
    const JsonValue& at(std::string_view key) const;
    bool has(std::string_view key) const;

    // Parses a whole document; throws std::runtime_error with the byte offset on error.
    static JsonValue parse(std::string_view text);

private:
    friend class JsonParser;
    Kind kind_ = Kind::null;
    bool bool_ = false;
    std::int64_t number_ = 0;
    std::string string_;
    std::vector<JsonValue> items_;
    std::map<std::string, JsonValue, std::less<>> members_;
};

}  // namespace mime_diff
