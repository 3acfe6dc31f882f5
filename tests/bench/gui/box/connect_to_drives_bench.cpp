// From a click on the connect button to the drive boxes filled, over Telnet
// (paced by the box's quiet time between the login's steps) and over SSH
// (logged in by the connect, moved on by the shell's prompt). The window is
// driven through its controls. Runs inside tools/simbox (scripts/bench
// starts it).
#include <benchmark/benchmark.h>

#include <QComboBox>
#include <chrono>
#include <cstdlib>

#include "simbox_env.h"
#include "temp_folder.h"
#include "window_under_test.h"

namespace {

constexpr int kLoginTimeoutMs = 20'000;

void BM_ConnectToDrives(benchmark::State& state) {
    if (!olmira::test::FindSimbox()) {
        state.SkipWithError("no simulated box: run inside tools/simbox");
        return;
    }
    const bool ssh = state.range(0) != 0;
    // The box's key kept where this run keeps its settings, and asked
    // about once: answered at once, before the first measure.
    const olmira::test_support::TempFolder config;
    ::setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1);
    const std::string ini = WindowUnderTest::BoxIni() + (ssh ? "olmira_Protocol=ssh\r\n" : "");
    {
        WindowUnderTest trust(ini);
        trust.Boxes().answerYes = true;
        trust.ConnectAndLogIn();
    }
    for (auto _ : state) {
        WindowUnderTest test(ini);
        const auto start = std::chrono::steady_clock::now();
        test.Click("tbConnect");
        const bool filled = WaitUntil(
            [&] { return test.Child<QComboBox>("cbDestMedia").count() > 0; }, kLoginTimeoutMs);
        const auto end = std::chrono::steady_clock::now();
        if (!filled) {
            state.SkipWithError("the drive boxes were not filled");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
    state.SetLabel(ssh ? "SSH" : "Telnet");
}
BENCHMARK(BM_ConnectToDrives)
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

}  // namespace
