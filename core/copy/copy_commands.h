#pragma once

#include <string>
#include <string_view>

namespace olmira {

inline constexpr std::string_view kCopyCommandStart = "cp -r ";
inline constexpr std::string_view kProgressListingStart = "ls -1Aps ";
// Ends background job 1, the copy.
inline constexpr std::string_view kKillCopyCommand = "kill %1";

// The paths are relative to the media root: sourceFolder and destFolder are
// pane folders ending in "/", name is the copied entry's caption. A "?" in
// them stands for a byte the box could not show and is matched by the box's
// shell; everything else reaches cp as it is, as one word.

// Copies the entry into the destination folder as background job 1.
std::string CopyCommand(std::string_view sourceFolder, std::string_view name,
                        std::string_view destFolder);
// Lists the copy in the destination folder; its size shows the progress.
std::string ProgressListing(std::string_view destFolder, std::string_view name);
// Removes the copy from the destination folder, folder or file.
std::string RemoveCopyCommand(std::string_view destFolder, std::string_view name);

}  // namespace olmira
