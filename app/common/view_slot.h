#pragma once
// A data module reaches a window only through a small view interface that the
// window registers for its own lifetime. Registering returns a scoped handle:
// when the handle goes (the window unloads or is destroyed, however it ends),
// the module stops reaching the view, so no module can call into a dead window.
#include <utility>

template <class View>
class ViewSlot {
public:
    class [[nodiscard]] Registration {
    public:
        Registration() = default;
        Registration(Registration&& other) noexcept
            : slot_(std::exchange(other.slot_, nullptr)), view_(std::exchange(other.view_, nullptr)) {}
        Registration& operator=(Registration&& other) noexcept {
            if (this != &other) {
                Reset();
                slot_ = std::exchange(other.slot_, nullptr);
                view_ = std::exchange(other.view_, nullptr);
            }
            return *this;
        }
        Registration(const Registration&) = delete;
        Registration& operator=(const Registration&) = delete;
        ~Registration() { Reset(); }

        // Ends the registration early; a later registration of another view stays.
        void Reset() {
            if (slot_ && slot_->view_ == view_) slot_->view_ = nullptr;
            slot_ = nullptr;
            view_ = nullptr;
        }

    private:
        friend class ViewSlot;
        Registration(ViewSlot* slot, View* view) : slot_(slot), view_(view) {}
        ViewSlot* slot_ = nullptr;
        View* view_ = nullptr;
    };

    ViewSlot() = default;
    ViewSlot(const ViewSlot&) = delete;
    ViewSlot& operator=(const ViewSlot&) = delete;

    // The newest registration wins until its handle goes.
    Registration Register(View& view) {
        view_ = &view;
        return Registration(this, &view);
    }
    // The registered view, or null when no window shows this module.
    View* Get() const { return view_; }

private:
    View* view_ = nullptr;
};
