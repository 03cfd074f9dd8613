// Late-bound calls through a member table: names, DISPIDs, argument order
// and conversion, results and failures.
#include <gtest/gtest.h>

#include <string>

#include "platform/com/com_class.h"
#include "platform/com/dispatch_args.h"
#include "platform/com/dispatch_table.h"
#include "platform/com/error_info.h"

namespace {

using namespace com;

enum SampleState : std::int32_t { Idle = 0, Busy = 5 };

struct ISample : IDispatch {
    using base_interface = IDispatch;
    static constexpr IID iid = GuidLiteral("{E7C865BB-94DE-4A65-9834-55451EDFC4C0}");

    virtual HRESULT get_Port(std::int32_t* value) = 0;
    virtual HRESULT put_Port(std::int32_t value) = 0;
    virtual HRESULT Join(BSTR text, std::int16_t number, VARIANT_BOOL flag, BSTR* joined) = 0;
    virtual HRESULT get_StateText(VARIANT state, BSTR* text) = 0;
    virtual HRESULT get_Tag(VARIANT* value) = 0;
    virtual HRESULT put_Tag(VARIANT value) = 0;
    virtual HRESULT get_Child(IDispatch** child) = 0;
    virtual HRESULT putref_Child(IDispatch* child) = 0;
    virtual HRESULT get_When(DATE* when) = 0;
    virtual HRESULT get_State(SampleState* state) = 0;
    virtual HRESULT Fail() = 0;
};

class Sample : public ComClass<DispatchImpl<ISample>> {
public:
    HRESULT get_Port(std::int32_t* value) override {
        *value = port_;
        return S_OK;
    }
    HRESULT put_Port(std::int32_t value) override {
        port_ = value;
        return S_OK;
    }
    HRESULT Join(BSTR text, std::int16_t number, VARIANT_BOOL flag, BSTR* joined) override {
        std::u16string out(BstrView(text));
        out += u'|';
        for (const char c : std::to_string(number)) out += static_cast<char16_t>(c);
        out += flag == VARIANT_TRUE ? u"|true" : u"|false";
        *joined = SysAllocStringView(out);
        return S_OK;
    }
    HRESULT get_StateText(VARIANT state, BSTR* text) override {
        const VARIANT& v = Dereference(state);
        std::int32_t n = 0;
        if (v.vt == VT_I4)
            n = v.lVal;
        else if (v.vt == (VT_I4 | VT_BYREF))
            n = *v.plVal;
        else
            n = -1;  // the current state
        *text = SysAllocStringView(n == -1 ? u"current" : n == 7 ? u"seven" : u"other");
        return S_OK;
    }
    HRESULT get_Tag(VARIANT* value) override { return VariantCopy(value, &tag_); }
    HRESULT put_Tag(VARIANT value) override { return VariantCopy(&tag_, &value); }
    HRESULT get_Child(IDispatch** child) override { return child_.CopyTo(child); }
    HRESULT putref_Child(IDispatch* child) override {
        child_ = child;
        return S_OK;
    }
    HRESULT get_When(DATE* when) override {
        *when = 36586.5;
        return S_OK;
    }
    HRESULT get_State(SampleState* state) override {
        *state = Busy;
        return S_OK;
    }
    HRESULT Fail() override {
        SetErrorInfoText(ISample::iid, u"Sample.1", u"Component busy.");
        return CtlError(30009);
    }

protected:
    const DispatchTable<ISample>& GetDispatchTable() const override;

private:
    std::int32_t port_ = 110;
    Variant tag_;
    ComPtr<IDispatch> child_;
};

using Table = DispatchTable<ISample>;
const Table kSampleTable{
    Table::Get<&ISample::get_Port>(u"Port", 8),
    Table::Put<&ISample::put_Port>(u"Port", 8),
    Table::Method<&ISample::Join>(u"Join", 30),
    Table::Get<&ISample::get_StateText>(u"StateText", 10),
    Table::Get<&ISample::get_Tag>(u"Tag", 19),
    Table::Put<&ISample::put_Tag>(u"Tag", 19),
    Table::Get<&ISample::get_Child>(u"Child", 21),
    Table::PutRef<&ISample::putref_Child>(u"Child", 21),
    Table::Get<&ISample::get_When, VT_DATE>(u"When", 0),
    Table::Get<&ISample::get_State>(u"State", 9),
    Table::Method<&ISample::Fail>(u"Fail", 31),
};

const DispatchTable<ISample>& Sample::GetDispatchTable() const { return kSampleTable; }

class DispatchTableTest : public ::testing::Test {
protected:
    ComPtr<Sample> sample = MakeComObject<Sample>();
    IDispatch* dispatch = sample.As<IDispatch>().Get();
};

TEST_F(DispatchTableTest, NamesResolveWithoutRegardToCase) {
    struct Row {
        std::u16string_view name;
        HRESULT expected;
        DISPID dispid;
    };
    const Row rows[] = {
        {u"Port", S_OK, 8},
        {u"port", S_OK, 8},
        {u"STATETEXT", S_OK, 10},
        {u"When", S_OK, 0},
        {u"Nope", DISP_E_UNKNOWNNAME, DISPID_UNKNOWN},
    };
    for (const Row& row : rows) {
        DISPID id = 1234;
        EXPECT_EQ(GetDispatchId(dispatch, row.name, &id), row.expected);
        EXPECT_EQ(id, row.dispid);
    }
}

TEST_F(DispatchTableTest, ArgumentsArriveInTheirNaturalOrderFromTheReversedArray) {
    DispatchArgs args{Variant(u"text"), Variant(std::int16_t{12}), Variant(VARIANT_TRUE)};
    ASSERT_EQ(args.Params()->rgvarg[0].vt, VT_BOOL) << "the last argument comes first";
    Variant result;
    ASSERT_EQ(InvokeMethod(dispatch, 30, args, &result), S_OK);
    EXPECT_EQ(result.TextView(), u"text|12|true");
}

TEST_F(DispatchTableTest, ArgumentsAreConvertedAndMismatchesReportTheirPosition) {
    DispatchArgs args{Variant(7), Variant(u"34"), Variant(std::int16_t{0})};
    Variant result;
    ASSERT_EQ(InvokeMethod(dispatch, 30, args, &result), S_OK);
    EXPECT_EQ(result.TextView(), u"7|34|false");

    DispatchArgs bad{Variant(u"x"), Variant(u"not a number"), Variant(VARIANT_TRUE)};
    std::uint32_t argError = 99;
    EXPECT_EQ(dispatch->Invoke(30, GUID_NULL, 0, DISPATCH_METHOD, bad.Params(), &result, nullptr, &argError),
              DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argError, 1u) << "rgvarg index of the second argument of three";

    DispatchArgs tooMany{Variant(u"x"), Variant(1), Variant(VARIANT_TRUE), Variant(4)};
    EXPECT_EQ(InvokeMethod(dispatch, 30, tooMany, &result), DISP_E_BADPARAMCOUNT);
    DispatchArgs tooFew{Variant(u"x")};
    EXPECT_EQ(InvokeMethod(dispatch, 30, tooFew, &result), DISP_E_BADPARAMCOUNT);
}

TEST_F(DispatchTableTest, PropertiesGetAndPut) {
    DispatchArgs put{Variant(u"995")};
    ASSERT_EQ(InvokePropertyPut(dispatch, 8, put), S_OK);
    DispatchArgs none;
    Variant port;
    ASSERT_EQ(InvokePropertyGet(dispatch, 8, none, &port), S_OK);
    EXPECT_EQ(port.vt, VT_I4);
    EXPECT_EQ(port.lVal, 995);

    Variant viaMethodFlags;
    EXPECT_EQ(dispatch->Invoke(8, GUID_NULL, 0, DISPATCH_METHOD | DISPATCH_PROPERTYGET, none.Params(),
                               &viaMethodFlags, nullptr, nullptr),
              S_OK);
    EXPECT_EQ(viaMethodFlags.lVal, 995);

    EXPECT_EQ(InvokeMethod(dispatch, 8, none), DISP_E_MEMBERNOTFOUND) << "a property is not a method";
    EXPECT_EQ(InvokeMethod(dispatch, 77, none), DISP_E_MEMBERNOTFOUND);
    DispatchArgs named{Variant(1)};
    EXPECT_EQ(
        dispatch->Invoke(8, GUID_NULL, 0, DISPATCH_METHOD, named.Params(true), nullptr, nullptr, nullptr),
        DISP_E_MEMBERNOTFOUND);

    Variant state;
    ASSERT_EQ(InvokePropertyGet(dispatch, 9, none, &state), S_OK);
    EXPECT_EQ(state.vt, VT_I4) << "enumerations travel as 32-bit integers";
    EXPECT_EQ(state.lVal, Busy);

    Variant when;
    ASSERT_EQ(InvokePropertyGet(dispatch, 0, none, &when), S_OK);
    EXPECT_EQ(when.vt, VT_DATE);
    EXPECT_EQ(when.date, 36586.5);
}

TEST_F(DispatchTableTest, OptionalVariantArgumentIsMissingWhenOmitted) {
    std::int32_t seven = 7;
    struct Row {
        const char* name;
        Variant arg;
        bool pass;
        std::u16string_view expected;
    };
    const Row rows[] = {
        {"omitted", Variant(), false, u"current"},
        {"32-bit value", Variant(7), true, u"seven"},
        {"reference to a 32-bit value", Variant::ByRef(&seven), true, u"seven"},
        {"16-bit value counts as other", Variant(std::int16_t{7}), true, u"current"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        DispatchArgs args;
        if (row.pass) args.Add(row.arg);
        Variant text;
        ASSERT_EQ(InvokePropertyGet(dispatch, 10, args, &text), S_OK);
        EXPECT_EQ(text.TextView(), row.expected);
    }
}

TEST_F(DispatchTableTest, VariantAndObjectPropertiesCopyAndCount) {
    DispatchArgs put{Variant(u"tag text")};
    ASSERT_EQ(InvokePropertyPut(dispatch, 19, put), S_OK);
    Variant tag;
    DispatchArgs none;
    ASSERT_EQ(InvokePropertyGet(dispatch, 19, none, &tag), S_OK);
    EXPECT_EQ(tag.TextView(), u"tag text");
    EXPECT_NE(tag.bstrVal, put[0].bstrVal) << "put and get copy the value";

    ComPtr<Sample> child = MakeComObject<Sample>();
    DispatchArgs ref{Variant(static_cast<IDispatch*>(child.Get()))};
    EXPECT_EQ(InvokePropertyPut(dispatch, 21, ref, false), DISP_E_MEMBERNOTFOUND) << "only putref stores it";
    ASSERT_EQ(InvokePropertyPut(dispatch, 21, ref, true), S_OK);
    EXPECT_EQ(child->RefCount(), 3u) << "ours, the argument's, the sample's";
    Variant got;
    ASSERT_EQ(InvokePropertyGet(dispatch, 21, none, &got), S_OK);
    ASSERT_EQ(got.vt, VT_DISPATCH);
    EXPECT_EQ(got.pdispVal, static_cast<IDispatch*>(child.Get()));
    EXPECT_EQ(child->RefCount(), 4u);

    DispatchArgs nothing{Variant(static_cast<IDispatch*>(nullptr))};
    ASSERT_EQ(InvokePropertyPut(dispatch, 21, nothing, true), S_OK);
    got.Clear();
    ref[0].Clear();
    EXPECT_EQ(child->RefCount(), 1u);

    DispatchArgs notAnObject{Variant(5)};
    EXPECT_EQ(InvokePropertyPut(dispatch, 21, notAnObject, true), DISP_E_TYPEMISMATCH);
}

TEST_F(DispatchTableTest, FailuresComeBackAsExceptionWithTheErrorText) {
    DispatchArgs none;
    EXCEPINFO info;
    EXPECT_EQ(InvokeMethod(dispatch, 31, none, nullptr, &info), DISP_E_EXCEPTION);
    EXPECT_EQ(info.scode, CtlError(30009));
    EXPECT_EQ(BstrView(info.bstrDescription), u"Component busy.");
    EXPECT_EQ(BstrView(info.bstrSource), u"Sample.1");
    ClearExcepInfo(&info);
    EXPECT_EQ(InvokeMethod(dispatch, 31, none), CtlError(30009)) << "without EXCEPINFO the HRESULT itself";
    ClearErrorInfo();
}

}  // namespace
