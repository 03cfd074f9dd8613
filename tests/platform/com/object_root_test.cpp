// Reference counting, QueryInterface and the deferred free of an object
// that is released from inside its own call.
#include <gtest/gtest.h>

#include <functional>

#include "platform/com/com_class.h"
#include "platform/com/com_ptr.h"
#include "platform/com/dispatch.h"

namespace {

using namespace com;

struct IPinger : IUnknown {
    using base_interface = IUnknown;
    static constexpr IID iid = GuidLiteral("{F5B174DB-5B95-4FB1-A05A-A23B44672DDF}");
    virtual HRESULT Ping() = 0;
};

struct ILoudPinger : IPinger {
    using base_interface = IPinger;
    static constexpr IID iid = GuidLiteral("{C44F381B-95EB-45AE-830F-FD06EC6CBE84}");
    virtual HRESULT Shout() = 0;
};

struct IOther : IUnknown {
    using base_interface = IUnknown;
    static constexpr IID iid = GuidLiteral("{375AEE6F-60CF-4A9C-8B63-5D131ED3F551}");
    virtual HRESULT Other() = 0;
};

// What happened to the objects, outliving them.
struct Journal {
    int finalReleases = 0;
    int destructions = 0;
    bool aliveAfterCallback = true;
    std::uint32_t countAfterCallback = 99;
};

class Pinger : public ComClass<ILoudPinger, IOther> {
public:
    Pinger(Journal& journal, HRESULT construct = S_OK) : journal_(journal), construct_(construct) {}
    ~Pinger() override { ++journal_.destructions; }

    HRESULT FinalConstruct() override { return construct_; }

    // Calls back into the client, which may drop the object, then looks at
    // its own state as an engine frame would.
    HRESULT Ping() override {
        CallGuard guard(*this);
        if (onPing) onPing();
        journal_.aliveAfterCallback = guard.Alive();
        return guard.Alive() ? S_OK : E_FAIL;
    }
    // The raise rule: hold a reference around the callback and read what remains.
    HRESULT Shout() override {
        CallGuard guard(*this);
        AddRef();
        if (onPing) onPing();
        journal_.countAfterCallback = Release();
        return journal_.countAfterCallback > 0 ? S_OK : E_FAIL;
    }
    HRESULT Other() override { return S_FALSE; }

    std::function<void()> onPing;

protected:
    void FinalRelease() override { ++journal_.finalReleases; }

private:
    Journal& journal_;
    HRESULT construct_;
};

TEST(ObjectRootTest, AddRefAndReleaseReturnTheRemainingCount) {
    Journal journal;
    ComPtr<Pinger> p = MakeComObject<Pinger>(journal);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->AddRef(), 2u);
    EXPECT_EQ(p->AddRef(), 3u);
    EXPECT_EQ(p->Release(), 2u);
    EXPECT_EQ(p->Release(), 1u);
    p.Reset();
    EXPECT_EQ(journal.finalReleases, 1);
    EXPECT_EQ(journal.destructions, 1);
}

TEST(ObjectRootTest, QueryInterfaceAnswersListedInterfacesAndTheirParents) {
    Journal journal;
    ComPtr<Pinger> p = MakeComObject<Pinger>(journal);
    ComPtr<IUnknown> viaLoud;
    ComPtr<IUnknown> viaOther;
    ASSERT_EQ(p.As<ILoudPinger>()->QueryInterface(IID_IUnknown, viaLoud.ReleaseAndGetVoidAddress()), S_OK);
    ASSERT_EQ(p.As<IOther>()->QueryInterface(IID_IUnknown, viaOther.ReleaseAndGetVoidAddress()), S_OK);
    EXPECT_EQ(viaLoud.Get(), viaOther.Get()) << "one identity whichever interface is asked";

    const ComPtr<IPinger> parent = p.As<IPinger>();
    ASSERT_TRUE(parent);
    EXPECT_EQ(static_cast<IPinger*>(p.As<ILoudPinger>().Get()), parent.Get());
    EXPECT_EQ(p.As<IOther>()->Other(), S_FALSE);

    ComPtr<IDispatch> none;
    EXPECT_EQ(p->QueryInterface(IID_IDispatch, none.ReleaseAndGetVoidAddress()), E_NOINTERFACE);
    EXPECT_FALSE(none);
    EXPECT_EQ(p->QueryInterface(IID_IUnknown, nullptr), E_POINTER);
    EXPECT_EQ(p->RefCount(), 4u) << "p, viaLoud, viaOther, parent";
}

TEST(ObjectRootTest, FailedFinalConstructDestroysTheObject) {
    Journal journal;
    ComPtr<Pinger> p;
    EXPECT_EQ(CreateComObject(&p, journal, E_OUTOFMEMORY), E_OUTOFMEMORY);
    EXPECT_FALSE(p);
    EXPECT_EQ(journal.destructions, 1);
}

TEST(ObjectRootTest, LastReleaseInsideACallCleansUpAtOnceAndFreesOnReturn) {
    Journal journal;
    ComPtr<Pinger> client = MakeComObject<Pinger>(journal);
    Pinger* raw = client.Get();
    int destructionsSeenInCallback = -1;
    int finalReleasesSeenInCallback = -1;
    raw->onPing = [&] {
        client.Reset();
        finalReleasesSeenInCallback = journal.finalReleases;
        destructionsSeenInCallback = journal.destructions;
    };
    EXPECT_EQ(raw->Ping(), E_FAIL);
    EXPECT_EQ(finalReleasesSeenInCallback, 1) << "clean-up runs when the last reference goes";
    EXPECT_EQ(destructionsSeenInCallback, 0) << "memory stays while the call is on the stack";
    EXPECT_FALSE(journal.aliveAfterCallback);
    EXPECT_EQ(journal.destructions, 1) << "freed when the outermost call returned";
    EXPECT_EQ(journal.finalReleases, 1);
}

TEST(ObjectRootTest, RaiseRuleReportsTheReleaseByTheClient) {
    struct Row {
        const char* name;
        bool clientReleases;
        std::uint32_t expectedCount;
        HRESULT expected;
    };
    const Row rows[] = {
        {"client keeps its reference", false, 1, S_OK},
        {"client releases inside the event", true, 0, E_FAIL},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Journal journal;
        ComPtr<Pinger> client = MakeComObject<Pinger>(journal);
        Pinger* raw = client.Get();
        raw->onPing = [&, release = row.clientReleases] {
            if (release) client.Reset();
        };
        EXPECT_EQ(raw->Shout(), row.expected);
        EXPECT_EQ(journal.countAfterCallback, row.expectedCount);
        EXPECT_EQ(journal.destructions, row.clientReleases ? 1 : 0);
        client.Reset();
        EXPECT_EQ(journal.destructions, 1);
        EXPECT_EQ(journal.finalReleases, 1) << "clean-up runs once";
    }
}

TEST(ObjectRootTest, NestedCallsFreeOnlyWhenTheOutermostReturns) {
    Journal journal;
    ComPtr<Pinger> client = MakeComObject<Pinger>(journal);
    Pinger* raw = client.Get();
    int destructionsAfterInner = -1;
    int depth = 0;
    raw->onPing = [&] {
        if (++depth == 1) {
            raw->Ping();  // a nested pump delivers another event
            destructionsAfterInner = journal.destructions;
        } else {
            client.Reset();
        }
    };
    raw->Ping();
    EXPECT_EQ(destructionsAfterInner, 0);
    EXPECT_EQ(journal.destructions, 1);
}

TEST(ComPtrTest, CopiesMovesAndDetachesKeepTheCountRight) {
    Journal journal;
    ComPtr<Pinger> a = MakeComObject<Pinger>(journal);
    ComPtr<Pinger> b = a;
    EXPECT_EQ(a->RefCount(), 2u);
    ComPtr<Pinger> c = std::move(b);
    EXPECT_FALSE(b);
    EXPECT_EQ(a->RefCount(), 2u);
    c = a;  // same object: no change
    EXPECT_EQ(a->RefCount(), 2u);
    Pinger* raw = c.Detach();
    EXPECT_EQ(a->RefCount(), 2u);
    ComPtr<Pinger> d = AdoptRef(raw);
    EXPECT_EQ(a->RefCount(), 2u);
    ILoudPinger* out = nullptr;
    ASSERT_EQ(ComPtr<ILoudPinger>(a).CopyTo(&out), S_OK);
    EXPECT_EQ(out->Release(), 2u);
    a.Reset();
    d.Reset();
    EXPECT_EQ(journal.destructions, 1);
}

}  // namespace
