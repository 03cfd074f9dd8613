#pragma once
// A counted reference to a COM-style object.
#include <cstddef>
#include <utility>

#include "platform/com/unknown.h"

namespace com {

template <class T>
class ComPtr {
public:
    ComPtr() noexcept = default;
    ComPtr(std::nullptr_t) noexcept {}
    // Takes a new reference.
    ComPtr(T* object) noexcept : ptr_(object) { AddRefIf(); }
    ComPtr(const ComPtr& other) noexcept : ptr_(other.ptr_) { AddRefIf(); }
    ComPtr(ComPtr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
    template <class U>
    ComPtr(const ComPtr<U>& other) noexcept : ptr_(other.Get()) {
        AddRefIf();
    }
    ~ComPtr() { ReleaseIf(); }

    ComPtr& operator=(const ComPtr& other) noexcept {
        ComPtr(other).Swap(*this);
        return *this;
    }
    ComPtr& operator=(ComPtr&& other) noexcept {
        ComPtr(std::move(other)).Swap(*this);
        return *this;
    }
    ComPtr& operator=(T* object) noexcept {
        ComPtr(object).Swap(*this);
        return *this;
    }
    ComPtr& operator=(std::nullptr_t) noexcept {
        Reset();
        return *this;
    }

    T* Get() const noexcept { return ptr_; }
    T* operator->() const noexcept { return ptr_; }
    T& operator*() const noexcept { return *ptr_; }
    explicit operator bool() const noexcept { return ptr_ != nullptr; }

    // Drops the reference (the object may go away here).
    void Reset() noexcept {
        if (T* old = std::exchange(ptr_, nullptr)) old->Release();
    }
    // Adopts a reference the caller already owns.
    void Attach(T* object) noexcept {
        ReleaseIf();
        ptr_ = object;
    }
    // Hands the reference to the caller.
    [[nodiscard]] T* Detach() noexcept { return std::exchange(ptr_, nullptr); }

    // For out parameters: releases the current object first.
    T** ReleaseAndGetAddressOf() noexcept {
        Reset();
        return &ptr_;
    }
    void** ReleaseAndGetVoidAddress() noexcept { return reinterpret_cast<void**>(ReleaseAndGetAddressOf()); }

    // Gives the caller its own reference ([out] parameters).
    HRESULT CopyTo(T** out) const noexcept {
        if (!out) return E_POINTER;
        *out = ptr_;
        if (ptr_) ptr_->AddRef();
        return S_OK;
    }

    template <class U>
    HRESULT As(ComPtr<U>* out) const noexcept {
        if (!out) return E_POINTER;
        if (!ptr_) {
            out->Reset();
            return E_POINTER;
        }
        return ptr_->QueryInterface(IidOf<U>(), out->ReleaseAndGetVoidAddress());
    }
    template <class U>
    ComPtr<U> As() const noexcept {
        ComPtr<U> out;
        As(&out);
        return out;
    }

    void Swap(ComPtr& other) noexcept { std::swap(ptr_, other.ptr_); }

    friend bool operator==(const ComPtr& a, const ComPtr& b) noexcept { return a.ptr_ == b.ptr_; }
    friend bool operator==(const ComPtr& a, std::nullptr_t) noexcept { return a.ptr_ == nullptr; }

private:
    void AddRefIf() noexcept {
        if (ptr_) ptr_->AddRef();
    }
    void ReleaseIf() noexcept {
        if (ptr_) ptr_->Release();
    }

    T* ptr_ = nullptr;
};

// Adopts a reference returned by a creating call.
template <class T>
ComPtr<T> AdoptRef(T* object) noexcept {
    ComPtr<T> p;
    p.Attach(object);
    return p;
}

}  // namespace com
