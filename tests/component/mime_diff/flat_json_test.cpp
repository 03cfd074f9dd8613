#include "tests/component/mime_diff/flat_json.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace mime_diff {
namespace {

TEST(FlatJson, ReadsStringsAsUtf8) {
    const struct {
        const char* name;
        const char* json;
        std::string text;
    } cases[] = {
        {"plain", R"("abc")", "abc"},
        {"escapes", R"("a\"b\\c\/d\r\n\t")", "a\"b\\c/d\r\n\t"},
        {"two-byte", R"("caf\u00e9")", "caf\xC3\xA9"},
        {"three-byte", R"("\u20ac")", "\xE2\x82\xAC"},
        {"surrogate pair", R"("\ud83d\ude00!")", "\xF0\x9F\x98\x80!"},
        {"unpaired surrogate", R"("\udcc3x")", "\xEF\xBF\xBDx"},
        {"raw UTF-8 kept", "\"\xC3\xA9\"", "\xC3\xA9"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(JsonValue::parse(c.json).str(), c.text);
    }
}

TEST(FlatJson, ReadsTheCorpusShape) {
    const JsonValue v = JsonValue::parse(
        R"({"subject": "s", "date_utc": -86400, "none": null, "ok": true, "no": false,
            "attachments": [{"name": "a", "size": 3}, {"name": "b", "size": 0}], "empty": {}, "list": []})");
    EXPECT_EQ(v.at("subject").str(), "s");
    EXPECT_EQ(v.at("date_utc").integer(), -86400);
    EXPECT_TRUE(v.at("none").is_null());
    EXPECT_TRUE(v.at("ok").boolean());
    EXPECT_FALSE(v.at("no").boolean());
    ASSERT_EQ(v.at("attachments").items().size(), 2u);
    EXPECT_EQ(v.at("attachments").items()[1].at("name").str(), "b");
    EXPECT_FALSE(v.has("missing"));
    EXPECT_TRUE(v.at("list").items().empty());
    EXPECT_THROW(v.at("missing"), std::runtime_error);
    EXPECT_THROW(v.at("subject").integer(), std::runtime_error);
}

TEST(FlatJson, RefusesMalformedDocuments) {
    for (const char* bad : {"", "{", R"({"a" 1})", R"(["a",])", R"("open)", R"("\q")", R"("\u12")", "1.5",
                            "99999999999999999999", "[1] 2", "nul", R"({"a":1,})"}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(JsonValue::parse(bad), std::runtime_error);
    }
    std::string deep(100, '[');
    EXPECT_THROW(JsonValue::parse(deep), std::runtime_error);
}

}  // namespace
}  // namespace mime_diff
