#pragma once
// The program's end from outside it: SIGTERM (what a logout sends), SIGINT,
// SIGHUP and the session manager's end of session run the same shutdown as
// the Quit command, from the loop.
#include <QObject>

#include "platform/loop/end_signals.h"

namespace start {

class SessionEnd : public QObject {
public:
    // Watches for the end while it lives.
    SessionEnd();
    ~SessionEnd() override;
    SessionEnd(const SessionEnd&) = delete;
    SessionEnd& operator=(const SessionEnd&) = delete;

protected:
    // The session manager's end of session reaches the application as its
    // quit event; taken here, it never closes the windows one by one (the
    // main window's close box would only go to the tray).
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    platform::loop::EndSignals signals_;
};

}  // namespace start
