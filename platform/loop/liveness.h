#pragma once
// "Does the object still exist?" for frames that called out of it. An object
// keeps a Liveness member; a caller takes an Observer before a call that may
// delete the object (or make it a zombie) and checks it afterwards instead of
// touching the object.
#include <memory>

namespace platform::loop {

class Liveness {
public:
    class Observer {
    public:
        Observer() = default;
        bool Alive() const noexcept { return !token_.expired(); }
        explicit operator bool() const noexcept { return Alive(); }

    private:
        friend class Liveness;
        explicit Observer(std::weak_ptr<const int> token) : token_(std::move(token)) {}
        std::weak_ptr<const int> token_;
    };

    Liveness() : token_(std::make_shared<const int>(0)) {}
    // A copy is another object with a life of its own.
    Liveness(const Liveness&) : Liveness() {}
    Liveness& operator=(const Liveness&) noexcept { return *this; }
    ~Liveness() = default;

    Observer Observe() const { return Observer(token_); }
    // Marks the object gone before its memory is freed (a zombie).
    void Kill() noexcept { token_.reset(); }
    bool Alive() const noexcept { return token_ != nullptr; }

private:
    std::shared_ptr<const int> token_;
};

}  // namespace platform::loop
