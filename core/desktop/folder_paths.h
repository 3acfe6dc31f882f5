#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/setup.h"

namespace olmira {

// Paths between the box's form and this PC's form. The box joins names by
// "/"; on this PC, paths are Linux paths, joined by "/" as well. A path
// written on Windows (drive letters, "\") passes through unchanged and simply
// names no folder here.

// Every "\" becomes "/", then one trailing "/" is dropped: PC1\temp\ gives
// PC1/temp, PC1\\ gives PC1/.
std::string ToBoxPath(std::string_view path);

// Drops one trailing "/", but "/" itself stays "/".
std::string ToLocalPath(std::string_view path);

// The folder a folder dialog opens at for a field's text: the text with a
// "/" appended unless it is empty or already ends in "/" or "\".
std::string StartFolder(std::string_view fieldText);

// The drive names of the remote picker's tree, in the tree's order.
inline constexpr const char* kBoxDriveNames[] = {"PC1", "PC2", "PC3", "PC4", "PC5", "USB"};

// The setting that holds the path under which this PC reaches a drive of
// the box ("PC1" ... "PC5", "USB", exact case); nullptr for any other name.
const std::string* DrivePathSetting(const TSetup& settings, std::string_view drive);

// A tree path of the remote picker, the names from the drive down joined by
// "\" and ended by "\" (PC1\aufnahmen\neu\).
std::string NodePath(const std::vector<std::string>& names);

// The folder on this PC that a tree path stands for: the drive's setting
// followed by the rest of the tree path with "/" between the folders
// (PC1\aufnahmen\ with PC1 = /srv/pc1 gives /srv/pc1/aufnahmen/). Empty when
// the first three characters name no drive or that drive has no path.
std::string ResolvePath(const TSetup& settings, std::string_view treePath);

// The same for a node given by its names, drive first; names may hold "\".
std::string ResolveNames(const TSetup& settings, const std::vector<std::string>& names);

// A folder that exists and can be entered. The process's current directory
// stays as it is.
bool FolderExists(const std::string& path);

// Makes sure the folder exists, creating missing parent folders first. On
// failure, errorNumber (when given) receives the errno of the last attempt.
bool CreateFolderPath(const std::string& path, int* errorNumber = nullptr);

// The subfolders of a folder, in the order the file system lists them:
// every entry that is a folder or a symbolic link to one, except hidden ones
// (names starting with "."). nullopt when the folder cannot be read.
std::optional<std::vector<std::string>> ListSubfolders(const std::string& folder);

// The name "Neuer Ordner" creates for what the user typed: every "/" and
// "\" becomes "_". nullopt for a name that creates nothing: empty, "." or
// "..".
std::optional<std::string> NewFolderName(std::string_view typed);

}  // namespace olmira
