// Whether the window stays responsive while a folder of 100,000 recordings
// streams in from the simulated box: the longest the event loop goes without
// running, from the double click into the folder until the list shows it
// all, dates included. The time measured is the names' alone; the counter
// slowest_dates_s adds the dates. The window is driven through its
// controls, as the GUI tests drive it. Runs inside tools/simbox
// (scripts/bench starts it).
#include <benchmark/benchmark.h>

#include <QAbstractItemModel>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <filesystem>

#include "entry_list_view.h"
#include "recordings_folder.h"
#include "simbox_env.h"
#include "window_under_test.h"

namespace {

constexpr int kEntries = 100'000;
constexpr int kHeartbeatMs = 5;
constexpr int kListingTimeoutMs = 120'000;
// After the last entry, the time for the view to lay out and paint it.
constexpr int kSettleMs = 200;

// The largest gap between the ticks of a 5 ms timer while it lives: close
// to 5 ms while the event loop runs freely.
class StallWatch {
public:
    StallWatch() {
        heartbeat_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&heartbeat_, &QTimer::timeout,
                         [this] { longestMs_ = std::max(longestMs_, sinceBeat_.restart()); });
        heartbeat_.start(kHeartbeatMs);
        sinceBeat_.start();
    }
    qint64 LongestMs() const { return longestMs_; }

private:
    QTimer heartbeat_;
    QElapsedTimer sinceBeat_;
    qint64 longestMs_ = 0;
};

void BM_WindowStallWhileListingFromTheBox(benchmark::State& state) {
    const auto box = olmira::test::FindSimbox();
    if (!box) {
        state.SkipWithError("no simulated box: run inside tools/simbox");
        return;
    }
    olmira::bench::MakeRecordingsFolder(std::filesystem::path(box->mediaPath) / "hdd" / "Gross",
                                        kEntries);
    WindowUnderTest test(WindowUnderTest::BoxIni());
    if (!test.ConnectAndLogIn()) {
        state.SkipWithError("the box's drive list did not come");
        return;
    }
    const QAbstractItemModel& list = *test.Child<EntryListView>("SourceList").model();
    qint64 longestStallMs = 0;
    double datesSeconds = 0;
    for (auto _ : state) {
        test.ChooseDrive("cbSourceMedia", "bChgSourceRootFolder", "hdd/");
        if (!WaitUntil([&] { return list.rowCount() < 100 && test.Select("SourceList", "Gross/"); },
                       kListingTimeoutMs)) {
            state.SkipWithError("hdd/ was not listed");
            break;
        }
        const auto start = std::chrono::steady_clock::now();
        const StallWatch watch;
        test.DoubleClick("SourceList", "Gross/");
        // Its entries, "./" and "../".
        const bool filled =
            WaitUntil([&] { return list.rowCount() == kEntries + 2; }, kListingTimeoutMs);
        const auto end = std::chrono::steady_clock::now();
        // The dates come after the names, by a command of their own.
        const bool dated = WaitUntil(
            [&] { return !list.index(list.rowCount() - 1, 2).data().toString().isEmpty(); },
            kListingTimeoutMs);
        datesSeconds = std::max(
            datesSeconds,
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        WaitUntil([] { return false; }, kSettleMs);
        if (!filled || !dated) {
            state.SkipWithError("hdd/Gross/ was not listed in full, with its dates");
            break;
        }
        longestStallMs = std::max(longestStallMs, watch.LongestMs());
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
    state.counters["longest_stall_ms"] = static_cast<double>(longestStallMs);
    state.counters["entries"] = kEntries;
    state.counters["slowest_dates_s"] = datesSeconds;
}
// The time: from the double click to the last entry in the list.
BENCHMARK(BM_WindowStallWhileListingFromTheBox)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

}  // namespace
