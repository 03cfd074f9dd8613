#include "app/forms/checks/operation_scope.h"

namespace forms {

OperationScope::OperationScope(OperationWindow& main, std::string doing)
    : main_(main), doing_(std::move(doing)) {}

OperationScope::~OperationScope() {
    // On the way out of a failure nothing more may be thrown: a step that
    // fails here still lets the others run.
    try {
        LeaveRetrieval();
    } catch (...) {
    }
    ResumeChecks();
}

void OperationScope::PauseChecks() {
    if (paused_ || !Started()) return;
    paused_.emplace(main_.Checks(), PausedChecks::Automatic);
}

void OperationScope::ResumeChecks() { paused_.reset(); }

void OperationScope::EnterRetrieval(bool showStop) {
    if (retrieval_ || !Started()) return;
    retrieval_ = showStop;
    main_.SetRetrievalMode(false, showStop);
}

void OperationScope::LeaveRetrieval() {
    if (!retrieval_) return;
    const bool showStop = *retrieval_;
    retrieval_.reset();
    main_.SetRetrievalMode(true, showStop);
}

bool RunServerOperation(OperationWindow& main, const std::string& doing,
                        const std::function<void(OperationScope&)>& body) {
    OperationScope operation(main, doing);
    if (!operation.Started()) return false;
    body(operation);
    return true;
}

}  // namespace forms
