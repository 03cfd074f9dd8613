#include "platform/loop/handler_barrier.h"

#include <errno.h>
#include <glib.h>

#include <cstdio>
#include <set>
#include <utility>

namespace platform::loop {
namespace {

// The dispatch depth (g_main_depth) of the innermost barrier that claimed
// its dispatch; 0 outside any.
thread_local int tClaimedDepth = 0;
// The innermost activity the failure being unwound has left.
thread_local std::string tInterrupted;
thread_local FailureReporter* tReporter = nullptr;
thread_local bool tTelling = false;

std::string ErrorText(const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return {};
    }
}

void WriteToStandardError(const HandlerFailure& f) {
    std::fprintf(stderr, "%s: %s failed: %s\n", program_invocation_short_name, f.activity.c_str(),
                 f.error.empty() ? "an error of unknown kind" : f.error.c_str());
}

}  // namespace

namespace detail {

Barrier::Barrier() {
    const int depth = g_main_depth();
    if (depth == 0 || depth == tClaimedDepth) return;
    claimed_ = true;
    previous_ = tClaimedDepth;
    tClaimedDepth = depth;
    outerInterrupted_ = std::exchange(tInterrupted, {});
}

void Barrier::Release() {
    if (!claimed_) return;
    claimed_ = false;
    tClaimedDepth = previous_;
    tInterrupted = std::move(outerInterrupted_);
}

void Barrier::Fail(std::string_view event, std::exception_ptr failure) {
    std::string interrupted = std::exchange(tInterrupted, {});
    Release();
    // Told outside the barrier: a failure while telling is the next dispatch's.
    const std::string outer = std::exchange(tInterrupted, std::move(interrupted));
    ReportFailure(event, std::move(failure));
    tInterrupted = outer;
}

}  // namespace detail

void ReportFailure(std::string_view event, std::exception_ptr failure) {
    HandlerFailure told{tInterrupted.empty() ? std::string(event) : std::move(tInterrupted),
                        ErrorText(failure), failure};
    tInterrupted.clear();
    if (tReporter == nullptr || tTelling || !tReporter->told_.insert({told.activity, told.error}).second) {
        WriteToStandardError(told);
        return;
    }
    tTelling = true;
    try {
        tReporter->tell_(told);
    } catch (...) {
        WriteToStandardError(told);
    }
    tTelling = false;
}

Activity::Activity(std::string what) : what_(std::move(what)), unwinding_(std::uncaught_exceptions()) {}

Activity::~Activity() {
    if (std::uncaught_exceptions() > unwinding_ && tInterrupted.empty()) tInterrupted = std::move(what_);
}

FailureReporter::FailureReporter(std::function<void(const HandlerFailure&)> tell)
    : tell_(std::move(tell)), previous_(tReporter) {
    tReporter = this;
}

FailureReporter::~FailureReporter() { tReporter = previous_; }

}  // namespace platform::loop
