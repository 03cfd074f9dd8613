#include "app/forms/checks/server_session.h"

#include <algorithm>
#include <utility>

#include "app/accounts/account_table.h"
#include "app/check/check_report.h"
#include "app/check/check_texts.h"
#include "app/forms/checks/component_calls.h"
#include "app/forms/checks/component_object.h"
#include "app/forms/main_window/window_slots.h"
#include "app/general/check_status.h"
#include "app/options/option_values.h"
#include "platform/com/bstr.h"
#include "platform/ui/msg_box.h"

namespace forms {

namespace {

constexpr int kBusyPointer = 11;

com::Bstr ToBstr(const QString& text) { return com::Bstr(text.toStdU16String()); }

// The account's port text as a number; a text that is no number fails as a
// type mismatch.
int32_t PortNumber(const QString& port) {
    bool ok = false;
    const int32_t number = port.trimmed().toInt(&ok);
    if (!ok) throw CallFailure{false, 13, QStringLiteral("Type mismatch")};
    return number;
}

}  // namespace

ServerSession::ServerSession(vb::Form& window, frmMainDesign& design) : window_(window), c_(design) {}

void ServerSession::ListenToComponent(modGeneral::CheckRunState& run) {
    run_ = &run;
    events_ = com::MakeComObject<ComponentEvents>(static_cast<ComponentEventsView&>(*this), run.UserStop);
    gPop3->putref_Notification(events_.Get());
}

void ServerSession::StopListening() {
    if (events_) events_->Detach();
    events_.Reset();
}

void ServerSession::PrepareConnection(int16_t a) {
    using namespace modAccounts;
    window_.SetMousePointer(kBusyPointer);
    c_.tmrRetrieveMessage.SetEnabled(true);
    if (!run_->TestingAccount)
        c_.StatusBar.SetPanelText(panel::kResult,
                                  gAccounts[a].Name + QStringLiteral(" - Connection in Progress"));
    IqelPop3Com& pop3 = Pop3();
    // Security first: putting it resets the port, and the account's own port wins.
    Check(pop3.put_Security(gAccounts[a].Secure == 1 ? SecurityImplicit : SecurityNone));
    Check(pop3.put_Timeout(modOptions::gOpt.ConnectTimeOut));
    Check(pop3.put_Hostname(ToBstr(gAccounts[a].Server).Get()));
    Check(pop3.put_Port(PortNumber(gAccounts[a].Port)));
    Check(pop3.put_Login(ToBstr(gAccounts[a].LoginID).Get()));
    Check(pop3.put_Password(ToBstr(gAccounts[a].Password).Get()));
    Check(pop3.put_Blocking(com::VARIANT_TRUE));
    Check(pop3.put_Authentication(AuthAny));
    run_->Connected = false;
    mRefusedCertificate = {};
}

com::HRESULT ServerSession::DisconnectAccount() {
    c_.tmrRetrieveMessage.SetEnabled(false);
    window_.SetMousePointer(0);
    c_.ProgressBar.SetVisible(false);
    return gPop3 ? gPop3->Disconnect() : com::S_OK;
}

void ServerSession::StopSession() {
    // Disconnect ends a session that waits for the server at any stage
    // (connecting, TLS, login, listing, download) without QUIT.
    DisconnectAccount();
    // The stopped object's blocking call is still on the stack: it keeps
    // itself alive until it returns, and tells this window nothing more.
    RenewComponent();
}

void ServerSession::RenewComponent() {
    // A fresh object serves every later operation; without one the old
    // object does. The old one is released here: a component object lives
    // on the thread that made it.
    QString error;
    com::ComPtr<IqelPop3Com> fresh = CreateComponent(error);
    if (!fresh) return;
    gPop3->putref_Notification(nullptr);
    fresh->putref_Notification(events_.Get());
    gPop3 = std::move(fresh);
}

void ServerSession::StartDownload(int16_t total) {
    CountFromFirst(total);
    mDownloadedBytes.clear();
    mMessageBytes = 0;
}

void ServerSession::CountFromFirst(int16_t total) {
    run_->ReceivedCount = 1;
    mDownloadTotal = total;
    mProgressPace.Start();
}

std::vector<int64_t> ServerSession::TakeDownloadedBytes() { return std::exchange(mDownloadedBytes, {}); }

void ServerSession::ShowCallFailure(int16_t a, const CallFailure& failure, const QString& title) {
    QString text = failure.text;
    // The session ended because its server's certificate was refused: the
    // box names the check's failure rather than the abort it caused.
    if (failure.component && failure.number == modCheck::kConnectionAborted &&
        mRefusedCertificate.code != 0) {
        text = modCheck::CertificateRefusedText(mRefusedCertificate.reason);
        ShowComponentError(a, mRefusedCertificate.code, text, title);
    } else if (failure.component)
        ShowComponentError(a, failure.number, text, title);
    else
        ShowUnexpectedError(a, failure.number, text, title);
}

void ServerSession::ShowComponentError(int16_t a, int32_t code, QString& text, const QString& title) {
    ShowErrorBox(modCheck::ComponentErrorPrompt(modAccounts::gAccounts[a].Name, code, text, title), title);
}

void ServerSession::ShowUnexpectedError(int16_t a, int32_t number, const QString& description,
                                        const QString& title) {
    ShowErrorBox(modCheck::UnexpectedErrorPrompt(modAccounts::gAccounts[a].Name, number, description), title);
}

void ServerSession::ShowErrorBox(const QString& prompt, const QString& title) {
    vb::MsgBox(prompt, vb::vbCritical, modGeneral::gAppName + QStringLiteral(" - ") + title);
}

void ServerSession::OnConnected() {
    run_->Connected = true;
    // Every session's progress counts its own messages, from the first: a
    // deletion or a connection test reads them as a check does.
    CountFromFirst(MessageCount());
}

void ServerSession::OnReceived() {
    ++run_->ReceivedCount;
    mDownloadedBytes.push_back(std::exchange(mMessageBytes, 0));
}

void ServerSession::OnCertificateRefused(int32_t code, const QString& reason) {
    mRefusedCertificate = {code, reason};
}

void ServerSession::OnProgress(IqelPop3Com* owner, int32_t position, int32_t total) {
    using namespace modGeneral;
    // A replaced object still unwinding its download speaks for nothing.
    if (owner != gPop3.Get()) return;
    mMessageBytes = std::max<int64_t>(mMessageBytes, position);
    if (run_->UserStop) {
        StopSession();
        return;
    }
    if (!mProgressClock.isValid()) mProgressClock.start();
    if (!mProgressPace.Due(position, total, run_->ReceivedCount >= mDownloadTotal, mProgressClock.elapsed()))
        return;
    const modCheck::DownloadProgress progress = modCheck::ProgressOf(position, total);
    c_.StatusBar.SetPanelText(panel::kStatus, progress.percentText);
    c_.StatusBar.SetPanelText(panel::kAutoCheck, QStringLiteral("Retrieving... (") +
                                                     QString::number(run_->ReceivedCount) +
                                                     QStringLiteral(" of ") +
                                                     QString::number(mDownloadTotal) + QStringLiteral(")"));
    c_.ProgressBar.SetWidth(c_.StatusBar.PanelWidth(panel::kResult));
    c_.ProgressBar.SetMin(0);
    c_.ProgressBar.SetMax(progress.maximum);
    c_.ProgressBar.SetValue(progress.value);
}

}  // namespace forms
