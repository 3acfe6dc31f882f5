#include "settings/program_folder.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace olmira {

namespace {

constexpr const char* kIniName = "olmirafm.ini";

// An empty variable names no folder, so it counts as unset.
std::optional<std::string> NonEmpty(const EnvironmentLookup& environment, const std::string& name) {
    std::optional<std::string> value = environment(name);
    if (value && value->empty()) {
        return std::nullopt;
    }
    return value;
}

std::string WithTrailingSlash(std::string folder) {
    if (!folder.ends_with('/')) {
        folder += '/';
    }
    return folder;
}

// Relative values are invalid by the XDG rules and are ignored.
std::optional<std::string> ConfigHome(const EnvironmentLookup& environment) {
    const std::optional<std::string> configured = NonEmpty(environment, "XDG_CONFIG_HOME");
    if (configured && configured->starts_with('/')) {
        return configured;
    }
    const std::optional<std::string> home = NonEmpty(environment, "HOME");
    if (home) {
        return WithTrailingSlash(*home) + ".config";
    }
    return std::nullopt;
}

std::string ExecutableFolder() {
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        return std::filesystem::current_path(error).string();
    }
    return FolderOfFile(executable.string());
}

}  // namespace

std::optional<std::string> ProcessEnvironment(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    if (value == nullptr) {
        return std::nullopt;
    }
    return std::string(value);
}

std::string FolderOfFile(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string ChooseIniPath(const std::string& programFolder, bool programFolderTakesIni,
                          const EnvironmentLookup& environment) {
    const std::optional<std::string> configHome = ConfigHome(environment);
    if (programFolderTakesIni || !configHome) {
        return programFolder + "/" + kIniName;
    }
    return WithTrailingSlash(*configHome) + "olmirafm/" + kIniName;
}

std::string IniPathFor(const std::string& programFolder, const EnvironmentLookup& environment) {
    const std::string besideProgram = programFolder + "/" + kIniName;
    const bool takesIni =
        ::access(besideProgram.c_str(), F_OK) == 0 || ::access(programFolder.c_str(), W_OK) == 0;
    return ChooseIniPath(programFolder, takesIni, environment);
}

std::string DefaultTempFolder(const EnvironmentLookup& environment) {
    std::optional<std::string> folder = NonEmpty(environment, "TEMP");
    if (!folder) {
        folder = NonEmpty(environment, "TMPDIR");
    }
    return WithTrailingSlash(folder.value_or("/tmp"));
}

SetupPlace RunningProgramPlace() {
    SetupPlace place;
    place.ProgramFolder = ExecutableFolder();
    place.IniPath = IniPathFor(place.ProgramFolder, ProcessEnvironment);
    place.Environment = ProcessEnvironment;
    return place;
}

namespace {

// The program's file name in the user's config folder; empty without one.
std::string ConfigFilePath(const EnvironmentLookup& environment, const std::string& name) {
    const std::optional<std::string> config = ConfigHome(environment);
    return config ? WithTrailingSlash(*config) + "olmirafm/" + name : std::string();
}

}  // namespace

std::string JobRecordPathFor(const EnvironmentLookup& environment) {
    return ConfigFilePath(environment, "auftraege");
}

std::string KnownHostsPathFor(const EnvironmentLookup& environment) {
    return ConfigFilePath(environment, "known_hosts");
}

}  // namespace olmira
