#include "platform/com/connection_point.h"

#include <algorithm>
#include <new>

#include "platform/com/connection_point_container.h"
#include "platform/com/snapshot_enum.h"

namespace com {

namespace {

struct Connection {
    ComPtr<IUnknown> sink;
    std::uint32_t cookie;
};

struct ConnectionPolicy {
    using Interface = IEnumConnections;
    using Item = CONNECTDATA;
    using Held = Connection;
    static HRESULT CopyOut(CONNECTDATA* out, const Connection& held) {
        out->dwCookie = held.cookie;
        out->pUnk = held.sink.Get();
        if (out->pUnk) out->pUnk->AddRef();
        return S_OK;
    }
};

}  // namespace

HRESULT ConnectionPoint::GetConnectionInterface(IID* events) {
    if (!events) return E_POINTER;
    *events = events_;
    return S_OK;
}

HRESULT ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** container) {
    if (!container) return E_POINTER;
    *container = container_;
    if (!container_) return E_UNEXPECTED;
    container_->AddRef();
    return S_OK;
}

HRESULT ConnectionPoint::Advise(IUnknown* sink, std::uint32_t* cookie) {
    if (!cookie) return E_POINTER;
    *cookie = 0;
    if (!sink) return E_POINTER;
    void* events = nullptr;
    if (FAILED(sink->QueryInterface(events_, &events)) || !events) return CONNECT_E_CANNOTCONNECT;
    // An events interface is a dispatch interface: its slots are IDispatch's.
    ComPtr<IDispatch> dispatch = AdoptRef(static_cast<IDispatch*>(events));
    try {
        sinks_.push_back({nextCookie_, std::move(dispatch)});
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    *cookie = nextCookie_++;
    return S_OK;
}

HRESULT ConnectionPoint::Unadvise(std::uint32_t cookie) {
    const auto it = std::find_if(sinks_.begin(), sinks_.end(),
                                 [cookie](const Sink& s) { return s.cookie == cookie && s.sink; });
    if (cookie == 0 || it == sinks_.end()) return CONNECT_E_NOCONNECTION;
    // Leave a hole so that a fire in progress keeps its place; the release
    // may run the sink's clean-up, which may call back here.
    ComPtr<IDispatch> gone = std::move(it->sink);
    CompactIfIdle();
    return S_OK;
}

HRESULT ConnectionPoint::EnumConnections(IEnumConnections** connections) {
    try {
        std::vector<Connection> items;
        for (const Sink& s : sinks_) {
            if (s.sink) items.push_back({ComPtr<IUnknown>(s.sink.Get()), s.cookie});
        }
        return SnapshotEnum<ConnectionPolicy>::Create(std::move(items), connections);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

void ConnectionPoint::Fire(DISPID dispid, DISPPARAMS& params, LCID lcid) {
    // A sink may release the container and with it this point.
    const ComPtr<ConnectionPoint> self(this);
    ++firing_;
    const std::size_t count = sinks_.size();
    for (std::size_t i = 0; i < count && i < sinks_.size(); ++i) {
        const ComPtr<IDispatch> sink = sinks_[i].sink;
        if (!sink) continue;
        sink->Invoke(dispid, GUID_NULL, lcid, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
    }
    --firing_;
    CompactIfIdle();
}

std::size_t ConnectionPoint::SinkCount() const noexcept {
    return static_cast<std::size_t>(
        std::count_if(sinks_.begin(), sinks_.end(), [](const Sink& s) { return static_cast<bool>(s.sink); }));
}

void ConnectionPoint::Disconnect() noexcept {
    container_ = nullptr;
    // By index: a release may re-enter and advise, which grows the list.
    for (std::size_t i = 0; i < sinks_.size(); ++i) {
        const ComPtr<IDispatch> gone = std::move(sinks_[i].sink);
    }
    CompactIfIdle();
}

void ConnectionPoint::CompactIfIdle() noexcept {
    if (firing_ > 0) return;
    std::erase_if(sinks_, [](const Sink& s) { return !s.sink; });
}

}  // namespace com
