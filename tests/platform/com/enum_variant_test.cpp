#include <gtest/gtest.h>

#include "platform/com/com_ptr.h"
#include "platform/com/enum_variant.h"

namespace {

using namespace com;

TEST(EnumVariantTest, NextSkipResetAndCloneWalkASnapshot) {
    std::vector<Variant> items{Variant(1), Variant(u"two"), Variant(3)};
    ComPtr<IEnumVARIANT> e;
    ASSERT_EQ(CreateEnumVariant(items, e.ReleaseAndGetAddressOf()), S_OK);
    items.clear();  // the enumerator keeps its own copy

    VARIANT got[2];
    std::uint32_t fetched = 0;
    ASSERT_EQ(e->Next(2, got, &fetched), S_OK);
    EXPECT_EQ(fetched, 2u);
    EXPECT_EQ(got[0].lVal, 1);
    EXPECT_EQ(BstrView(got[1].bstrVal), u"two");
    VariantClear(&got[1]);

    ComPtr<IEnumVARIANT> clone;
    ASSERT_EQ(e->Clone(clone.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(e->Next(2, got, &fetched), S_FALSE) << "only one was left";
    EXPECT_EQ(fetched, 1u);
    EXPECT_EQ(got[0].lVal, 3);
    ASSERT_EQ(clone->Next(1, got, nullptr), S_OK) << "the clone starts where the original was";
    EXPECT_EQ(got[0].lVal, 3);

    ASSERT_EQ(e->Reset(), S_OK);
    EXPECT_EQ(e->Skip(2), S_OK);
    EXPECT_EQ(e->Skip(5), S_FALSE);
    EXPECT_EQ(e->Next(1, got, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 0u);
    EXPECT_EQ(e->Next(2, got, nullptr), E_POINTER);
}

TEST(EnumVariantTest, ForNewEnumItIsAnIUnknownThatAnswersIEnumVariant) {
    ComPtr<IUnknown> unknown;
    ASSERT_EQ(CreateEnumVariant({Variant(5)}, unknown.ReleaseAndGetAddressOf()), S_OK);
    const ComPtr<IEnumVARIANT> e = unknown.As<IEnumVARIANT>();
    ASSERT_TRUE(e);
    VARIANT got;
    ASSERT_EQ(e->Next(1, &got, nullptr), S_OK);
    EXPECT_EQ(got.lVal, 5);
}

}  // namespace
