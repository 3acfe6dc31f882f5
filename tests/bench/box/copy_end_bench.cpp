// How soon the window comes back after cp has ended on the box, and what a
// running copy costs the PC. Runs inside tools/simbox (scripts/bench starts
// it), against the simulated box's shell.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

#include "front/headless_session.h"

namespace {

using Clock = std::chrono::steady_clock;

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

olmira::TSetup BoxSettings(int progressMinSize) {
    olmira::TSetup settings;
    settings.olmira_Host = "127.0.0.1";
    settings.olmira_User = Env("SIMBOX_USER");
    settings.olmira_Pass = Env("SIMBOX_PASS");
    settings.update_intervall = 1000;
    settings.progress_min_size = progressMinSize;
    return settings;
}

// When file first reaches size bytes: cp has written the last of it.
class CompletionWatch {
public:
    CompletionWatch(std::string file, off_t size)
        : thread_([this, file = std::move(file), size] {
              struct stat info {};
              while (!stop_ && (::stat(file.c_str(), &info) != 0 || info.st_size < size)) {
                  std::this_thread::sleep_for(std::chrono::microseconds(200));
              }
              done_ = Clock::now();
          }) {}
    ~CompletionWatch() {
        stop_ = true;
        if (thread_.joinable()) {
            thread_.join();
        }
    }
    Clock::time_point Done() {
        thread_.join();
        return done_;
    }

private:
    std::atomic<bool> stop_ = false;
    Clock::time_point done_;
    std::thread thread_;
};

double CpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Copies hdd/<name> to usb/ again and again; reports the time from the
// copy's completion on disk to the panes being enabled.
void CopyEnd(benchmark::State& state, const char* name, int progressMinSize) {
    olmira::HeadlessSession run(BoxSettings(progressMinSize));
    const std::string media = Env("SIMBOX_MEDIA");
    const std::string target = media + "/usb/" + name;
    // Lists both folders; later copies overwrite.
    run.Copy(std::string("hdd/") + name, "usb/", true);
    struct stat info {};
    ::stat((media + "/hdd/" + name).c_str(), &info);
    olmira::HeadlessWindow& window = run.Window();
    for (auto _ : state) {
        if (!window.SelectEntry(olmira::Source, name)) {
            state.SkipWithError("the entry is not listed");
            break;
        }
        std::remove(target.c_str());
        CompletionWatch watch(target, info.st_size);
        run.Copier().tbCopyFileClick();
        run.RunUntil([&window] { return window.mainPanelEnabled; }, "Kopierende");
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - watch.Done()).count());
        run.RunUntil([&run] { return !run.Copier().Running(); }, "Zielliste");
    }
    run.Finish();
}

// The CPU time the program takes while the box copies, as a share of the
// copy's duration: the program mostly waits.
void CopyCost(benchmark::State& state) {
    olmira::HeadlessSession run(BoxSettings(0));
    run.LogIn();
    double cpu = 0;
    double wall = 0;
    for (auto _ : state) {
        const double cpuBefore = CpuSeconds();
        const auto start = Clock::now();
        run.Copy("hdd/Filme/Spielfilm 1.ts", "usb/", true);
        cpu += CpuSeconds() - cpuBefore;
        wall += std::chrono::duration<double>(Clock::now() - start).count();
    }
    state.counters["cpu_percent"] = 100.0 * cpu / wall;
    run.Finish();
}

}  // namespace

// The copy's end is found by the next poll: within 500 ms without a window.
BENCHMARK_CAPTURE(CopyEnd, SmallFileNoWindow, "Nachrichten.ts", 6000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
// With a window, within one update_intervall (here 1000 ms) plus the reply.
BENCHMARK_CAPTURE(CopyEnd, LargeFileWithWindow, "Nachrichten.ts", 0)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// 2 MB at the simulated box's 2000 kB/s, polled every second.
BENCHMARK(CopyCost)->Unit(benchmark::kMillisecond)->Iterations(2);

BENCHMARK_MAIN();
