// Events through connection points: order, argument order, and sinks that
// advise, unadvise or drop the source while an event is being fired.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/com/com_class.h"
#include "platform/com/connection_point_container.h"
#include "platform/com/dispatch_args.h"

namespace {

using namespace com;

struct IDemoEvents : IDispatch {
    using base_interface = IDispatch;
    static constexpr IID iid = GuidLiteral("{28020AC1-5431-4A85-9690-81DBD58032B1}");
};

constexpr IID kOtherEvents = GuidLiteral("{3521097B-D6DB-4EC9-BF01-9CE79C163BA7}");

class Source : public ComClass<ConnectionPointContainerImpl> {
public:
    Source() { point_ = AddConnectionPoint(IDemoEvents::iid); }

    // As a component raises an event: its own frame is on the stack.
    void Raise(DISPID dispid, DispatchArgs& args) {
        CallGuard guard(*this);
        if (ConnectionPoint* point = ConnectionPointOf(IDemoEvents::iid)) point->Fire(dispid, args);
    }
    ConnectionPoint& Point() { return *point_; }

protected:
    void FinalRelease() override { DisconnectConnectionPoints(); }

private:
    ConnectionPoint* point_ = nullptr;
};

// Records what it hears as "name:dispid(args...)" and then runs its action.
class Sink : public ComClass<IDemoEvents> {
public:
    Sink(std::string name, std::vector<std::string>& log) : name_(std::move(name)), log_(log) {}

    HRESULT GetTypeInfoCount(std::uint32_t* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT GetTypeInfo(std::uint32_t, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT GetIDsOfNames(const IID&, OLECHAR**, std::uint32_t, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT Invoke(DISPID dispid, const IID&, LCID, std::uint16_t flags, DISPPARAMS* params, VARIANT*,
                   EXCEPINFO*, std::uint32_t*) override {
        std::string entry = name_ + ":" + std::to_string(dispid) + "(";
        for (std::uint32_t i = params->cArgs; i-- > 0;) {
            Variant text;
            VariantChangeType(&text, &params->rgvarg[i], 0, VT_BSTR);
            for (const char16_t c : text.TextView()) entry += static_cast<char>(c);
            entry += i ? "," : "";
        }
        log_.push_back(entry + ")");
        EXPECT_EQ(flags, DISPATCH_METHOD);
        if (action) action(params);
        return E_FAIL;  // ignored by the source
    }

    std::function<void(DISPPARAMS*)> action;
    std::uint32_t cookie = 0;

private:
    std::string name_;
    std::vector<std::string>& log_;
};

class ConnectionPointTest : public ::testing::Test {
protected:
    ComPtr<Sink> MakeSink(const std::string& name) {
        ComPtr<Sink> sink = MakeComObject<Sink>(name, log);
        EXPECT_EQ(source->Point().Advise(sink->GetUnknown(), &sink->cookie), S_OK);
        return sink;
    }
    void Raise(DISPID dispid, std::initializer_list<Variant> natural) {
        DispatchArgs args(natural);
        source->Raise(dispid, args);
    }

    std::vector<std::string> log;
    ComPtr<Source> source = MakeComObject<Source>();
};

TEST_F(ConnectionPointTest, FindAdviseAndUnadvise) {
    ComPtr<IConnectionPoint> point;
    ASSERT_EQ(source->FindConnectionPoint(IDemoEvents::iid, point.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(source->FindConnectionPoint(kOtherEvents, point.ReleaseAndGetAddressOf()),
              CONNECT_E_NOCONNECTION);
    EXPECT_FALSE(point);
    ASSERT_EQ(source->FindConnectionPoint(IDemoEvents::iid, point.ReleaseAndGetAddressOf()), S_OK);

    ComPtr<IConnectionPointContainer> container;
    ASSERT_EQ(point->GetConnectionPointContainer(container.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(container.Get(), static_cast<IConnectionPointContainer*>(source.Get()));

    ComPtr<Sink> a = MakeComObject<Sink>("a", log);
    ComPtr<Sink> b = MakeComObject<Sink>("b", log);
    std::uint32_t ca = 0;
    std::uint32_t cb = 0;
    ASSERT_EQ(point->Advise(a->GetUnknown(), &ca), S_OK);
    ASSERT_EQ(point->Advise(b->GetUnknown(), &cb), S_OK);
    EXPECT_NE(ca, 0u);
    EXPECT_NE(ca, cb);
    EXPECT_EQ(a->RefCount(), 2u) << "the point keeps its sinks";

    ComPtr<IEnumConnections> connections;
    ASSERT_EQ(point->EnumConnections(connections.ReleaseAndGetAddressOf()), S_OK);
    CONNECTDATA data[3];
    std::uint32_t fetched = 0;
    EXPECT_EQ(connections->Next(3, data, &fetched), S_FALSE);
    ASSERT_EQ(fetched, 2u);
    EXPECT_EQ(data[0].dwCookie, ca);
    EXPECT_EQ(data[1].dwCookie, cb);
    data[0].pUnk->Release();
    data[1].pUnk->Release();
    connections.Reset();  // its snapshot holds the sinks too

    EXPECT_EQ(point->Unadvise(ca), S_OK);
    EXPECT_EQ(a->RefCount(), 1u);
    EXPECT_EQ(point->Unadvise(ca), CONNECT_E_NOCONNECTION);
    EXPECT_EQ(point->Unadvise(12345), CONNECT_E_NOCONNECTION);
    EXPECT_EQ(source->Point().SinkCount(), 1u);

    // An object without the events interface cannot be a sink.
    std::uint32_t cookie = 7;
    EXPECT_EQ(point->Advise(source->GetUnknown(), &cookie), CONNECT_E_CANNOTCONNECT);
    EXPECT_EQ(cookie, 0u);
}

TEST_F(ConnectionPointTest, SinksHearEventsInAdviseOrderWithArgumentsLastFirst) {
    ComPtr<Sink> a = MakeSink("a");
    ComPtr<Sink> b = MakeSink("b");
    VARIANT_BOOL accept = VARIANT_FALSE;
    b->action = [](DISPPARAMS* params) {
        // The last argument is first in the array: Accept, by reference.
        if (params->cArgs == 3 && params->rgvarg[0].vt == (VT_BOOL | VT_BYREF))
            *params->rgvarg[0].pboolVal = VARIANT_TRUE;
    };
    Raise(7, {Variant(30020), Variant(u"text"), Variant::ByRef(&accept)});
    Raise(2, {});
    const std::vector<std::string> expected{"a:7(30020,text,0)", "b:7(30020,text,0)", "a:2()", "b:2()"};
    EXPECT_EQ(log, expected);
    EXPECT_EQ(accept, VARIANT_TRUE) << "the source reads back what the sink set";
}

TEST_F(ConnectionPointTest, SinkThatUnadvisesItselfDuringAFire) {
    ComPtr<Sink> a = MakeSink("a");
    ComPtr<Sink> b = MakeSink("b");
    ComPtr<Sink> c = MakeSink("c");
    Sink* raw = b.Get();
    b->action = [this, raw](DISPPARAMS*) {
        // Its only reference is the point's: it survives to the end of this call.
        EXPECT_EQ(source->Point().Unadvise(raw->cookie), S_OK);
    };
    b.Reset();
    Raise(6, {Variant(1), Variant(3)});
    Raise(6, {Variant(2), Variant(3)});
    const std::vector<std::string> expected{"a:6(1,3)", "b:6(1,3)", "c:6(1,3)", "a:6(2,3)", "c:6(2,3)"};
    EXPECT_EQ(log, expected);
    EXPECT_EQ(source->Point().SinkCount(), 2u);
}

TEST_F(ConnectionPointTest, SinkThatUnadvisesALaterSinkOrAdvisesANewOne) {
    ComPtr<Sink> a = MakeSink("a");
    ComPtr<Sink> b = MakeSink("b");
    ComPtr<Sink> late;
    bool first = true;
    a->action = [&](DISPPARAMS*) {
        if (!first) return;
        first = false;
        EXPECT_EQ(source->Point().Unadvise(b->cookie), S_OK);
        late = MakeSink("late");
    };
    Raise(1, {Variant(0)});
    Raise(1, {Variant(4)});
    const std::vector<std::string> expected{"a:1(0)", "a:1(4)", "late:1(4)"};
    EXPECT_EQ(log, expected) << "an unadvised sink is skipped; a new one hears the next event";
}

TEST_F(ConnectionPointTest, SinkThatReleasesTheSourceStopsTheFire) {
    ComPtr<Sink> a = MakeSink("a");
    ComPtr<Sink> b = MakeSink("b");
    a->action = [this](DISPPARAMS*) { source.Reset(); };
    Raise(3, {Variant(10054), Variant(u"reset")});
    const std::vector<std::string> expected{"a:3(10054,reset)"};
    EXPECT_EQ(log, expected);
    EXPECT_EQ(a->RefCount(), 1u) << "the source let go of its sinks";
    EXPECT_EQ(b->RefCount(), 1u);
}

TEST_F(ConnectionPointTest, NestedFireFromInsideASink) {
    ComPtr<Sink> a = MakeSink("a");
    ComPtr<Sink> b = MakeSink("b");
    bool nested = false;
    a->action = [&](DISPPARAMS*) {
        if (nested) return;
        nested = true;
        Raise(5, {Variant(u"inner")});
        EXPECT_EQ(source->Point().Unadvise(a->cookie), S_OK);
    };
    Raise(5, {Variant(u"outer")});
    Raise(5, {Variant(u"after")});
    const std::vector<std::string> expected{"a:5(outer)", "a:5(inner)", "b:5(inner)", "b:5(outer)",
                                            "b:5(after)"};
    EXPECT_EQ(log, expected);
}

}  // namespace
