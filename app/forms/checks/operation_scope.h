#pragma once
// One server operation of the main window (a check, a deletion on the
// server, a connection test) for the object's lifetime: the program's one
// operation slot, the automatic check's pause and retrieval mode. The
// operation takes each when it needs it and gives it back in its own order;
// what it still holds when the object goes, as when a failure abandons the
// operation, is given back then: retrieval mode left, the check resumed,
// the slot freed.
#include <functional>
#include <optional>
#include <string>

#include "app/forms/checks/checks_paused.h"
#include "app/general/server_operation.h"
#include "platform/loop/handler_barrier.h"

namespace forms {

// The main window as a server operation sees it.
class OperationWindow {
public:
    // enable false enters retrieval mode, with the Stop button when
    // showStop; true leaves it.
    virtual void SetRetrievalMode(bool enable, bool showStop) = 0;
    virtual CheckPauses& Checks() = 0;

protected:
    ~OperationWindow() = default;
};

class OperationScope {
public:
    // `doing` names the operation in the report of a failure that ends it
    // ("checking all accounts").
    OperationScope(OperationWindow& main, std::string doing);
    ~OperationScope();
    OperationScope(const OperationScope&) = delete;
    OperationScope& operator=(const OperationScope&) = delete;

    // False when another operation runs: the caller does nothing.
    bool Started() const { return slot_.Started(); }

    // The automatic check rests until ResumeChecks.
    void PauseChecks();
    void ResumeChecks();
    // Retrieval mode, with the Stop button when showStop, until LeaveRetrieval.
    void EnterRetrieval(bool showStop);
    void LeaveRetrieval();

private:
    OperationWindow& main_;
    modGeneral::ServerOperation slot_;
    platform::loop::Activity doing_;
    std::optional<ChecksPaused> paused_;
    std::optional<bool> retrieval_;  // showStop, while in retrieval mode
};

// body as a server operation of its own; false, with nothing done, while
// another one runs.
bool RunServerOperation(OperationWindow& main, const std::string& doing,
                        const std::function<void(OperationScope&)>& body);

}  // namespace forms
