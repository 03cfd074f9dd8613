#pragma once
// Where a handler's failure ends. The event loop calls the program's handlers
// (a control's event, a timer's tick, the tray, a signal, a posted call); an
// exception a handler throws must not unwind into the loop, which would end
// the program. It ends at the handler's dispatch instead: the handler's work
// is abandoned (its scope objects give back what they hold on the way out),
// the failure is told once, and the loop goes on.
#include <exception>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <utility>

namespace platform::loop {

// A failure as the one who tells the user gets it.
struct HandlerFailure {
    // What the failure interrupted: the innermost Activity it left, else the
    // event whose handler failed.
    std::string activity;
    // What went wrong: the exception's own text (empty for an exception that
    // is no std::exception; `exception` has it for whoever knows its type).
    std::string error;
    std::exception_ptr exception;
};

namespace detail {

// Claims the dispatch when the loop called the handler, not code that the
// loop runs (a value set from code runs a control's handler): each dispatch
// of the loop has one barrier, at its outermost handler.
class Barrier {
public:
    Barrier();
    ~Barrier() { Release(); }
    Barrier(const Barrier&) = delete;
    Barrier& operator=(const Barrier&) = delete;

    bool Claimed() const { return claimed_; }
    // Tells the failure that ended the handler (inside its catch block).
    void Fail(std::string_view event, std::exception_ptr failure);

private:
    void Release();

    bool claimed_ = false;
    int previous_ = 0;
    // What an outer dispatch's failure had left when this one began.
    std::string outerInterrupted_;
};

}  // namespace detail

// For a boundary no exception may cross whoever called (an interface another
// library calls): tells a failure caught there as a barrier would.
void ReportFailure(std::string_view event, std::exception_ptr failure);

// Runs the handler of an event. Dispatched by the loop, an exception the
// handler throws ends here and is told; called from code, it passes on to
// that code, as any failing procedure's does.
template <class F>
void RunHandler(std::string_view event, F&& handler) {
    detail::Barrier barrier;
    if (!barrier.Claimed()) {
        std::forward<F>(handler)();
        return;
    }
    try {
        std::forward<F>(handler)();
    } catch (...) {
        barrier.Fail(event, std::current_exception());
    }
}

// What the program is doing while the object lives. Left by an exception, it
// is what the failure interrupted, for the report.
class Activity {
public:
    explicit Activity(std::string what);
    ~Activity();
    Activity(const Activity&) = delete;
    Activity& operator=(const Activity&) = delete;

private:
    std::string what_;
    int unwinding_;
};

// While the object lives, failures go to `tell` (the program's message box)
// instead of standard error. A failure that comes while one is being told,
// or that was told already (the same activity and error, as a timer failing
// at every tick gives), goes to standard error only: the user sees each
// failure once, and never a pile of boxes.
class FailureReporter {
public:
    explicit FailureReporter(std::function<void(const HandlerFailure&)> tell);
    ~FailureReporter();
    FailureReporter(const FailureReporter&) = delete;
    FailureReporter& operator=(const FailureReporter&) = delete;

private:
    std::function<void(const HandlerFailure&)> tell_;
    FailureReporter* previous_;
    std::set<std::pair<std::string, std::string>> told_;  // activity and error
    friend void ReportFailure(std::string_view, std::exception_ptr);
};

}  // namespace platform::loop
