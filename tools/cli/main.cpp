// olmirafm-cli: the box session without a window, for scripts and tests.
//
//   olmirafm-cli [--ini FILE] drives      the drives the box has mounted
//   olmirafm-cli [--ini FILE] ls PATH     a folder, PATH below /var/media
//
// Errors go to standard error with a non-zero exit status.

#include <cstring>
#include <iostream>
#include <optional>
#include <string>

#include "error.h"
#include "session/headless_session.h"
#include "settings/setup.h"

namespace {

constexpr char kUsage[] =
    "Aufruf: olmirafm-cli [--ini DATEI] drives\n"
    "        olmirafm-cli [--ini DATEI] ls PFAD\n";

struct Arguments {
    std::optional<std::string> iniPath;
    std::string command;
    std::string path;
};

std::optional<Arguments> Parse(int argc, char** argv) {
    Arguments args;
    int i = 1;
    if (i + 1 < argc && std::strcmp(argv[i], "--ini") == 0) {
        args.iniPath = argv[i + 1];
        i += 2;
    }
    if (i >= argc) {
        return std::nullopt;
    }
    args.command = argv[i++];
    if (args.command == "ls" && i < argc) {
        args.path = argv[i++];
    } else if (args.command != "drives") {
        return std::nullopt;
    }
    return i == argc ? std::optional(args) : std::nullopt;
}

olmira::TSetup LoadSettings(const std::optional<std::string>& iniPath) {
    olmira::SetupPlace place = olmira::RunningProgramPlace();
    if (iniPath) {
        place.IniPath = *iniPath;
    }
    olmira::TSetup settings;
    if (const std::optional<std::string> warning = olmira::LoadSetup(settings, place)) {
        throw olmira::Error(*warning);
    }
    return settings;
}

}  // namespace

int main(int argc, char** argv) {
    const std::optional<Arguments> args = Parse(argc, argv);
    if (!args) {
        std::cerr << kUsage;
        return 2;
    }
    try {
        olmira::HeadlessSession run(LoadSettings(args->iniPath));
        if (args->command == "drives") {
            for (const std::string& drive : run.Drives()) {
                std::cout << drive << '\n';
            }
        } else {
            for (const olmira::ListEntry& entry : run.Listing(args->path)) {
                std::cout << entry.caption;
                if (!entry.size.empty()) {
                    std::cout << '\t' << entry.size;
                }
                std::cout << '\n';
            }
        }
        run.Finish();
    } catch (const std::exception& e) {
        std::cerr << e.what() << '\n';
        return 1;
    }
    return 0;
}
