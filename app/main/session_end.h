#pragma once
// The program's end from outside it: SIGTERM (what a logout sends), SIGINT,
// SIGHUP and the session manager's end of session run the same shutdown as
// the Quit command, from the loop. The watch begins before the start can show
// anything: an end asked for during the start closes its box unanswered, the
// start finishes without asking anything more, and the shutdown follows.
#include <QObject>
#include <optional>

#include "platform/loop/end_signals.h"
#include "platform/ui/modal_windows.h"

namespace start {

class SessionEnd : public QObject {
public:
    // Watches for the end while it lives.
    SessionEnd();
    ~SessionEnd() override;
    SessionEnd(const SessionEnd&) = delete;
    SessionEnd& operator=(const SessionEnd&) = delete;

    // The start is over: an end from now on runs the shutdown at once; one
    // asked for during the start runs it from the loop.
    void Started();
    // True once the end was asked for.
    bool Requested() const { return ending_.has_value(); }

protected:
    // The session manager's end of session reaches the application as its
    // quit event; taken here, it never closes the windows one by one (the
    // main window's close box would only go to the tray).
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Request();

    bool started_ = false;
    // From the end's request on, nobody answers a box.
    std::optional<vb::ProgramEnding> ending_;
    platform::loop::EndSignals signals_;
};

}  // namespace start
