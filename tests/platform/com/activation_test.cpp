// Creating objects by class or ProgID from a server library, and the
// errors when the class, the library or its entry point is missing.
#include <gtest/gtest.h>

#include "platform/com/activation.h"
#include "platform/com/com_ptr.h"
#include "platform/com/dispatch.h"
#include "platform/com/error_info.h"
#include "tests/platform/com/test_server.h"

namespace {

using namespace com;
using comtest::CLSID_NotServed;
using comtest::CLSID_TestThing;
using comtest::ITestThing;

constexpr CLSID kMissingLibraryClass = GuidLiteral("{A3C5E7F9-2B4D-4F6A-8C0E-1D3F5A7B9C2E}");
constexpr CLSID kNoEntryClass = GuidLiteral("{B4D6F8A0-3C5E-4A7B-9D1F-2E4A6B8C0D3F}");
constexpr CLSID kUnregistered = GuidLiteral("{C5E7A9B1-4D6F-4B8C-8E2A-3F5B7C9D1E4A}");

class ActivationTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(RegisterServerLibrary(CLSID_TestThing, {u"Test.Thing.1", u"Test.Thing"}, COM_TEST_SERVER),
                  S_OK);
        ASSERT_EQ(RegisterServerLibrary(CLSID_NotServed, {u"Test.NotServed"}, COM_TEST_SERVER), S_OK);
        ASSERT_EQ(
            RegisterServerLibrary(kMissingLibraryClass, {u"Test.Missing"}, "/nonexistent/libnothing.so"),
            S_OK);
        ASSERT_EQ(RegisterServerLibrary(kNoEntryClass, {u"Test.NoEntry"}, COM_TEST_NO_ENTRY), S_OK);
    }
    void TearDown() override {
        for (const CLSID& c : {CLSID_TestThing, CLSID_NotServed, kMissingLibraryClass, kNoEntryClass})
            RevokeClass(c);
        ClearErrorInfo();
    }
};

TEST_F(ActivationTest, CreatesByClassAndByProgId) {
    ComPtr<ITestThing> byClass;
    ASSERT_EQ(CoCreateInstance(CLSID_TestThing, nullptr, ITestThing::iid, byClass.ReleaseAndGetVoidAddress()),
              S_OK);
    std::int32_t value = 0;
    ASSERT_EQ(byClass->GetValue(&value), S_OK);
    EXPECT_EQ(value, 4242);

    for (const std::u16string_view progId : {u"Test.Thing.1", u"test.thing", u"TEST.THING.1"}) {
        ComPtr<ITestThing> byProgId;
        ASSERT_EQ(CreateInstanceFromProgID(progId, ITestThing::iid, byProgId.ReleaseAndGetVoidAddress()),
                  S_OK);
        EXPECT_NE(byProgId.Get(), byClass.Get()) << "one new object per creation";
    }
    CLSID clsid;
    ASSERT_EQ(CLSIDFromString(u"{0E2B7F14-5C8A-4D3E-A1F6-7B9C2D4E8F01}", &clsid), S_OK);
    EXPECT_EQ(clsid, CLSID_TestThing);
}

TEST_F(ActivationTest, ErrorInformationCrossesTheLibraryBoundary) {
    ComPtr<ITestThing> thing;
    ASSERT_EQ(CoCreateInstance(CLSID_TestThing, nullptr, ITestThing::iid, thing.ReleaseAndGetVoidAddress()),
              S_OK);
    EXPECT_EQ(thing->Fail(), CtlError(30006));
    ComPtr<IErrorInfo> info;
    ASSERT_EQ(GetErrorInfo(0, info.ReleaseAndGetAddressOf()), S_OK)
        << "one error slot for program and library";
    Bstr description;
    info->GetDescription(description.ReleaseAndGetAddressOf());
    EXPECT_EQ(description, u"Failed inside the library.");
}

TEST_F(ActivationTest, MissingPiecesGiveTheirOwnResults) {
    struct Row {
        const char* name;
        CLSID clsid;
        IID iid;
        HRESULT expected;
    };
    const Row rows[] = {
        {"class not in the table", kUnregistered, ITestThing::iid, REGDB_E_CLASSNOTREG},
        {"library file missing", kMissingLibraryClass, ITestThing::iid, CO_E_DLLNOTFOUND},
        {"library without the entry point", kNoEntryClass, ITestThing::iid, CO_E_ERRORINDLL},
        {"library does not serve the class", CLSID_NotServed, ITestThing::iid, CLASS_E_CLASSNOTAVAILABLE},
        {"object lacks the interface", CLSID_TestThing, IID_IDispatch, E_NOINTERFACE},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        void* object = reinterpret_cast<void*>(1);
        EXPECT_EQ(HresultName(CoCreateInstance(row.clsid, nullptr, row.iid, &object)),
                  HresultName(row.expected));
        EXPECT_EQ(object, nullptr);
    }
    ComPtr<IErrorInfo> info;
    CoCreateInstance(kMissingLibraryClass, nullptr, ITestThing::iid, info.ReleaseAndGetVoidAddress());
    ASSERT_EQ(GetErrorInfo(0, info.ReleaseAndGetAddressOf()), S_OK);
    Bstr description;
    info->GetDescription(description.ReleaseAndGetAddressOf());
    EXPECT_NE(description.View().find(u"/nonexistent/libnothing.so"), std::u16string_view::npos);

    CLSID clsid;
    EXPECT_EQ(CLSIDFromProgID(u"No.Such.Thing", &clsid), CO_E_CLASSSTRING);
    EXPECT_EQ(CLSIDFromString(u"{not a guid}", &clsid), CO_E_CLASSSTRING);
    void* object = nullptr;
    EXPECT_EQ(CreateInstanceFromProgID(u"No.Such.Thing", ITestThing::iid, &object), CO_E_CLASSSTRING);
}

TEST_F(ActivationTest, NoAggregationAndInProcessClasses) {
    ComPtr<ITestThing> outer;
    ASSERT_EQ(CoCreateInstance(CLSID_TestThing, nullptr, ITestThing::iid, outer.ReleaseAndGetVoidAddress()),
              S_OK);
    void* object = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_TestThing, outer.Get(), IID_IUnknown, &object), CLASS_E_NOAGGREGATION);

    // A class served from inside the process, e.g. a stand-in object.
    static bool asked = false;
    ASSERT_EQ(RegisterClassObject(kUnregistered, {u"Test.Local"},
                                  [](const CLSID&, const IID&, void** factory) {
                                      asked = true;
                                      *factory = nullptr;
                                      return CLASS_E_CLASSNOTAVAILABLE;
                                  }),
              S_OK);
    EXPECT_EQ(CreateInstanceFromProgID(u"Test.Local", IID_IUnknown, &object), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_TRUE(asked);
    RevokeClass(kUnregistered);
    EXPECT_EQ(CreateInstanceFromProgID(u"Test.Local", IID_IUnknown, &object), CO_E_CLASSSTRING);
}

}  // namespace
