// The text holder: 8-bit copies on demand, null kept apart from empty.
#include "component/transport/cbstr_a.h"

#include <gtest/gtest.h>

using namespace component::transport;

namespace {

TEST(CBstrA, MakesThe8BitCopyOnDemandInTheCodePage) {
    CBstrA text(std::u16string_view(u"Gr\u00fc\u00dfe \u20ac"));
    EXPECT_EQ(text.GetAnsi(), "Gr\xfc\xdf" "e \x80");
    CBstrA back(std::string_view("Gr\xfc\xdf" "e \x80"));
    EXPECT_EQ(back.View(), u"Gr\u00fc\u00dfe \u20ac");
}

TEST(CBstrA, NullAndEmptyStayApartAndGiveNoBytes) {
    CBstrA none;
    EXPECT_TRUE(none.IsNull());
    EXPECT_EQ(none.GetAnsi(), "");
    CBstrA empty(std::u16string_view(u""));
    EXPECT_FALSE(empty.IsNull());
    EXPECT_EQ(empty.ToAnsi(), "");
}

TEST(CBstrA, CopyTakesTheStringAndMakesItsOwnBytes) {
    CBstrA a(std::u16string_view(u"abc"));
    const std::string& first = a.GetAnsi();
    CBstrA b(a);
    EXPECT_EQ(b.GetAnsi(), first);
    EXPECT_NE(&b.GetAnsi(), &first);
}

TEST(CBstrA, FromUtf8DecodesExactlyTheGivenBytes) {
    const char bytes[] = {'\xc3', '\xa9', 'x', 'y'};  // no terminating zero
    CBstrA text;
    text.FromUtf8(bytes, 3);
    EXPECT_EQ(text.View(), u"\u00e9x");
    text.FromUtf8("\xff", 1);
    EXPECT_EQ(text.View(), u"\uFFFD");
}

}  // namespace
