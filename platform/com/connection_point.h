#pragma once
// Outgoing events: a connection point keeps the advised sinks of one
// events interface and fires to them through IDispatch::Invoke.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/com/com_class.h"
#include "platform/com/com_ptr.h"
#include "platform/com/dispatch.h"
#include "platform/com/dispatch_args.h"

namespace com {

struct IConnectionPointContainer;

struct CONNECTDATA {
    IUnknown* pUnk = nullptr;
    std::uint32_t dwCookie = 0;
};

struct IEnumConnections : IUnknown {
    using base_interface = IUnknown;
    static constexpr IID iid = GuidLiteral("{7FD081C4-26AC-4D68-96D2-BA772020392E}");

    virtual HRESULT Next(std::uint32_t count, CONNECTDATA* items, std::uint32_t* fetched) = 0;
    virtual HRESULT Skip(std::uint32_t count) = 0;
    virtual HRESULT Reset() = 0;
    virtual HRESULT Clone(IEnumConnections** copy) = 0;

protected:
    ~IEnumConnections() = default;
};

struct IConnectionPoint : IUnknown {
    using base_interface = IUnknown;
    static constexpr IID iid = GuidLiteral("{FBDE9B9B-5F22-450B-9517-01026EA65C89}");

    virtual HRESULT GetConnectionInterface(IID* events) = 0;
    virtual HRESULT GetConnectionPointContainer(IConnectionPointContainer** container) = 0;
    // The sink must answer the events interface; the cookie names the connection.
    virtual HRESULT Advise(IUnknown* sink, std::uint32_t* cookie) = 0;
    virtual HRESULT Unadvise(std::uint32_t cookie) = 0;
    virtual HRESULT EnumConnections(IEnumConnections** connections) = 0;

protected:
    ~IConnectionPoint() = default;
};

// The connection point of one events interface. Its container does not
// count on it staying: a point outlives a released container harmlessly.
class ConnectionPoint : public ComClass<IConnectionPoint> {
public:
    ConnectionPoint(const IID& events, IConnectionPointContainer* container) noexcept
        : events_(events), container_(container) {}

    HRESULT GetConnectionInterface(IID* events) override;
    HRESULT GetConnectionPointContainer(IConnectionPointContainer** container) override;
    HRESULT Advise(IUnknown* sink, std::uint32_t* cookie) override;
    HRESULT Unadvise(std::uint32_t cookie) override;
    HRESULT EnumConnections(IEnumConnections** connections) override;

    // Invokes `dispid` as a method on every sink in the order they were
    // advised, ignoring their results. Sinks may advise and unadvise during
    // the fire: one unadvised before its turn is skipped, one advised during
    // it hears from the next fire on.
    void Fire(DISPID dispid, DISPPARAMS& params, LCID lcid = LOCALE_USER_DEFAULT);
    void Fire(DISPID dispid, DispatchArgs& args, LCID lcid = LOCALE_USER_DEFAULT) {
        Fire(dispid, *args.Params(), lcid);
    }

    std::size_t SinkCount() const noexcept;
    const IID& EventsIid() const noexcept { return events_; }

    // Drops every sink and the link to the container (the container's end).
    void Disconnect() noexcept;

private:
    struct Sink {
        std::uint32_t cookie;
        ComPtr<IDispatch> sink;  // null once unadvised
    };

    void CompactIfIdle() noexcept;

    IID events_;
    IConnectionPointContainer* container_;
    std::vector<Sink> sinks_;
    std::uint32_t nextCookie_ = 1;
    std::uint32_t firing_ = 0;
};

}  // namespace com
