// What a job of 60 entries costs beyond the box's own copy: 30 recordings of
// 100 kB with their info files copied by the runner on the box, against the
// login and a `cp -r` of the same entries by the box itself. Runs inside
// tools/simbox with the box's own cp at full speed (scripts/bench starts
// it): what the job adds is the measure, not how fast data is written.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "front/headless_session.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

constexpr int kRecordings = 30;

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

double Since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// hdd/Serie/ with the recordings and their info files.
std::vector<std::string> MakeSeries(const fs::path& media) {
    const fs::path folder = media / "hdd/Serie";
    fs::create_directories(folder);
    std::vector<std::string> sources;
    const std::string data(100 * 1024, 'x');
    for (int i = 1; i <= kRecordings; ++i) {
        const std::string name = "Folge " + std::to_string(100 + i);
        std::ofstream(folder / (name + ".ts"), std::ios::binary) << data;
        std::ofstream(folder / (name + ".crid")) << "title=" << name << "\n";
        sources.push_back("hdd/Serie/" + name + ".ts");
    }
    return sources;
}

// The box's own copy, with the box's cp.
double BoxCopySeconds(const fs::path& media) {
    fs::remove_all(media / "usb/Serie-cp");
    const std::string command = "PATH=" + Env("SIMBOX_PATH") + " cp -r " +
                                (media / "hdd/Serie").string() + " " +
                                (media / "usb/Serie-cp").string();
    const Clock::time_point start = Clock::now();
    if (std::system(command.c_str()) != 0) {
        throw std::runtime_error("the box's cp -r failed");
    }
    return Since(start);
}

void JobOfSixty(benchmark::State& state) {
    const fs::path media = Env("SIMBOX_MEDIA");
    const std::vector<std::string> sources = MakeSeries(media);
    olmira::TSetup settings;
    settings.olmira_Host = "127.0.0.1";
    settings.olmira_User = Env("SIMBOX_USER");
    settings.olmira_Pass = Env("SIMBOX_PASS");
    settings.update_intervall = 1000;
    settings.progress_min_size = 6000;
    double overhead = 0;
    double login = 0;
    double job = 0;
    double boxCopy = 0;
    for (auto _ : state) {
        fs::remove_all(media / "usb/Serie");
        fs::create_directories(media / "usb/Serie");
        const Clock::time_point start = Clock::now();
        olmira::HeadlessSession run(settings);
        run.LogIn();
        const double loggedIn = Since(start);
        run.Transfer(olmira::TransferMode::Copy, sources, "usb/Serie/", true);
        const double total = Since(start);
        run.Finish();
        const double cp = BoxCopySeconds(media);
        state.SetIterationTime(total - loggedIn - cp);
        overhead += total - loggedIn - cp;
        login += loggedIn;
        job += total - loggedIn;
        boxCopy += cp;
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["login_s"] = login / runs;
    state.counters["job_s"] = job / runs;
    state.counters["box_cp_s"] = boxCopy / runs;
    state.counters["beyond_s"] = overhead / runs;
}

}  // namespace

// The time beyond the login and the box's own cp -r: at most 1 s.
BENCHMARK(JobOfSixty)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
