#pragma once
// An enumerator over a copy of a collection taken when it was made: later
// changes of the collection do not disturb a loop that is running. Clones
// share the copy and start at the same position.
//
// Policy supplies: Interface (the IEnumXxx), Item (what Next hands out),
// Held (what the copy keeps) and static HRESULT CopyOut(Item*, const Held&).
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/com/com_class.h"

namespace com {

template <class Policy>
class SnapshotEnum : public ComClass<typename Policy::Interface> {
public:
    using Interface = typename Policy::Interface;
    using Item = typename Policy::Item;
    using Held = typename Policy::Held;
    using Items = std::vector<Held>;

    explicit SnapshotEnum(std::shared_ptr<const Items> items, std::size_t position = 0)
        : items_(std::move(items)), position_(position) {}

    static HRESULT Create(Items items, Interface** out) {
        if (!out) return E_POINTER;
        *out = nullptr;
        ComPtr<SnapshotEnum> e;
        const HRESULT hr = CreateComObject(&e, std::make_shared<const Items>(std::move(items)));
        if (FAILED(hr)) return hr;
        *out = e.Detach();
        return S_OK;
    }

    HRESULT Next(std::uint32_t count, Item* out, std::uint32_t* fetched) override {
        if (!out || (!fetched && count != 1)) return E_POINTER;
        std::uint32_t done = 0;
        while (done < count && position_ < items_->size()) {
            const HRESULT hr = Policy::CopyOut(&out[done], (*items_)[position_]);
            if (FAILED(hr)) break;
            ++done;
            ++position_;
        }
        if (fetched) *fetched = done;
        return done == count ? S_OK : S_FALSE;
    }
    HRESULT Skip(std::uint32_t count) override {
        const std::size_t left = items_->size() - position_;
        if (count > left) {
            position_ = items_->size();
            return S_FALSE;
        }
        position_ += count;
        return S_OK;
    }
    HRESULT Reset() override {
        position_ = 0;
        return S_OK;
    }
    HRESULT Clone(Interface** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        ComPtr<SnapshotEnum> e;
        const HRESULT hr = CreateComObject(&e, items_, position_);
        if (FAILED(hr)) return hr;
        *out = e.Detach();
        return S_OK;
    }

private:
    std::shared_ptr<const Items> items_;
    std::size_t position_;
};

}  // namespace com
