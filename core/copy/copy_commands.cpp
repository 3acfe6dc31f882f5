#include "copy/copy_commands.h"

#include "conversation/shell_command.h"
#include "copy/box_figures.h"

namespace olmira {

std::string MoveCommand(std::string_view folder, std::string_view name,
                        std::string_view destFolder) {
    return std::string(kMoveStart) + MediaPattern(folder, name) + " " + MediaPattern(destFolder);
}

std::string DiskUsageCommand(std::string_view folder, std::string_view name) {
    return "du -skL " + MediaPattern(folder, name);
}

std::string MarkedDiskUsageCommand(std::string_view folder, std::string_view name) {
    return DiskUsageCommand(folder, name) + "; echo " + std::string(kSizeEnd);
}

std::string DiskUsagesCommand(const std::vector<std::string>& paths) {
    std::string command = "du -sklL";
    for (const std::string& path : paths) {
        command.append(" ").append(MediaPattern(path));
    }
    return command.append("; echo ").append(kSizeEnd);
}

std::string MeasureCommand(std::string_view folder, std::string_view name) {
    const std::string path = MediaPattern(folder, name);
    return "du -sbL " + path + " && " + std::string(kFindStart) + path + " -type f | wc -l";
}

std::string FreeSpaceCommand(std::string_view folder) {
    return "df -k " + MediaPattern(folder);
}

std::string LargeFilesCommand(std::string_view folder, std::string_view name) {
    return std::string(kFindStart) + MediaPattern(folder, name) + " -type f -size +4294967295c";
}

std::string RemoveCommand(std::string_view folder, std::string_view name) {
    return std::string(kRemoveStart) + MediaPattern(folder, name);
}

}  // namespace olmira
