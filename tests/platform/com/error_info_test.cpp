#include <gtest/gtest.h>

#include <thread>

#include "platform/com/com_ptr.h"
#include "platform/com/error_info.h"

namespace {

using namespace com;

constexpr GUID kSomeInterface = GuidLiteral("{E7518C9A-7599-4BD0-8C7F-44076AAF499D}");

TEST(ErrorInfoTest, SetThenGetHandsOverTheTextsAndClears) {
    ASSERT_EQ(SetErrorInfoText(kSomeInterface, u"Brindlex.qelPop3Com.1", u"Component busy."), S_OK);
    ComPtr<IErrorInfo> info;
    ASSERT_EQ(GetErrorInfo(0, info.ReleaseAndGetAddressOf()), S_OK);
    ASSERT_TRUE(info);
    Bstr description;
    Bstr source;
    GUID guid;
    ASSERT_EQ(info->GetDescription(description.ReleaseAndGetAddressOf()), S_OK);
    ASSERT_EQ(info->GetSource(source.ReleaseAndGetAddressOf()), S_OK);
    ASSERT_EQ(info->GetGUID(&guid), S_OK);
    EXPECT_EQ(description, u"Component busy.");
    EXPECT_EQ(source, u"Brindlex.qelPop3Com.1");
    EXPECT_EQ(guid, kSomeInterface);

    EXPECT_EQ(GetErrorInfo(0, info.ReleaseAndGetAddressOf()), S_FALSE) << "reading takes it away";
    EXPECT_FALSE(info);
}

TEST(ErrorInfoTest, ANewErrorReplacesTheOldAndClearRemovesIt) {
    SetErrorInfoText(kSomeInterface, u"a", u"first");
    SetErrorInfoText(kSomeInterface, u"a", u"second");
    ComPtr<IErrorInfo> info;
    ASSERT_EQ(GetErrorInfo(0, info.ReleaseAndGetAddressOf()), S_OK);
    Bstr description;
    info->GetDescription(description.ReleaseAndGetAddressOf());
    EXPECT_EQ(description, u"second");

    SetErrorInfoText(kSomeInterface, u"a", u"third");
    ClearErrorInfo();
    EXPECT_EQ(GetErrorInfo(0, info.ReleaseAndGetAddressOf()), S_FALSE);
}

TEST(ErrorInfoTest, EachThreadHasItsOwn) {
    SetErrorInfoText(kSomeInterface, u"main", u"main thread");
    HRESULT otherThread = E_FAIL;
    std::thread([&] {
        ComPtr<IErrorInfo> info;
        otherThread = GetErrorInfo(0, info.ReleaseAndGetAddressOf());
        SetErrorInfoText(kSomeInterface, u"other", u"left behind at thread exit");
    }).join();
    EXPECT_EQ(otherThread, S_FALSE);
    ComPtr<IErrorInfo> info;
    ASSERT_EQ(GetErrorInfo(0, info.ReleaseAndGetAddressOf()), S_OK);
    Bstr source;
    info->GetSource(source.ReleaseAndGetAddressOf());
    EXPECT_EQ(source, u"main");
}

}  // namespace
