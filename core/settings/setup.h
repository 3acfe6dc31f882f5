#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "settings/program_folder.h"

namespace olmira {

// All settings, each named by its INI key. Paths of PCs are as this machine
// reaches the box's drives; rec and rtemp are as the box sees them.
struct TSetup {
    std::string PC1;
    std::string PC2;
    std::string PC3;
    std::string PC4;
    std::string PC5;
    std::string USB;
    std::string rec;
    std::string ffmpeg;
    std::string bbMPEG;
    std::string temp;
    std::string rtemp;
    std::int32_t maxSizeTS = 0;
    std::int32_t maxSizePS = 0;
    // The full path of the mapping file; its lines are kept, not interpreted.
    std::string epg_mapping;
    std::vector<std::string> EpgMappingLines;
    std::string olmira_Host;
    std::string olmira_name;
    std::string olmira_User;
    std::string olmira_Pass;
    // The way in: "telnet" or "ssh", and its port (23 and 22 by default).
    std::string olmira_Protocol = "telnet";
    std::int32_t olmira_Port = 23;
    // The shell prompt less its last character; never stored in the file.
    std::string PromptMarker;
    std::int32_t update_intervall = 0;
    std::int32_t avg_transferrate = 0;
    std::int32_t progress_min_size = 0;
    // Whether a recording's info file X.crid goes along with X.ts.
    bool with_crid = true;
    // Whether each job goes straight to the background: no progress
    // window, the panes usable while the box copies.
    bool background_jobs = false;
    // Where the jobs handed to boxes are remembered; never stored in the
    // file, and empty (nothing remembered) unless the setup was loaded.
    std::string JobRecordPath;
    // Where the boxes' trusted SSH keys are kept; never stored in the file.
    std::string KnownHostsPath;
};

// Reads every stored setting, a missing one as its default, into setup.
// An EPG mapping file that exists but cannot be read costs only its lines:
// the result is then "Datei <path> kann nicht geöffnet werden" for the caller
// to show, and all other settings are read all the same.
std::optional<std::string> ReadIni(const SetupPlace& place, TSetup& setup);

// ReadIni into fresh settings, so the PromptMarker starts empty.
std::optional<std::string> LoadSetup(TSetup& settings, const SetupPlace& place);
std::optional<std::string> LoadSetup(TSetup& settings);

// Whether the box is reached over SSH rather than Telnet.
inline bool UsesSsh(const TSetup& setup) {
    return setup.olmira_Protocol == "ssh";
}
inline constexpr std::int32_t kTelnetPort = 23;
inline constexpr std::int32_t kSshPort = 22;

// Saves the setup dialog's values: the thirteen texts PC1 to PC5, USB, temp,
// rtemp, rec, olmira_name, olmira_Host, olmira_User and olmira_Pass, the
// numbers update_intervall and progress_min_size, with_crid and background_jobs as 1 or 0,
// olmira_Protocol and olmira_Port; the
// other fields are not written. An empty PC or USB path keeps the file's earlier value. All values
// go in one replacement of the file: on the error "nach <iniPath> kann nicht
// geschrieben werden" none of them is saved.
void WriteIni(const std::string& iniPath, const TSetup& dialogValues);

}  // namespace olmira
