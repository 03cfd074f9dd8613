#include <gtest/gtest.h>

#include "platform/com/bstr.h"

namespace {

using namespace com;

TEST(BstrTest, NullAndEmptyAreDifferentValuesOfLengthZero) {
    const Bstr null;
    const Bstr empty(u"");
    EXPECT_TRUE(null.IsNull());
    EXPECT_FALSE(empty.IsNull());
    EXPECT_NE(empty.Get(), nullptr);
    EXPECT_EQ(null.Length(), 0u);
    EXPECT_EQ(empty.Length(), 0u);
    EXPECT_TRUE(null.IsEmpty());
    EXPECT_TRUE(empty.IsEmpty());
    EXPECT_EQ(null, empty) << "texts compare equal; IsNull tells them apart";
    EXPECT_EQ(SysAllocString(nullptr), nullptr);
    EXPECT_TRUE(Bstr(static_cast<const OLECHAR*>(nullptr)).IsNull());
}

TEST(BstrTest, StoredLengthKeepsEmbeddedNulsAndEndsWithNul) {
    const std::u16string text(u"a\0b\0c", 5);
    const Bstr b(text);
    EXPECT_EQ(b.Length(), 5u);
    EXPECT_EQ(SysStringByteLen(b.Get()), 10u);
    EXPECT_EQ(b.View(), text);
    EXPECT_EQ(b.Get()[5], u'\0');
    const Bstr copy = Bstr::CopyOf(b.Get());
    EXPECT_EQ(copy.View(), text) << "a copy of a BSTR goes by its stored length";
    EXPECT_EQ(Bstr(b.Get()).View(), u"a") << "a plain pointer is NUL-terminated text";
}

TEST(BstrTest, AllocLenWithoutSourceIsZeroFilled) {
    const Bstr b = Bstr::Adopt(SysAllocStringLen(nullptr, 3));
    ASSERT_FALSE(b.IsNull());
    EXPECT_EQ(b.View(), std::u16string_view(u"\0\0\0", 3));
}

TEST(BstrTest, CopiesAreIndependentAndOutParametersGetTheirOwn) {
    Bstr a(u"text");
    Bstr b = a;
    EXPECT_NE(a.Get(), b.Get());
    b = Bstr(u"other");
    EXPECT_EQ(a, u"text");
    BSTR out = nullptr;
    ASSERT_EQ(a.CopyTo(&out), S_OK);
    EXPECT_NE(out, a.Get());
    EXPECT_EQ(BstrView(out), u"text");
    SysFreeString(out);
    ASSERT_EQ(Bstr().CopyTo(&out), S_OK);
    EXPECT_EQ(out, nullptr) << "null stays null through an out parameter";
    EXPECT_EQ(a.CopyTo(nullptr), E_POINTER);

    Bstr moved = std::move(a);
    EXPECT_TRUE(a.IsNull());
    EXPECT_EQ(moved, u"text");
    *moved.ReleaseAndGetAddressOf() = SysAllocString(u"filled");
    EXPECT_EQ(moved, u"filled");
}

}  // namespace
