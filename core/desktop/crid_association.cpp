#include "desktop/crid_association.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <optional>
#include <vector>

#include "error.h"
#include "settings/text_lines.h"
#include "settings/whole_file.h"

namespace olmira {

namespace {

constexpr const char* kDefaultApplications = "Default Applications";

std::optional<std::string> AbsoluteVariable(const EnvironmentLookup& environment,
                                            const std::string& name) {
    std::optional<std::string> value = environment(name);
    if (!value || !value->starts_with('/')) {
        return std::nullopt;
    }
    return value;
}

std::string WithoutTrailingSlashes(std::string folder) {
    while (folder.size() > 1 && folder.ends_with('/')) {
        folder.pop_back();
    }
    return folder;
}

std::string XdgHome(const EnvironmentLookup& environment, const std::string& variable,
                    const std::string& belowHome) {
    if (const std::optional<std::string> configured = AbsoluteVariable(environment, variable)) {
        return WithoutTrailingSlashes(*configured);
    }
    const std::optional<std::string> home = environment("HOME");
    if (!home || home->empty()) {
        return {};
    }
    return WithoutTrailingSlashes(*home) + "/" + belowHome;
}

[[noreturn]] void CreationFailed(const std::string& path) {
    throw Error("Erzeugung von Schlüssel " + path + " misslungen");
}

[[noreturn]] void ValueNotSet(const std::string& name) {
    throw Error("Konnte Daten für '" + name + "' nicht setzen");
}

void EnsureFolder(const std::string& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error || !std::filesystem::is_directory(folder, error)) {
        CreationFailed(folder + "/");
    }
}

bool Exists(const std::string& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0;
}

// A file that was not there and could not be made is a creation failure;
// one that was there keeps its old content and the value is not set.
void WriteFile(const std::string& folder, const std::string& name, std::string_view content,
               const std::string& valueName) {
    EnsureFolder(folder);
    const std::string path = folder + "/" + name;
    const bool existed = Exists(path);
    if (!ReplaceWholeFile(path, content)) {
        if (existed) {
            ValueNotSet(valueName);
        }
        CreationFailed(path);
    }
}

// The database tools only refresh caches that the files above feed; one that
// is not installed is skipped, and what they print is not shown.
void RunIfInstalled(const char* tool, const std::string& folder) {
    posix_spawn_file_actions_t actions;
    if (::posix_spawn_file_actions_init(&actions) != 0) {
        return;
    }
    ::posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    ::posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    ::posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    std::string program = tool;
    std::string argument = folder;
    char* const argv[] = {program.data(), argument.data(), nullptr};
    pid_t child = 0;
    const int spawned = ::posix_spawnp(&child, tool, &actions, nullptr, argv, environ);
    ::posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        return;
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
}

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last + 1 - first);
}

std::optional<std::string_view> SectionName(std::string_view line) {
    const std::string_view trimmed = Trimmed(line);
    if (trimmed.size() < 2 || trimmed.front() != '[' || trimmed.back() != ']') {
        return std::nullopt;
    }
    return trimmed.substr(1, trimmed.size() - 2);
}

std::optional<std::string_view> EntryKey(std::string_view line) {
    const std::size_t equals = line.find('=');
    if (Trimmed(line).starts_with('#') || equals == std::string_view::npos) {
        return std::nullopt;
    }
    return Trimmed(line.substr(0, equals));
}

}  // namespace

std::string XdgDataHome(const EnvironmentLookup& environment) {
    return XdgHome(environment, "XDG_DATA_HOME", ".local/share");
}

std::string XdgConfigHome(const EnvironmentLookup& environment) {
    return XdgHome(environment, "XDG_CONFIG_HOME", ".config");
}

std::string CridMimePackage() {
    return std::string(
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
               "  <mime-type type=\"") +
           kCridMimeType +
           "\">\n"
           "    <comment>" +
           kCridComment +
           "</comment>\n"
           "    <glob pattern=\"*.crid\"/>\n"
           "  </mime-type>\n"
           "</mime-info>\n";
}

std::string DesktopExecArgument(std::string_view path) {
    std::string quoted = "\"";
    for (const char c : path) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') {
            quoted += '\\';
        }
        if (c == '%') {
            quoted += '%';
        }
        quoted += c;
    }
    quoted += '"';
    // The value itself is a desktop entry string, whose own escapes come last.
    std::string value;
    for (const char c : quoted) {
        switch (c) {
            case '\\':
                value += "\\\\";
                break;
            case '\n':
                value += "\\n";
                break;
            case '\t':
                value += "\\t";
                break;
            case '\r':
                value += "\\r";
                break;
            default:
                value += c;
        }
    }
    return value;
}

std::string PelvarDesktopEntry(const std::string& programFolder) {
    std::string folder = programFolder;
    while (folder.ends_with('/')) {
        folder.pop_back();
    }
    const std::string editor = folder + "/pelvar";
    return std::string(
               "[Desktop Entry]\n"
               "Type=Application\n"
               "Name=pelvar\n"
               "Comment=Editor für Olmira Infofiles\n"
               "Exec=") +
           DesktopExecArgument(editor) +
           " edit %f\n"
           "MimeType=" +
           kCridMimeType +
           ";\n"
           "NoDisplay=true\n"
           "Terminal=false\n";
}

std::string WithDefaultApplication(std::string_view mimeappsList, std::string_view mimeType,
                                   std::string_view desktopId) {
    const std::vector<TextLine> lines = SplitTextLines(mimeappsList);
    const std::string entry = std::string(mimeType) + "=" + std::string(desktopId);

    // The first entry of the type is replaced; without one, the entry goes
    // after the section's last line that is not blank.
    std::optional<std::size_t> replace;
    std::optional<std::size_t> insertAfter;
    bool inSection = false;
    for (std::size_t i = 0; i < lines.size() && !replace; ++i) {
        if (const std::optional<std::string_view> name = SectionName(lines[i].Text)) {
            inSection = *name == kDefaultApplications;
            if (inSection) {
                insertAfter = i;
            }
        } else if (inSection && !Trimmed(lines[i].Text).empty()) {
            insertAfter = i;
            if (EntryKey(lines[i].Text) == mimeType) {
                replace = i;
            }
        }
    }

    std::string result;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const bool touched = replace == i || insertAfter == i;
        const std::string_view end =
            touched && lines[i].End.empty() ? std::string_view("\n") : lines[i].End;
        result += replace == i ? std::string_view(entry) : lines[i].Text;
        result += end;
        if (insertAfter == i && !replace) {
            result += entry;
            result += end;
        }
    }
    if (!insertAfter) {
        if (!result.empty() && !result.ends_with('\n')) {
            result += '\n';
        }
        result += "[" + std::string(kDefaultApplications) + "]\n" + entry + "\n";
    }
    return result;
}

void RegisterCridFileType(const std::string& programFolder, const EnvironmentLookup& environment) {
    const std::string dataHome = XdgDataHome(environment);
    const std::string configHome = XdgConfigHome(environment);
    if (dataHome.empty()) {
        CreationFailed("$XDG_DATA_HOME/");
    }
    if (configHome.empty()) {
        CreationFailed("$XDG_CONFIG_HOME/");
    }
    const std::string mimeFolder = dataHome + "/mime";
    const std::string applications = dataHome + "/applications";

    WriteFile(mimeFolder + "/packages", kCridMimePackage, CridMimePackage(), "*.crid");
    WriteFile(applications, kCridDesktopId, PelvarDesktopEntry(programFolder), "Exec");

    EnsureFolder(configHome);
    const std::string mimeapps = configHome + "/mimeapps.list";
    const WholeFile current = ReadWholeFile(mimeapps);
    if (current.ErrorNumber != 0 && current.ErrorNumber != ENOENT) {
        // Writing now would drop the lines that could not be read.
        ValueNotSet(kCridMimeType);
    }
    WriteFile(configHome, "mimeapps.list",
              WithDefaultApplication(current.Bytes, kCridMimeType, kCridDesktopId), kCridMimeType);

    RunIfInstalled("update-mime-database", mimeFolder);
    RunIfInstalled("update-desktop-database", applications);
}

}  // namespace olmira
