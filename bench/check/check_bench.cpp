// The Email page's Check command end to end against the test Dovecot server,
// beside the component alone downloading the same mailbox, in alternating
// rounds in one process: the program's own work is the check's time less the
// component's. Mailboxes of 100, 1 000 and 10 000 messages of 10 KB and one
// message of 20 MB, over plain POP3 and implicit TLS, with the window shown
// and minimised. After each round it prints the times (the check's also as
// a multiple of the component's alone in the same round), the resident
// memory (after, and the peak during the check), the longest the window went
// without handling its events, and how long the account's tab and the
// preview of its first message took to open; the counters give the medians,
// the worst round, the peak over idle and the later rounds' processor time
// against the first round's (a check of an unchanged mailbox).
//
// Run it on an X display with a window manager (run_check_bench.sh starts
// Xvfb and openbox) and with the test server's environment (the test
// launcher sets it); each mailbox in a process of its own so that one
// mailbox's memory does not weigh on the next: --benchmark_filter=1000x.
#include <benchmark/benchmark.h>

#include <stdlib.h>
#include <sys/resource.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/accounts/account_table.h"
#include "app/common/app_settings.h"
#include "app/common/program_identity.h"
#include "app/forms/checks/component_object.h"
#include "app/forms/common/wave_sound.h"
#include "app/forms/main_window/frm_main.h"
#include "app/forms/preview/frm_preview.h"
#include "app/general/check_status.h"
#include "app/main/start_procedure.h"
#include "bench/private_profile.h"
#include "platform/com/bstr.h"
#include "platform/desktop/single_instance.h"
#include "platform/ui/forms.h"
#include "platform/ui/msg_box.h"
#include "tests/support/pop3d_mailbox.h"

namespace {

struct Shape {
    const char* name;
    int count;
    std::size_t bytes;
    int rounds;
};

constexpr Shape kShapes[] = {{"100x10KB", 100, 10 * 1024, 10},
                             {"1000x10KB", 1000, 10 * 1024, 10},
                             {"10000x10KB", 10000, 10 * 1024, 5},
                             {"1x20MB", 1, std::size_t{20} << 20, 3}};

// Resident memory in MB: now, and the peak since the last ResetPeak.
double StatusMb(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0) return std::stod(line.substr(std::strlen(field))) / 1024.0;
    return 0;
}
double RssMb() { return StatusMb("VmRSS:"); }
double PeakMb() { return StatusMb("VmHWM:"); }
void ResetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

std::string TextMessage(int i, std::size_t bytes) {
    static const char* const kDays[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    char header[512];
    std::snprintf(header, sizeof header,
                  "From: \"Sender %d\" <s%d@example.org>\r\nTo: reader@example.org\r\n"
                  "Subject: Report %d on the quarterly figures\r\n"
                  "Date: %s, %02d %s 20%02d %02d:%02d:%02d +0000\r\nMessage-ID: <%d@bench.example.org>\r\n"
                  "Content-Type: text/plain; charset=us-ascii\r\n\r\n",
                  i * 7919 % 997, i, i, kDays[i % 7], i % 28 + 1, kMonths[i * 5 % 12], 10 + i % 16, i % 24,
                  i * 7 % 60, i % 60, i);
    std::string message = header;
    while (message.size() + 72 < bytes)
        message += "The quarterly figures are attached below; read them before the meeting.\r\n";
    return message;
}

// A short text and one attachment, base64 in lines of 76, to about bytes.
std::string AttachmentMessage(std::size_t bytes) {
    std::string message =
        "From: \"Archive\" <archive@example.org>\r\nTo: reader@example.org\r\nSubject: The whole archive\r\n"
        "Date: Tue, 08 Dec 2026 21:05:00 +0000\r\nMIME-Version: 1.0\r\n"
        "Content-Type: multipart/mixed; boundary=\"b1\"\r\n\r\n--b1\r\n"
        "Content-Type: text/plain; charset=us-ascii\r\n\r\nThe archive is attached.\r\n\r\n--b1\r\n"
        "Content-Type: application/octet-stream; name=\"archive.bin\"\r\n"
        "Content-Transfer-Encoding: base64\r\nContent-Disposition: attachment; "
        "filename=\"archive.bin\"\r\n\r\n";
    static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string line(76, 'A');
    unsigned seed = 12345;
    message.reserve(bytes + 256);
    while (message.size() + 100 < bytes) {
        for (char& c : line) c = kAlphabet[(seed = seed * 1103515245 + 12345) >> 26];
        message += line;
        message += "\r\n";
    }
    return message + "--b1--\r\n";
}

// The test server and one filled mailbox per shape, claimed for the run.
const testsupport::Pop3dServer& Server() {
    static const testsupport::Pop3dServer server = testsupport::Pop3dServer::fromEnvironment();
    return server;
}

const testsupport::Pop3dMailbox& Mailbox(const Shape& shape) {
    static std::map<std::string, std::unique_ptr<testsupport::Pop3dMailbox>> boxes;
    auto& box = boxes[shape.name];
    if (box) return *box;
    box = std::make_unique<testsupport::Pop3dMailbox>(Server());
    for (int i = 1; i <= shape.count; ++i) {
        char uidl[32];
        std::snprintf(uidl, sizeof uidl, "%06d.bench", i);
        box->add(uidl, shape.count == 1 ? AttachmentMessage(shape.bytes) : TextMessage(i, shape.bytes));
    }
    return *box;
}

// Wall-clock time since the start, and this thread's processor time (user
// and system) and minor page faults, from the kernel's own count for the
// thread: the processor time leaves out what other programs on the machine
// take, so it holds on a loaded machine where the wall-clock time does not.
struct Took {
    double wall = 0, user = 0, system = 0, faults = 0;
    double Cpu() const { return user + system; }
};

class Stopwatch {
public:
    Stopwatch() : start_(ThreadUsage()) { wall_.start(); }
    Took Elapsed() const {
        const Took now = ThreadUsage();
        return {static_cast<double>(wall_.nsecsElapsed()) / 1e6, now.user - start_.user,
                now.system - start_.system, now.faults - start_.faults};
    }
    double WallMs() const { return static_cast<double>(wall_.nsecsElapsed()) / 1e6; }

private:
    static Took ThreadUsage() {
        rusage usage{};
        getrusage(RUSAGE_THREAD, &usage);
        const auto ms = [](const timeval& t) {
            return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3;
        };
        return {0, ms(usage.ru_utime), ms(usage.ru_stime), static_cast<double>(usage.ru_minflt)};
    }
    QElapsedTimer wall_;
    Took start_;
};

com::Bstr Wide(const std::string& text) { return com::Bstr(QString::fromStdString(text).toStdU16String()); }

// One blocking download of the whole mailbox by a component object of its
// own, as a client with nothing to show would do it: milliseconds.
Took ComponentAlone(const testsupport::Pop3dMailbox& box, bool tls) {
    QString error;
    com::ComPtr<IqelPop3Com> pop3 = forms::CreateComponent(error);
    if (!pop3) throw std::runtime_error(error.toStdString());
    pop3->put_Security(tls ? SecurityImplicit : SecurityNone);
    pop3->put_Timeout(120);
    pop3->put_Hostname(Wide(Server().host).Get());
    pop3->put_Port(tls ? Server().tlsPort : Server().port);
    pop3->put_Login(Wide(box.user()).Get());
    pop3->put_Password(Wide(box.password()).Get());
    pop3->put_Blocking(com::VARIANT_TRUE);
    pop3->put_Authentication(AuthAny);
    const Stopwatch clock;
    if (com::FAILED(pop3->Connect())) throw std::runtime_error("the component alone could not connect");
    com::ComPtr<IPop3Msgs> messages;
    pop3->get_Messages(messages.ReleaseAndGetAddressOf());
    if (com::FAILED(messages->GetAll())) throw std::runtime_error("the component alone could not download");
    pop3->Disconnect();
    return clock.Elapsed();
}

// The longest time between two ticks of a 5 ms timer while it runs: how
// long the window went without handling its events.
class StallProbe {
public:
    StallProbe() {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            longest_ = std::max(longest_, since_.nsecsElapsed() / 1e6);
            since_.restart();
        });
        since_.start();
        timer_.start();
    }
    double Longest() {
        longest_ = std::max(longest_, since_.nsecsElapsed() / 1e6);
        return longest_;
    }

private:
    QTimer timer_;
    QElapsedTimer since_;
    double longest_ = 0;
};

void Settle(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 10);
}

struct Round {
    Took component, program;
    double rss = 0, peak = 0, stall = 0, tab = 0, preview = 0, previewClose = 0;
    double Own() const { return program.wall - component.wall; }
    double OwnCpu() const { return program.Cpu() - component.Cpu(); }
    double Ratio() const { return program.wall / component.wall; }
};

template <typename F>
double Median(const std::vector<Round>& rounds, F value) {
    std::vector<double> values;
    for (const Round& r : rounds) values.push_back(value(r));
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double gIdleMb = 0;

Round OneRound(frmMain& form, const testsupport::Pop3dMailbox& box, const Shape& shape, bool tls) {
    Round r;
    r.component = ComponentAlone(box, tls);
    Settle(50);
    ResetPeak();
    {
        StallProbe probe;
        const Stopwatch clock;
        form.controls().tbrEmail.Buttons(QStringLiteral("EmailCheck")).QtButton().click();
        QApplication::processEvents();
        r.program = clock.Elapsed();
        r.stall = probe.Longest();
    }
    if (modAccounts::gAccounts[1].MsgCount != shape.count)
        throw std::runtime_error("the check listed " + std::to_string(modAccounts::gAccounts[1].MsgCount) +
                                 " messages: " + modAccounts::gAccounts[1].Result.toStdString());
    r.peak = PeakMb();
    r.rss = RssMb();
    // Away to the other account's tab and back: the account's tab opens.
    form.controls().TabStripEmail.Select(2);
    QApplication::processEvents();
    {
        StallProbe probe;
        const Stopwatch clock;
        form.controls().TabStripEmail.Select(1);
        QApplication::processEvents();
        r.tab = clock.WallMs();
        r.stall = std::max(r.stall, probe.Longest());
    }
    // The preview of the list's first message (the largest when there is
    // one), shown and painted.
    if (form.WindowState() != vb::vbMinimized) {
        modGeneral::gCurrentMsg = 1;
        const Stopwatch clock;
        form.controls().mnuEmailPreview.Click();
        if (!vb::Forms::IsLoaded<frmPreview>()) throw std::runtime_error("the preview did not open");
        // Shown on the screen and painted, its texts laid out.
        if (!QTest::qWaitForWindowExposed(&vb::Forms::Get<frmPreview>()))
            throw std::runtime_error("the preview was not shown");
        vb::Forms::Get<frmPreview>().repaint();
        QApplication::processEvents();
        r.preview = clock.WallMs();
        // Closed, its controls gone, before the next round measures anything.
        const Stopwatch closing;
        vb::Forms::Unload<frmPreview>();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
        r.previewClose = closing.WallMs();
        Settle(50);
    }
    return r;
}

void CheckCommand(benchmark::State& state, const std::string& name, const Shape& shape, bool tls,
                  bool minimised) {
    using namespace modAccounts;
    frmMain& form = vb::Forms::Get<frmMain>();
    const testsupport::Pop3dMailbox& box = Mailbox(shape);
    gAccounts[1].Port = QString::number(tls ? Server().tlsPort : Server().port);
    gAccounts[1].Secure = tls ? 1 : 0;
    gAccounts[1].LoginID = QString::fromStdString(box.user());
    gAccounts[1].Password = QString::fromStdString(box.password());
    form.SetWindowState(minimised ? vb::vbMinimized : vb::vbNormal);
    if (!minimised) form.Show();
    form.controls().TabStripEmail.Select(1);
    Settle(300);

    // The component alone once before the rounds, its figures dropped: its
    // first download in a process pays for the heap's first growth (page
    // faults) and, over TLS, for loading the TLS library and the trust
    // store, which the check after it then finds ready, so the first round
    // would subtract costs the check never had and understate the first
    // check's own work. The account stays unchecked: round 1 is still its
    // first check.
    ComponentAlone(box, tls);
    vb::ScriptedMsgBoxes boxes;
    std::vector<Round> rounds;
    for (auto _ : state) {
        const Round r = OneRound(form, box, shape, tls);
        rounds.push_back(r);
        state.SetIterationTime(r.Own() / 1e3);
        std::fprintf(stderr,
                     "%s round %zu: component %.0f ms (processor %.0f ms), program %.0f ms (x%.2f; processor "
                     "%.0f ms: user %.0f, system %.0f; %.0f page faults), own work %.0f ms (processor %.0f "
                     "ms); RSS %.0f MB (idle %.0f, peak %.0f); longest stall %.0f ms; tab opened in %.0f ms; "
                     "preview opened in %.0f ms, closed in %.0f ms\n",
                     name.c_str(), rounds.size(), r.component.wall, r.component.Cpu(), r.program.wall,
                     r.Ratio(), r.program.Cpu(), r.program.user, r.program.system, r.program.faults, r.Own(),
                     r.OwnCpu(), r.rss, gIdleMb, r.peak, r.stall, r.tab, r.preview, r.previewClose);
    }
    if (!boxes.Calls().empty())
        state.SkipWithError(("a box: " + boxes.Calls()[0].title).toStdString().c_str());
    const auto worst = [&](auto value) {
        double most = 0;
        for (const Round& r : rounds) most = std::max(most, value(r));
        return most;
    };
    // Each row, over the rounds of this run (a round is the component alone
    // and then the check, so the two see the same machine):
    //   component_ms, program_ms: median wall-clock time of the component
    //     alone and of the check; program_x: median of their ratio per round.
    //   own_ms, own_worst_ms: the check's wall-clock time less the
    //     component's in the same round, median and worst; noisy on a busy
    //     machine (a round can come out negative), so also
    //   own_of_medians_ms: median check less median component, and
    //   program_cpu_ms, program_cpu_worst_ms: the window thread's processor
    //     time (user and system) during the check, component included;
    //     own_cpu_ms: that less the component's alone in the same round.
    //   later_x_first: the own processor time of a check of an unchanged
    //     mailbox (median of rounds 2..) over the first round's;
    //     program_cpu_later_x_first: the same for the window thread's whole
    //     processor time, which no subtraction can unsettle.
    const std::vector<Round> later(rounds.begin() + (rounds.size() > 1 ? 1 : 0), rounds.end());
    const auto median = [&](auto value) { return Median(rounds, value); };
    state.counters["component_ms"] = median([](const Round& r) { return r.component.wall; });
    state.counters["program_ms"] = median([](const Round& r) { return r.program.wall; });
    state.counters["program_x"] = median([](const Round& r) { return r.Ratio(); });
    state.counters["own_ms"] = median([](const Round& r) { return r.Own(); });
    state.counters["own_worst_ms"] = worst([](const Round& r) { return r.Own(); });
    state.counters["own_of_medians_ms"] = state.counters["program_ms"] - state.counters["component_ms"];
    state.counters["program_cpu_ms"] = median([](const Round& r) { return r.program.Cpu(); });
    state.counters["program_cpu_worst_ms"] = worst([](const Round& r) { return r.program.Cpu(); });
    state.counters["own_cpu_ms"] = median([](const Round& r) { return r.OwnCpu(); });
    state.counters["later_x_first"] =
        Median(later, [](const Round& r) { return r.OwnCpu(); }) / std::max(1.0, rounds.front().OwnCpu());
    state.counters["program_cpu_later_x_first"] =
        Median(later, [](const Round& r) { return r.program.Cpu(); }) /
        std::max(1.0, rounds.front().program.Cpu());
    state.counters["rss_mb"] = rounds.back().rss;
    state.counters["idle_mb"] = gIdleMb;
    state.counters["peak_over_idle_mb"] = worst([](const Round& r) { return r.peak; }) - gIdleMb;
    state.counters["stall_ms"] = worst([](const Round& r) { return r.stall; });
    state.counters["tab_ms"] = worst([](const Round& r) { return r.tab; });
    state.counters["preview_ms"] = worst([](const Round& r) { return r.preview; });
    state.counters["preview_close_ms"] = worst([](const Round& r) { return r.previewClose; });
}

void Profile(const QString& home) {
    UsePrivateProfileFolders(home);
    SetProgramIdentity();
    SaveSettings(kAppKey, QStringLiteral("Settings"),
                 {{QStringLiteral("FirstUse"), QStringLiteral("1")},
                  {QStringLiteral("AcntNum"), QStringLiteral("2")},
                  {QStringLiteral("AcntName1"), QStringLiteral("Bench")},
                  {QStringLiteral("AcntServer1"), QString::fromStdString(Server().host)},
                  {QStringLiteral("AcntName2"), QStringLiteral("Other")},
                  {QStringLiteral("AcntEnabled2"), QStringLiteral("0")}});
    // Every round downloads the mailbox again.
    SaveSettings(kAppKey, QStringLiteral("Settings\\Options"),
                 {{QStringLiteral("QuickCheck"), QStringLiteral("0")},
                  {QStringLiteral("ConnectTimeOut"), QStringLiteral("120")}});
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    QApplication app(argc, argv);
    QTemporaryDir home;
    Profile(home.path());
    // The test server's certificate trusted the way a user trusts a private
    // server: through the trust store OpenSSL reads.
    setenv("SSL_CERT_FILE", Server().certificateFile().c_str(), 1);
    forms::gPlayWave = [](const QString&) {};
    platform::desktop::SingleInstance instance(QStringLiteral("VeltraneCheckBench"));
    if (!start::Main(instance)) return 1;
    Settle(500);
    gIdleMb = RssMb();
    for (const Shape& shape : kShapes)
        for (const bool tls : {false, true})
            for (const bool minimised : {false, true}) {
                const std::string name = std::string("Check/") + shape.name + (tls ? "/tls" : "/plain") +
                                         (minimised ? "/minimised" : "/shown");
                benchmark::RegisterBenchmark(name.c_str(),
                                             [name, &shape, tls, minimised](benchmark::State& state) {
                                                 CheckCommand(state, name, shape, tls, minimised);
                                             })
                    ->Iterations(shape.rounds)
                    ->UseManualTime()
                    ->Unit(benchmark::kMillisecond);
            }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    vb::Forms::Get<frmMain>().mQuitting = true;
    vb::Forms::Unload<frmMain>();
    return 0;
}
