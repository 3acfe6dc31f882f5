#pragma once

#include <string>
#include <string_view>

#include "settings/program_folder.h"

namespace olmira {

// The box's recording info files (*.crid) as a file type of the desktop,
// opened by the sibling editor pelvar in the program's folder. Written the
// freedesktop way into the user's own folders, so no root is needed.
inline constexpr const char* kCridMimeType = "application/x-olmira-crid";
inline constexpr const char* kCridComment = "Olmira Infofile für Aufnahmen";
inline constexpr const char* kCridMimePackage = "olmirafm-crid.xml";
inline constexpr const char* kCridDesktopId = "olmirafm-pelvar.desktop";

// Where the association goes: $XDG_DATA_HOME (else ~/.local/share) and
// $XDG_CONFIG_HOME (else ~/.config), each without a trailing "/". A relative
// or empty variable counts as unset. Empty when neither it nor HOME is set.
std::string XdgDataHome(const EnvironmentLookup& environment);
std::string XdgConfigHome(const EnvironmentLookup& environment);

// The shared-mime-info package that defines the type with its comment and
// the glob *.crid.
std::string CridMimePackage();

// The desktop entry of the editor: Exec is the quoted full path of pelvar in
// programFolder, the word edit and the file, as the desktop entry rules
// escape it.
std::string PelvarDesktopEntry(const std::string& programFolder);

// The quoted Exec argument for path: inside double quotes, with ", `, $ and
// \ escaped, % doubled, then escaped again as a desktop entry string value.
std::string DesktopExecArgument(std::string_view path);

// mimeapps.list with mimeType's default application set to desktopId in its
// [Default Applications] section: an entry of that type is replaced where
// it stands, else one is added after the section's last entry, and a
// missing section is added at the end. Every other line stays as it was.
std::string WithDefaultApplication(std::string_view mimeappsList, std::string_view mimeType,
                                   std::string_view desktopId);

// Registers the type: writes the MIME package to
// $XDG_DATA_HOME/mime/packages/, the editor's desktop entry to
// $XDG_DATA_HOME/applications/ and the default application into
// $XDG_CONFIG_HOME/mimeapps.list, each file replaced in one step, then runs
// update-mime-database and update-desktop-database on those folders where
// they are installed. Existing entries are overwritten without a question.
// Throws Error "Erzeugung von Schlüssel <path> misslungen" for a folder or
// file that cannot be created and "Konnte Daten für '<name>' nicht setzen"
// for a value that cannot be written into an existing file; later steps are
// then not done.
void RegisterCridFileType(const std::string& programFolder, const EnvironmentLookup& environment);

}  // namespace olmira
