// From a complete listing reply to a list view that shows it: the session
// splits and parses the reply, the window takes the entries and draws.
#include <benchmark/benchmark.h>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <thread>

#include "conversation/box_channel.h"
#include "conversation/conversation.h"
#include "conversation/tick_clock.h"
#include "entry_list_view.h"
#include "event_loop_hand_over.h"
#include "form_log.h"
#include "form_main.h"
#include "handover/ui_hand_over.h"
#include "message_boxes.h"
#include "session/box_session.h"
#include "settings/setup.h"

namespace {

constexpr const char* kPrompt = "root@box:~# ";
constexpr std::size_t kBlockSize = 4096;
constexpr int kHeartbeatMs = 2;

class SilentBoxes final : public MessageBoxes {
public:
    void Show(QWidget*, const QString&, QMessageBox::Icon, const QString&) override {}
    bool Ask(QWidget*, const QString&, const QString&) override { return false; }
    olmira::OverwriteAnswer AskOverwrite(QWidget*, const QString&, const QString&) override {
        return olmira::OverwriteAnswer::No;
    }
    bool AskDelete(QWidget*, const QString&, const QString&) override { return false; }
    std::optional<QString> AskName(QWidget*, const QString&, const QString&,
                                   const QString&) override {
        return std::nullopt;
    }
};

// Takes every line and sends it nowhere.
class NullChannel final : public olmira::BoxChannel {
public:
    void SetHost(const std::string&) override {}
    void ConnectAsync(ConnectDone) override {}
    bool Connecting() const override { return false; }
    void SendLine(std::string_view) override {}
    void AwaitClose(std::chrono::milliseconds) override {}
    void Disconnect() override {}
};

// The reply to a listing of a folder with one subfolder in ten.
std::string ListingReply(int entries) {
    std::string reply = "ls -1Aps /var/media/hdd/\r\ntotal 123456\r\n";
    for (int i = 0; i < entries; ++i) {
        reply += i % 10 == 0 ? "   4 Ordner " + std::to_string(i) + "/\r\n"
                             : " 1234 Aufnahme " + std::to_string(i) + ".ts\r\n";
    }
    return reply + kPrompt;
}

// A shown main window, fed by a session of the bench's own that has already
// learnt the prompt.
class ListingBench {
public:
    ListingBench()
        : window_(olmira::SetupPlace{"/nonexistent", "/nonexistent/olmirafm.ini",
                                     olmira::ProcessEnvironment},
                  boxes_, QStringLiteral("/nonexistent/fenster.ini")),
          conversation_(channel_, settings_.PromptMarker),
          session_(settings_, window_, channel_, conversation_, clock_) {
        settings_.PromptMarker = std::string(kPrompt, std::strlen(kPrompt) - 1);
        window_.show();
        if (!QTest::qWaitForWindowExposed(&window_)) {
            throw std::runtime_error("the main window was not shown");
        }
    }

    EntryListView& List() { return *window_.GetPaneControls(olmira::Source).list; }
    olmira::BoxSession& Session() { return session_; }
    TformMain& Window() { return window_; }
    void ForgetLog() { window_.LogWindow().Memo().clear(); }

private:
    SilentBoxes boxes_;
    TformMain window_;
    olmira::TSetup settings_;
    NullChannel channel_;
    olmira::SystemTickClock clock_;
    olmira::Conversation conversation_;
    olmira::BoxSession session_;
};

void BM_ListingToFilledView(benchmark::State& state) {
    ListingBench bench;
    const int entries = static_cast<int>(state.range(0));
    const std::string reply = ListingReply(entries);
    for (auto _ : state) {
        bench.Session().ShowFolder(olmira::Source, "hdd/");
        bench.Session().TelnetDataAvailable(reply);
        bench.List().viewport()->repaint();
        // The log takes the reply from later turns of the event loop; what
        // that costs the window shows in the stall below.
        state.PauseTiming();
        QCoreApplication::processEvents();
        if (bench.List().model()->rowCount() != entries + 1) {
            state.SkipWithError("the list does not show the listing");
        }
        bench.ForgetLog();
        state.ResumeTiming();
    }
    state.counters["entries"] = entries;
}
BENCHMARK(BM_ListingToFilledView)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);

// Hands the reply over in blocks the way the channel's reader does, one at a
// time and waiting for each, while the event loop runs.
class BlockReader {
public:
    BlockReader(olmira::UiHandOver& handOver, olmira::BoxSession& session, const std::string& reply)
        : thread_([&handOver, &session, &reply] {
              for (std::size_t at = 0; at < reply.size(); at += kBlockSize) {
                  const std::string block = reply.substr(at, kBlockSize);
                  handOver.Run([&session, &block] { session.TelnetDataAvailable(block); });
              }
          }) {}
    ~BlockReader() { thread_.join(); }

private:
    std::thread thread_;
};

// The longest time the window's event loop is kept from running (and so
// from repainting) while a large listing arrives and is shown, until the
// log has taken it too.
void BM_LongestStallWhileListing(benchmark::State& state) {
    ListingBench bench;
    olmira::UiHandOver handOver;
    ServeHandOverOnEventLoop(handOver, bench.Window());
    const int entries = static_cast<int>(state.range(0));
    const std::string reply = ListingReply(entries);
    qint64 longestStallMs = 0;
    for (auto _ : state) {
        bench.Session().ShowFolder(olmira::Source, "hdd/");
        bench.Window().ClearEntryList(olmira::Source);
        QEventLoop loop;
        QElapsedTimer sinceBeat;
        QTimer heartbeat;
        QObject::connect(&heartbeat, &QTimer::timeout, [&] {
            longestStallMs = std::max(longestStallMs, sinceBeat.restart());
            if (bench.List().model()->rowCount() == entries + 1 &&
                !bench.Window().LogWindow().Pending()) {
                loop.quit();
            }
        });
        heartbeat.start(kHeartbeatMs);
        sinceBeat.start();
        {
            const BlockReader reader(handOver, bench.Session(), reply);
            loop.exec();
        }
        state.PauseTiming();
        bench.ForgetLog();
        state.ResumeTiming();
    }
    state.counters["longest_stall_ms"] = static_cast<double>(longestStallMs);
}
BENCHMARK(BM_LongestStallWhileListing)->Arg(100000)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
