// What a large folder costs olmirafm-cli in memory: the peak resident size of
// `olmirafm-cli ls` for a folder of 100,000 recordings against that for a
// folder of a few, per entry. Runs inside tools/simbox (scripts/bench starts
// it), against the simulated box's shell.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "recordings_folder.h"

namespace {

namespace fs = std::filesystem;

constexpr int kLargeFolder = 100'000;
constexpr int kSmallFolder = 5;

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

struct CliRun {
    bool succeeded = false;
    long peakKb = 0;
    long lines = 0;
};

// `olmirafm-cli --ini ini ls path`: its status, its peak resident size as
// the kernel counted it, and how many lines it printed.
CliRun ListWithCli(const std::string& ini, const std::string& path) {
    const std::string out = ini + ".out";
    std::vector<std::string> words = {OLMIRAFM_CLI, "--ini", ini, "ls", path};
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, STDOUT_FILENO, out.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, argv[0], &files, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&files);
    if (spawned != 0) {
        return {};
    }
    int status = 0;
    rusage usage{};
    if (::wait4(child, &status, 0, &usage) != child) {
        return {};
    }
    std::ifstream listing(out);
    const auto lines =
        std::count(std::istreambuf_iterator<char>(listing), std::istreambuf_iterator<char>(), '\n');
    fs::remove(out);
    return {WIFEXITED(status) && WEXITSTATUS(status) == 0, usage.ru_maxrss, lines};
}

void CliListingMemory(benchmark::State& state) {
    const fs::path media = Env("SIMBOX_MEDIA");
    olmira::bench::MakeRecordingsFolder(media / "hdd" / "Gross", kLargeFolder);
    olmira::bench::MakeRecordingsFolder(media / "hdd" / "Klein", kSmallFolder);
    const std::string ini = (fs::temp_directory_path() / "olmirafm-bench-cli.ini").string();
    std::ofstream(ini) << "[Network]\r\nolmira_Host=127.0.0.1\r\nolmira_User=" << Env("SIMBOX_USER")
                       << "\r\nolmira_Pass=" << Env("SIMBOX_PASS") << "\r\n";
    CliRun small;
    CliRun large;
    for (auto _ : state) {
        small = ListWithCli(ini, "hdd/Klein");
        large = ListWithCli(ini, "hdd/Gross");
        if (!small.succeeded || !large.succeeded) {
            state.SkipWithError("olmirafm-cli ls failed");
            break;
        }
        // The entries, "./" and "../".
        if (small.lines != kSmallFolder + 2 || large.lines != kLargeFolder + 2) {
            state.SkipWithError("olmirafm-cli ls printed an incomplete listing");
            break;
        }
    }
    fs::remove(ini);
    state.counters["peak_rss_small_MiB"] = static_cast<double>(small.peakKb) / 1024.0;
    state.counters["peak_rss_large_MiB"] = static_cast<double>(large.peakKb) / 1024.0;
    state.counters["bytes_per_entry"] =
        static_cast<double>(large.peakKb - small.peakKb) * 1024.0 / kLargeFolder;
}

}  // namespace

// Each run logs in afresh: the login's quiet times dominate the time.
BENCHMARK(CliListingMemory)->Unit(benchmark::kSecond)->Iterations(1);
