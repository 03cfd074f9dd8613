#pragma once
// A control array: controls of one kind that share a name and are told apart
// by an index, which need not start at 0 nor be dense. The array owns its
// elements; one handler wired to the array serves every element and gets the
// element's index first.
#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "platform/ui/vb_error.h"

namespace vb {

// One element to create: its index and its container (a widget, or the parent
// menu of a menu entry).
template <class Parent>
struct Element {
    int index;
    Parent parent;
};

template <class T>
class ControlArray {
public:
    ControlArray() = default;
    // The designed elements, created in the order given.
    template <class... Parents>
    explicit ControlArray(Element<Parents>... elements) {
        (Load(elements.index, elements.parent), ...);
    }
    ControlArray(const ControlArray&) = delete;
    ControlArray& operator=(const ControlArray&) = delete;
    // Elements go in reverse order of creation, so an element that contains a
    // later one never outlives it.
    ~ControlArray() {
        while (!order_.empty()) {
            elements_.erase(order_.back());
            order_.pop_back();
        }
    }

    // Creates element index in parent at run time; wired handlers reach it too.
    // An index already in use is an error, as loading a loaded element is.
    template <class Parent>
    T& Load(int index, Parent&& parent) {
        if (Exists(index)) throw VbError(360, "Object already loaded");
        auto& slot = elements_[index];
        slot = std::make_unique<T>(std::forward<Parent>(parent));
        order_.push_back(index);
        for (const auto& wire : wires_) wire(index, *slot);
        return *slot;
    }
    // Removes a run-time element.
    void Unload(int index) {
        if (elements_.erase(index) == 0) throw VbError(340, "Control array element does not exist");
        std::erase(order_, index);
    }

    T& operator()(int index) const {
        auto it = elements_.find(index);
        if (it == elements_.end()) throw VbError(340, "Control array element does not exist");
        return *it->second;
    }
    bool Exists(int index) const { return elements_.count(index) != 0; }
    int Count() const { return static_cast<int>(elements_.size()); }
    int LBound() const { return elements_.empty() ? 0 : elements_.begin()->first; }
    int UBound() const { return elements_.empty() ? -1 : elements_.rbegin()->first; }

    // Sets the event member `event` of every element, present and future, to
    // call handler(Index, arguments...).
    template <class F, class... Args>
    void Wire(std::function<void(Args...)> T::*event, F handler) {
        auto wire = [event, handler](int index, T& element) {
            element.*event = [handler, index](Args... args) { handler(index, std::forward<Args>(args)...); };
        };
        for (auto& [index, element] : elements_) wire(index, *element);
        wires_.push_back(std::move(wire));
    }

    // Iterates (index, element) in index order.
    template <class F>
    void ForEach(F f) const {
        for (const auto& [index, element] : elements_) f(index, *element);
    }

private:
    std::map<int, std::unique_ptr<T>> elements_;
    std::vector<int> order_;
    std::vector<std::function<void(int, T&)>> wires_;
};

}  // namespace vb
