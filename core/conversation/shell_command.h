#pragma once

#include <string>
#include <string_view>

namespace olmira {

// The folder below which the box mounts its drives.
inline constexpr std::string_view kMediaRoot = "/var/media/";

inline constexpr std::string_view kDriveListCommand = "ls -1A /var/media";

// A path as one word of the box's shell, never split or expanded there: a
// path of letters, digits and ._/+,:@%- stands as it is, anything else goes
// in double quotes with \ " $ ` escaped. The bytes are kept as they are.
std::string ShellWord(std::string_view path);

// Like ShellWord, but every "?" stays outside the quotes, so the box's shell
// matches it against the real name: the box lists a byte it cannot show as
// "?", and only a pattern leads back to that name.
std::string ShellPattern(std::string_view path);

// A path below the media root (a pane's folder, an entry's caption behind
// it) as a ShellPattern of the full path on the box.
std::string MediaPattern(std::string_view folder, std::string_view name = {});

// Lists the folder at path (relative to the media root): one name per line,
// a "/" behind folders, sizes in kB.
std::string ListingCommand(std::string_view path);

// When each entry of the folder at path was last changed, one
// "2026-12-09 14:03" a line, in the order of ListingCommand's entries.
std::string DatesCommand(std::string_view path);

}  // namespace olmira
