// A tiny server library for the activation tests.
#include "platform/com/class_factory.h"
#include "platform/com/error_info.h"
#include "tests/platform/com/test_server.h"

namespace {

class TestThing : public com::ComClass<comtest::ITestThing> {
public:
    com::HRESULT GetValue(std::int32_t* value) override {
        *value = 4242;
        return com::S_OK;
    }
    com::HRESULT Fail() override {
        com::SetErrorInfoText(comtest::ITestThing::iid, u"TestServer.1", u"Failed inside the library.");
        return com::CtlError(30006);
    }
};

const com::ClassEntry kClasses[] = {com::ClassEntryFor<TestThing>(comtest::CLSID_TestThing)};

}  // namespace

extern "C" [[gnu::visibility("default")]] com::HRESULT DllGetClassObject(const com::CLSID& clsid,
                                                                         const com::IID& iid,
                                                                         void** factory) {
    return com::GetClassObjectFrom(kClasses, clsid, iid, factory);
}
