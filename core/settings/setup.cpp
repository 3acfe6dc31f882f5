#include "settings/setup.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <span>

#include "settings/profile_file.h"
#include "settings/text_lines.h"
#include "settings/whole_file.h"

namespace olmira {

namespace {

constexpr const char* kGeneral = "Allgemein";
constexpr const char* kNetwork = "Network";
constexpr const char* kTransfer = "Transfer";

struct TextKey {
    const char* Section;
    const char* Key;
    std::string TSetup::*Field;
};

// The texts whose default is empty, in the order they are read; the drive
// paths come first.
constexpr std::array<TextKey, 12> kPlainTexts{{
    {kGeneral, "PC1", &TSetup::PC1},
    {kGeneral, "PC2", &TSetup::PC2},
    {kGeneral, "PC3", &TSetup::PC3},
    {kGeneral, "PC4", &TSetup::PC4},
    {kGeneral, "PC5", &TSetup::PC5},
    {kGeneral, "USB", &TSetup::USB},
    {kGeneral, "rec", &TSetup::rec},
    {kGeneral, "rtemp", &TSetup::rtemp},
    {kNetwork, "olmira_Host", &TSetup::olmira_Host},
    {kNetwork, "olmira_User", &TSetup::olmira_User},
    {kNetwork, "olmira_Pass", &TSetup::olmira_Pass},
    {kNetwork, "olmira_name", &TSetup::olmira_name},
}};

// Written only when not empty, so that a cleared field keeps the file's path.
constexpr std::span<const TextKey> kDrivePaths = std::span(kPlainTexts).first(6);

// Always written, in this order, which fixes where new keys land.
constexpr std::array<TextKey, 7> kAlwaysWrittenTexts{{
    {kGeneral, "temp", &TSetup::temp},
    {kGeneral, "rtemp", &TSetup::rtemp},
    {kGeneral, "rec", &TSetup::rec},
    {kNetwork, "olmira_name", &TSetup::olmira_name},
    {kNetwork, "olmira_host", &TSetup::olmira_Host},
    {kNetwork, "olmira_user", &TSetup::olmira_User},
    {kNetwork, "olmira_pass", &TSetup::olmira_Pass},
}};

std::optional<std::string> ReadEpgMapping(const std::string& path,
                                          std::vector<std::string>& lines) {
    lines.clear();
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return std::nullopt;
    }
    const WholeFile file = ReadWholeFile(path);
    if (file.ErrorNumber != 0) {
        return "Datei " + path + " kann nicht geöffnet werden";
    }
    for (const TextLine& line : SplitTextLines(file.Bytes)) {
        lines.emplace_back(line.Text);
    }
    return std::nullopt;
}

// Anything but "ssh", in any case, is Telnet, as a file without the key
// has always meant; a port out of range is the way's own.
void ReadWayIn(const ProfileFile& ini, TSetup& setup) {
    std::string protocol = ini.ReadString(kNetwork, "olmira_Protocol", "telnet");
    std::transform(protocol.begin(), protocol.end(), protocol.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    setup.olmira_Protocol = protocol == "ssh" ? "ssh" : "telnet";
    const std::int32_t standard = UsesSsh(setup) ? kSshPort : kTelnetPort;
    const std::int32_t port = ini.ReadInteger(kNetwork, "olmira_Port", standard);
    setup.olmira_Port = port >= 1 && port <= 65535 ? port : standard;
}

}  // namespace

std::optional<std::string> ReadIni(const SetupPlace& place, TSetup& setup) {
    const ProfileFile ini = ProfileFile::ReadFrom(place.IniPath);
    setup.ffmpeg = ini.ReadString(kGeneral, "ffmpeg", place.ProgramFolder + "/ffmpeg/");
    setup.bbMPEG = ini.ReadString(kGeneral, "bbMPEG", place.ProgramFolder + "/bbMPEG/");
    setup.maxSizeTS = ini.ReadInteger("MPEG", "maxSizeTS", 1000);
    setup.maxSizePS = ini.ReadInteger("MPEG", "maxSizePS", 1950);
    setup.temp = ini.ReadString(kGeneral, "temp", DefaultTempFolder(place.Environment));
    // Taken below the program folder even when it looks absolute.
    setup.epg_mapping = place.ProgramFolder + "/" + ini.ReadString(kGeneral, "epg_mapping", "");
    std::optional<std::string> problem = ReadEpgMapping(setup.epg_mapping, setup.EpgMappingLines);
    for (const TextKey& text : kPlainTexts) {
        setup.*text.Field = ini.ReadString(text.Section, text.Key, "");
    }
    setup.update_intervall = ini.ReadInteger(kTransfer, "update_intervall", 5000);
    setup.avg_transferrate = ini.ReadInteger(kTransfer, "avg_transferrate", 600);
    setup.progress_min_size = ini.ReadInteger(kTransfer, "progress_min_size", 6000);
    setup.with_crid = ini.ReadInteger(kTransfer, "with_crid", 1) != 0;
    setup.background_jobs = ini.ReadInteger(kTransfer, "background_jobs", 0) != 0;
    ReadWayIn(ini, setup);
    return problem;
}

std::optional<std::string> LoadSetup(TSetup& settings, const SetupPlace& place) {
    settings = TSetup{};
    settings.JobRecordPath = JobRecordPathFor(place.Environment);
    settings.KnownHostsPath = KnownHostsPathFor(place.Environment);
    return ReadIni(place, settings);
}

std::optional<std::string> LoadSetup(TSetup& settings) {
    return LoadSetup(settings, RunningProgramPlace());
}

void WriteIni(const std::string& iniPath, const TSetup& dialogValues) {
    UpdateProfileFile(iniPath, [&](ProfileFile& ini) {
        for (const TextKey& path : kDrivePaths) {
            if (!(dialogValues.*path.Field).empty()) {
                ini.WriteString(path.Section, path.Key, dialogValues.*path.Field);
            }
        }
        for (const TextKey& text : kAlwaysWrittenTexts) {
            ini.WriteString(text.Section, text.Key, dialogValues.*text.Field);
        }
        ini.WriteInteger(kTransfer, "update_intervall", dialogValues.update_intervall);
        ini.WriteInteger(kTransfer, "progress_min_size", dialogValues.progress_min_size);
        ini.WriteInteger(kTransfer, "with_crid", dialogValues.with_crid ? 1 : 0);
        ini.WriteInteger(kTransfer, "background_jobs", dialogValues.background_jobs ? 1 : 0);
        ini.WriteString(kNetwork, "olmira_Protocol", dialogValues.olmira_Protocol);
        ini.WriteInteger(kNetwork, "olmira_Port", dialogValues.olmira_Port);
    });
}

}  // namespace olmira
