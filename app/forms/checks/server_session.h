#pragma once
// One session with an account's mail server through the component object,
// as the checks, the connection test and the deletions on the server run it:
// the account's connection settings, the disconnect, the boxes of a failed
// call, the component object renewed, and the component's events (the
// session's start, each message received, the download's progress, a
// refused certificate).
#include <QElapsedTimer>
#include <QString>
#include <cstdint>
#include <vector>

#include "app/check/progress_pace.h"
#include "app/forms/checks/component_events.h"
#include "app/forms/main_window/frm_main_design.h"
#include "app/general/check_status.h"
#include "platform/com/com_ptr.h"

namespace forms {

struct CallFailure;

class ServerSession final : private ComponentEventsView {
public:
    // The controls the window's description marks "for ServerSession".
    using Controls = frmMainDesign::ServerSessionControls;

    // Binds the controls of design; window is the one the design sits in
    // (its busy pointer).
    ServerSession(vb::Form& window, frmMainDesign& design);
    ServerSession(const ServerSession&) = delete;
    ServerSession& operator=(const ServerSession&) = delete;

    // ---- the component's events ----
    // The component object gets the session as its notification; after
    // StopListening the events reach nothing (the window is going). run: the
    // check runs' record, whose stop ends a session and which the sessions
    // keep up to date (connected, messages received) from then on.
    void ListenToComponent(modGeneral::CheckRunState& run);
    void StopListening();

    // ---- the session ----
    // The component object gets the account's connection settings; the busy
    // pointer and the tab animation go on; the record's Connected is cleared.
    void PrepareConnection(int16_t account);
    // The animation, busy pointer and progress bar go off and the component
    // disconnects, sending the deletions marked and QUIT; the result is the
    // component's.
    com::HRESULT DisconnectAccount();
    // The user's stop (or the quit's) at any stage of a session: it ends at
    // once, and the component object is replaced by a fresh one.
    void StopSession();
    // The component object replaced by a fresh one, which the session hears;
    // the old one goes with everything it holds once nothing calls it.
    void RenewComponent();

    // ---- the download ----
    // A download of total messages starts: its progress counts from the first.
    void StartDownload(int16_t total);
    // The bytes each message of the download brought, in order: a server may
    // send more than it listed. Taken once the download has ended.
    std::vector<int64_t> TakeDownloadedBytes();

    // ---- failure boxes ----
    // The box for a failed call, titled title.
    void ShowCallFailure(int16_t account, const CallFailure& failure, const QString& title);
    // The error boxes of the program: a numbered component error (the
    // plainer text some codes get is written back into text), and a failure
    // of the program itself.
    void ShowComponentError(int16_t account, int32_t code, QString& text, const QString& title);
    void ShowUnexpectedError(int16_t account, int32_t number, const QString& description,
                             const QString& title);

private:
    // The session's progress counts total messages from the first.
    void CountFromFirst(int16_t total);
    static void ShowErrorBox(const QString& prompt, const QString& title);

    void OnConnected() override;
    void OnReceived() override;
    void OnProgress(IqelPop3Com* owner, int32_t position, int32_t total) override;
    void OnCertificateRefused(int32_t code, const QString& reason) override;

    vb::Form& window_;
    Controls c_;
    // The check runs' record, from ListenToComponent on.
    modGeneral::CheckRunState* run_ = nullptr;
    com::ComPtr<ComponentEvents> events_;
    // The server certificate this session refused (its verification code,
    // 0 for none, and the reason), which the failure's box names.
    struct RefusedCertificate {
        int32_t code = 0;
        QString reason;
    };
    RefusedCertificate mRefusedCertificate;
    // The messages the session in progress fetches, for its progress text.
    int16_t mDownloadTotal = 0;
    // The bytes each message of the download brought, in order, and those of
    // the message arriving.
    std::vector<int64_t> mDownloadedBytes;
    int64_t mMessageBytes = 0;
    // When the download's progress is shown, by the clock of the window.
    modCheck::ProgressPace mProgressPace;
    QElapsedTimer mProgressClock;
};

}  // namespace forms
