#include <gtest/gtest.h>

#include <unordered_set>

#include "platform/com/guid.h"
#include "platform/com/hresult.h"

namespace {

using namespace com;

TEST(GuidTest, ParsesWithOrWithoutBracesAndFormatsUpperCase) {
    constexpr GUID g = GuidLiteral("{9da4e87f-3e6c-46d3-919e-6a2b477df7cb}");
    static_assert(g.Data1 == 0x9DA4E87F && g.Data2 == 0x3E6C && g.Data3 == 0x46D3);
    static_assert(g.Data4[0] == 0x91 && g.Data4[7] == 0xCB);
    EXPECT_EQ(GuidToString(g), "{9DA4E87F-3E6C-46D3-919E-6A2B477DF7CB}");
    EXPECT_EQ(GuidToU16String(g), u"{9DA4E87F-3E6C-46D3-919E-6A2B477DF7CB}");
    EXPECT_EQ(ParseGuid("9DA4E87F-3E6C-46D3-919E-6A2B477DF7CB"), g);
    EXPECT_EQ(ParseGuid(GuidToU16String(g)), g);
}

TEST(GuidTest, RefusesMalformedText) {
    const char* const bad[] = {
        "",
        "{9DA4E87F-3E6C-46D3-919E-6A2B477DF7CB",   // no closing brace
        "(9DA4E87F-3E6C-46D3-919E-6A2B477DF7CB)",  // wrong brackets
        "{9DA4E87F-3E6C-46D3-919E-6A2B477DF7C}",   // a digit short
        "{9DA4E87F-3E6C-46D3-919E-6A2B477DF7CG}",  // not hex
        "{9DA4E87F+3E6C-46D3-919E-6A2B477DF7CB}",  // wrong separator
        "{9DA4E87F-3E6C-46D3-919E6A2B477DF7CB-}",  // separator moved
    };
    for (const char* text : bad) EXPECT_FALSE(ParseGuid(text).has_value()) << text;
}

TEST(GuidTest, OrdersAndHashesByValue) {
    constexpr GUID a = GuidLiteral("{00000001-0000-0000-0000-000000000000}");
    constexpr GUID b = GuidLiteral("{00000001-0000-0000-0000-000000000001}");
    EXPECT_LT(a, b);
    EXPECT_NE(a, b);
    std::unordered_set<GUID> set{a, b, a};
    EXPECT_EQ(set.size(), 2u);
}

TEST(HresultTest, ComponentErrorsCarryTheirCodeInTheLowWord) {
    EXPECT_EQ(CtlError(30009), MakeHresult(0x800A7539));
    EXPECT_TRUE(FAILED(CtlError(30009)));
    EXPECT_TRUE(IsCtlError(CtlError(380)));
    EXPECT_FALSE(IsCtlError(E_FAIL));
    EXPECT_EQ(HresultCode(CtlError(60000)), 60000);
    EXPECT_TRUE(SUCCEEDED(S_FALSE));
    EXPECT_EQ(HresultName(CtlError(13)), "CtlError(13)");
    EXPECT_EQ(HresultName(REGDB_E_CLASSNOTREG), "REGDB_E_CLASSNOTREG");
    EXPECT_EQ(HresultName(MakeHresult(0x80001234)), "0x80001234");
}

}  // namespace
