#include "copy/copy_commands.h"

#include "conversation/shell_command.h"

namespace olmira {

namespace {

std::string MediaPattern(std::string_view folder, std::string_view name = {}) {
    std::string path(kMediaRoot);
    path += folder;
    path += name;
    return ShellPattern(path);
}

}  // namespace

std::string CopyCommand(std::string_view sourceFolder, std::string_view name,
                        std::string_view destFolder) {
    return std::string(kCopyCommandStart) + MediaPattern(sourceFolder, name) + " " +
           MediaPattern(destFolder) + " &";
}

std::string ProgressListing(std::string_view destFolder, std::string_view name) {
    return std::string(kProgressListingStart) + MediaPattern(destFolder, name);
}

std::string RemoveCopyCommand(std::string_view destFolder, std::string_view name) {
    return "rm -rf " + MediaPattern(destFolder, name);
}

}  // namespace olmira
