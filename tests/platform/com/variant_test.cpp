#include <gtest/gtest.h>

#include <cmath>

#include "platform/com/com_class.h"
#include "platform/com/dispatch.h"
#include "platform/com/variant.h"

namespace {

using namespace com;

// An object whose count the tests read.
class Counted : public ComClass<IUnknown> {};

TEST(VariantTest, CopyDuplicatesTextsAndAddsObjectReferences) {
    Variant text(u"hello");
    Variant copy = text;
    ASSERT_EQ(copy.vt, VT_BSTR);
    EXPECT_NE(copy.bstrVal, text.bstrVal);
    EXPECT_EQ(BstrView(copy.bstrVal), u"hello");

    ComPtr<Counted> object = MakeComObject<Counted>();
    {
        Variant held(static_cast<IUnknown*>(object.Get()));
        EXPECT_EQ(object->RefCount(), 2u);
        Variant second = held;
        EXPECT_EQ(object->RefCount(), 3u);
        second.Clear();
        EXPECT_EQ(second.vt, VT_EMPTY);
        EXPECT_EQ(object->RefCount(), 2u);
    }
    EXPECT_EQ(object->RefCount(), 1u);
}

TEST(VariantTest, NullTextStaysNullAndDiffersFromEmpty) {
    Variant null(static_cast<const OLECHAR*>(nullptr));
    Variant empty(u"");
    ASSERT_EQ(null.vt, VT_BSTR);
    EXPECT_EQ(null.bstrVal, nullptr);
    EXPECT_NE(empty.bstrVal, nullptr);
    Variant copy = null;
    EXPECT_EQ(copy.bstrVal, nullptr);
}

TEST(VariantTest, ByRefCopiesThePointerAndCopyIndTheValue) {
    std::int32_t number = 7;
    BSTR text = SysAllocString(u"by ref");
    Variant refNumber = Variant::ByRef(&number);
    Variant refText = Variant::ByRef(&text);

    Variant shallow = refNumber;
    EXPECT_EQ(shallow.vt, VT_I4 | VT_BYREF);
    EXPECT_EQ(shallow.plVal, &number);

    Variant value;
    ASSERT_EQ(VariantCopyInd(&value, &refText), S_OK);
    ASSERT_EQ(value.vt, VT_BSTR);
    EXPECT_NE(value.bstrVal, text) << "the text is duplicated, the caller keeps its own";
    EXPECT_EQ(BstrView(value.bstrVal), u"by ref");

    // A variant that refers to a variant that refers to an integer.
    Variant inner = Variant::ByRef(&number);
    Variant outer = Variant::ByRef(static_cast<VARIANT*>(&inner));
    ASSERT_EQ(VariantCopyInd(&value, &outer), S_OK);
    EXPECT_EQ(value.vt, VT_I4);
    EXPECT_EQ(value.lVal, 7);

    refText.Clear();  // frees nothing it points to
    EXPECT_EQ(BstrView(text), u"by ref");
    SysFreeString(text);
}

TEST(VariantTest, MissingArgumentIsErrorParamNotFound) {
    const Variant missing = Variant::Missing();
    EXPECT_EQ(missing.vt, VT_ERROR);
    EXPECT_EQ(missing.scode, DISP_E_PARAMNOTFOUND);
    EXPECT_TRUE(missing.IsMissing());
    EXPECT_FALSE(Variant(0).IsMissing());
}

TEST(VariantTest, ClearRejectsUnknownTypesAndDetachMovesOwnership) {
    VARIANT bad;
    bad.vt = 99;
    EXPECT_EQ(VariantClear(&bad), DISP_E_BADVARTYPE);

    Variant text(u"moved");
    VARIANT out;
    BSTR held = text.bstrVal;
    ASSERT_EQ(text.Detach(&out), S_OK);
    EXPECT_EQ(text.vt, VT_EMPTY);
    EXPECT_EQ(out.bstrVal, held);
    Variant owner;
    owner.Attach(&out);
    EXPECT_EQ(out.vt, VT_EMPTY);
    EXPECT_EQ(owner.bstrVal, held);
}

struct ChangeRow {
    const char* name;
    Variant from;
    VARTYPE to;
    HRESULT expected;
    Variant result;  // compared when expected succeeds
};

bool SameValue(const VARIANT& a, const VARIANT& b) {
    if (a.vt != b.vt) return false;
    switch (a.vt) {
        case VT_EMPTY:
            return true;
        case VT_I2:
            return a.iVal == b.iVal;
        case VT_I4:
            return a.lVal == b.lVal;
        case VT_UI1:
            return a.bVal == b.bVal;
        case VT_R8:
            return a.dblVal == b.dblVal;
        case VT_DATE:
            return a.date == b.date;
        case VT_BOOL:
            return a.boolVal == b.boolVal;
        case VT_BSTR:
            return BstrView(a.bstrVal) == BstrView(b.bstrVal);
        default:
            return false;
    }
}

TEST(VariantTest, ChangeTypeCoercions) {
    std::int32_t seven = 7;
    const ChangeRow rows[] = {
        {"I4 to I2", Variant(1234), VT_I2, S_OK, Variant(std::int16_t{1234})},
        {"I4 too big for I2", Variant(40000), VT_I2, DISP_E_OVERFLOW, {}},
        {"I4 -32768 fits I2", Variant(-32768), VT_I2, S_OK, Variant(std::int16_t{-32768})},
        {"R8 2.5 rounds to even", Variant(2.5), VT_I4, S_OK, Variant(2)},
        {"R8 3.5 rounds to even", Variant(3.5), VT_I4, S_OK, Variant(4)},
        {"R8 -2.5 rounds to even", Variant(-2.5), VT_I2, S_OK, Variant(std::int16_t{-2})},
        {"R8 32767.5 overflows I2", Variant(32767.5), VT_I2, DISP_E_OVERFLOW, {}},
        {"text number to I2", Variant(u" 42 "), VT_I2, S_OK, Variant(std::int16_t{42})},
        {"text decimal to I4", Variant(u"-1.5"), VT_I4, S_OK, Variant(-2)},
        {"text word to I4", Variant(u"abc"), VT_I4, DISP_E_TYPEMISMATCH, {}},
        {"empty text to I4", Variant(u""), VT_I4, DISP_E_TYPEMISMATCH, {}},
        {"text True to BOOL", Variant(u"true"), VT_BOOL, S_OK, Variant(VARIANT_TRUE)},
        {"I4 to BOOL", Variant(5), VT_BOOL, S_OK, Variant(VARIANT_TRUE)},
        {"BOOL to I2", Variant(VARIANT_TRUE), VT_I2, S_OK, Variant(std::int16_t{-1})},
        {"BOOL to text", Variant(VARIANT_TRUE), VT_BSTR, S_OK, Variant(u"-1")},
        {"I4 to text", Variant(-17), VT_BSTR, S_OK, Variant(u"-17")},
        {"R8 to text", Variant(0.1), VT_BSTR, S_OK, Variant(u"0.1")},
        {"R8 big to text", Variant(1e20), VT_BSTR, S_OK, Variant(u"1E+20")},
        {"EMPTY to I4", Variant(), VT_I4, S_OK, Variant(0)},
        {"EMPTY to text", Variant(), VT_BSTR, S_OK, Variant(u"")},
        {"NULL to I4", Variant::Null(), VT_I4, DISP_E_TYPEMISMATCH, {}},
        {"missing to I2", Variant::Missing(), VT_I2, DISP_E_TYPEMISMATCH, {}},
        {"by-ref I4 to I2", Variant::ByRef(&seven), VT_I2, S_OK, Variant(std::int16_t{7})},
        {"I4 to DATE", Variant(2), VT_DATE, S_OK, Variant::FromDate(2.0)},
        {"DATE to R8", Variant::FromDate(-1.25), VT_R8, S_OK, Variant(-1.25)},
        {"R8 beyond dates", Variant(3e6), VT_DATE, DISP_E_OVERFLOW, {}},
        {"UI1 from 255", Variant(255), VT_UI1, S_OK, Variant(std::uint8_t{255})},
        {"UI1 from -1", Variant(-1), VT_UI1, DISP_E_OVERFLOW, {}},
        {"to a by-ref type", Variant(1), VT_I4 | VT_BYREF, DISP_E_BADVARTYPE, {}},
    };
    for (const ChangeRow& row : rows) {
        SCOPED_TRACE(row.name);
        Variant out;
        const HRESULT hr = VariantChangeType(&out, &row.from, 0, row.to);
        EXPECT_EQ(HresultName(hr), HresultName(row.expected));
        if (SUCCEEDED(row.expected))
            EXPECT_TRUE(SameValue(out, row.result)) << "vt " << out.vt;
        else
            EXPECT_EQ(out.vt, VT_EMPTY) << "a failed change leaves the target alone";
    }
}

TEST(VariantTest, ChangeTypeInPlaceAndAlphaBool) {
    Variant v(u"12");
    ASSERT_EQ(v.ChangeType(VT_I4), S_OK);
    EXPECT_EQ(v.vt, VT_I4);
    EXPECT_EQ(v.lVal, 12);
    Variant b(VARIANT_FALSE);
    ASSERT_EQ(b.ChangeType(VT_BSTR, VARIANT_ALPHABOOL), S_OK);
    EXPECT_EQ(b.TextView(), u"False");
}

// The value of an object is its default member.
class ValueObject : public ComClass<IDispatch> {
public:
    HRESULT GetTypeInfoCount(std::uint32_t* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT GetTypeInfo(std::uint32_t, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT GetIDsOfNames(const IID&, OLECHAR**, std::uint32_t, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT Invoke(DISPID dispid, const IID&, LCID, std::uint16_t flags, DISPPARAMS*, VARIANT* result,
                   EXCEPINFO*, std::uint32_t*) override {
        if (dispid != DISPID_VALUE || !(flags & DISPATCH_PROPERTYGET)) return DISP_E_MEMBERNOTFOUND;
        return Variant(u"99").Detach(result);
    }
};

TEST(VariantTest, ObjectConvertsThroughItsDefaultMember) {
    ComPtr<ValueObject> object = MakeComObject<ValueObject>();
    Variant v(static_cast<IDispatch*>(object.Get()));
    Variant out;
    ASSERT_EQ(VariantChangeType(&out, &v, 0, VT_I2), S_OK);
    EXPECT_EQ(out.iVal, 99);
    EXPECT_EQ(VariantChangeType(&out, &v, VARIANT_NOVALUEPROP, VT_I2), DISP_E_TYPEMISMATCH);
    ASSERT_EQ(VariantChangeType(&out, &v, 0, VT_UNKNOWN), S_OK);
    EXPECT_EQ(out.punkVal, static_cast<IUnknown*>(object.Get()));
    out.Clear();
    EXPECT_EQ(object->RefCount(), 2u);
}

}  // namespace
