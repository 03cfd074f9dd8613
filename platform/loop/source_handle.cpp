#include "platform/loop/source_handle.h"

#include <glib.h>

#include <utility>

namespace platform::loop {

SourceHandle::~SourceHandle() { Reset(); }

SourceHandle::SourceHandle(SourceHandle&& other) noexcept : source_(std::exchange(other.source_, nullptr)) {}

SourceHandle& SourceHandle::operator=(SourceHandle&& other) noexcept {
    if (this != &other) {
        Reset();
        source_ = std::exchange(other.source_, nullptr);
    }
    return *this;
}

void SourceHandle::Reset() noexcept {
    if (GSource* s = std::exchange(source_, nullptr)) {
        g_source_destroy(s);
        g_source_unref(s);
    }
}

void SourceHandle::Detach() noexcept {
    if (GSource* s = std::exchange(source_, nullptr)) g_source_unref(s);
}

bool SourceHandle::Active() const noexcept { return source_ != nullptr && !g_source_is_destroyed(source_); }

}  // namespace platform::loop
