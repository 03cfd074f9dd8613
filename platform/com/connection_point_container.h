#pragma once
// The object side of outgoing events: finds the connection point of an
// events interface. A class lists ConnectionPointContainerImpl among its
// interfaces, adds its points once, and fires through them.
#include <cstdint>
#include <vector>

#include "platform/com/com_ptr.h"
#include "platform/com/connection_point.h"

namespace com {

struct IEnumConnectionPoints : IUnknown {
    using base_interface = IUnknown;
    static constexpr IID iid = GuidLiteral("{D1F5EFB1-EF89-4EA0-88AA-39D962514853}");

    virtual HRESULT Next(std::uint32_t count, IConnectionPoint** items, std::uint32_t* fetched) = 0;
    virtual HRESULT Skip(std::uint32_t count) = 0;
    virtual HRESULT Reset() = 0;
    virtual HRESULT Clone(IEnumConnectionPoints** copy) = 0;

protected:
    ~IEnumConnectionPoints() = default;
};

struct IConnectionPointContainer : IUnknown {
    using base_interface = IUnknown;
    static constexpr IID iid = GuidLiteral("{9DA4E87F-3E6C-46D3-919E-6A2B477DF7CB}");

    virtual HRESULT EnumConnectionPoints(IEnumConnectionPoints** points) = 0;
    // CONNECT_E_NOCONNECTION when the object has no point for `events`.
    virtual HRESULT FindConnectionPoint(const IID& events, IConnectionPoint** point) = 0;

protected:
    ~IConnectionPointContainer() = default;
};

class ConnectionPointContainerImpl : public IConnectionPointContainer {
public:
    HRESULT EnumConnectionPoints(IEnumConnectionPoints** points) override;
    HRESULT FindConnectionPoint(const IID& events, IConnectionPoint** point) override;

protected:
    ConnectionPointContainerImpl() = default;
    ~ConnectionPointContainerImpl();

    // Adds the point of an events interface (from the constructor or
    // FinalConstruct); null when out of memory.
    ConnectionPoint* AddConnectionPoint(const IID& events);
    // The point of `events`, or null.
    ConnectionPoint* ConnectionPointOf(const IID& events) const noexcept;
    // Drops every sink of every point (from FinalRelease): later fires,
    // also one in progress, reach nobody.
    void DisconnectConnectionPoints() noexcept;

private:
    std::vector<ComPtr<ConnectionPoint>> points_;
};

}  // namespace com
