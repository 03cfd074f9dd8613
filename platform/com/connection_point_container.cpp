#include "platform/com/connection_point_container.h"

#include <new>

#include "platform/com/snapshot_enum.h"

namespace com {

namespace {

struct PointPolicy {
    using Interface = IEnumConnectionPoints;
    using Item = IConnectionPoint*;
    using Held = ComPtr<IConnectionPoint>;
    static HRESULT CopyOut(IConnectionPoint** out, const ComPtr<IConnectionPoint>& held) {
        return held.CopyTo(out);
    }
};

}  // namespace

ConnectionPointContainerImpl::~ConnectionPointContainerImpl() { DisconnectConnectionPoints(); }

HRESULT ConnectionPointContainerImpl::EnumConnectionPoints(IEnumConnectionPoints** points) {
    try {
        std::vector<ComPtr<IConnectionPoint>> items(points_.begin(), points_.end());
        return SnapshotEnum<PointPolicy>::Create(std::move(items), points);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT ConnectionPointContainerImpl::FindConnectionPoint(const IID& events, IConnectionPoint** point) {
    if (!point) return E_POINTER;
    *point = nullptr;
    ConnectionPoint* found = ConnectionPointOf(events);
    if (!found) return CONNECT_E_NOCONNECTION;
    found->AddRef();
    *point = found;
    return S_OK;
}

ConnectionPoint* ConnectionPointContainerImpl::AddConnectionPoint(const IID& events) {
    try {
        ComPtr<ConnectionPoint> point;
        if (FAILED(CreateComObject(&point, events, static_cast<IConnectionPointContainer*>(this))))
            return nullptr;
        points_.push_back(point);
        return point.Get();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

ConnectionPoint* ConnectionPointContainerImpl::ConnectionPointOf(const IID& events) const noexcept {
    for (const auto& p : points_) {
        if (p->EventsIid() == events) return p.Get();
    }
    return nullptr;
}

void ConnectionPointContainerImpl::DisconnectConnectionPoints() noexcept {
    for (std::size_t i = 0; i < points_.size(); ++i) points_[i]->Disconnect();
}

}  // namespace com
