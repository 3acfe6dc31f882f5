#pragma once

#include <functional>
#include <optional>
#include <string>

namespace olmira {

// Looks up an environment variable; nullopt when it is not set.
using EnvironmentLookup = std::function<std::optional<std::string>(const std::string& name)>;

std::optional<std::string> ProcessEnvironment(const std::string& name);

// Where the settings come from: the program's folder (no trailing "/" except
// for "/" itself), the INI file, and the environment.
struct SetupPlace {
    std::string ProgramFolder;
    std::string IniPath;
    EnvironmentLookup Environment;
};

// The running executable's folder, its INI file and the process environment.
SetupPlace RunningProgramPlace();

std::string FolderOfFile(const std::string& path);

// The INI file stays next to the executable while it is there or can be put
// there. An installed program's folder is not writable, so its INI file goes
// to $XDG_CONFIG_HOME/olmirafm/ (~/.config/olmirafm/ by default).
std::string ChooseIniPath(const std::string& programFolder, bool programFolderTakesIni,
                          const EnvironmentLookup& environment);

// ChooseIniPath with the program folder probed on disk.
std::string IniPathFor(const std::string& programFolder, const EnvironmentLookup& environment);

// $TEMP, else $TMPDIR, else /tmp; always ending in "/".
std::string DefaultTempFolder(const EnvironmentLookup& environment);

// Where the jobs handed to boxes are remembered, beside the window's state:
// $XDG_CONFIG_HOME/olmirafm/auftraege, ~/.config/olmirafm/ by default;
// empty when neither is known.
std::string JobRecordPathFor(const EnvironmentLookup& environment);
// The boxes' SSH keys the user trusted, in OpenSSH's known_hosts format, in
// the same folder.
std::string KnownHostsPathFor(const EnvironmentLookup& environment);

}  // namespace olmira
