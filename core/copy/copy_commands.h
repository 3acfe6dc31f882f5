#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace olmira {

// What the echo of our own command lines holds, so that their words are not
// taken for the messages of the programs they run.
inline constexpr std::string_view kDiskUsageStart = "du -s";
inline constexpr std::string_view kMoveStart = "mv -f ";
inline constexpr std::string_view kRemoveStart = "rm -rf ";
inline constexpr std::string_view kFindStart = "find -L ";

// The paths are relative to the media root: folders are pane folders ending
// in "/", name is an entry's caption (a folder's with its "/"). A "?" in them
// stands for a byte the box could not show and is matched by the box's
// shell; everything else reaches the box as it is, as one word.

// Moves the entry into destFolder on the same drive, in the foreground.
std::string MoveCommand(std::string_view folder, std::string_view name,
                        std::string_view destFolder);
// The kB a file or folder takes, links followed: "du -skL".
std::string DiskUsageCommand(std::string_view folder, std::string_view name);
// The same, then the line kSizeEnd, for several in one line.
std::string MarkedDiskUsageCommand(std::string_view folder, std::string_view name);
// The kB of several entries in one du, each on a line of its own as
// "KB<TAB>/var/media/PATH", then the line kSizeEnd. paths are SourcePaths
// without a "?": the box prints each as it was given. A file linked into
// several entries counts in each, as each copy will hold it.
std::string DiskUsagesCommand(const std::vector<std::string>& paths);
// The bytes and the number of files of an entry, links followed: a copy
// whose figures equal its source's is complete.
std::string MeasureCommand(std::string_view folder, std::string_view name);
// The free space of the file system that holds folder.
std::string FreeSpaceCommand(std::string_view folder);
inline constexpr std::string_view kMountsCommand = "cat /proc/mounts";
// The files of 4 GiB or more in an entry, links followed.
std::string LargeFilesCommand(std::string_view folder, std::string_view name);
// Removes an entry, folder or file.
std::string RemoveCommand(std::string_view folder, std::string_view name);

}  // namespace olmira
