#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "session/list_entry.h"

namespace olmira {

struct TSetup;

enum class TransferMode { Copy, Move };

// An entry a job takes, with the folder it is listed in (below the media
// root, ending in "/").
struct JobSource {
    std::string folder;
    ListEntry entry;
    // An info file that goes along with the recording before it, unselected:
    // it follows that recording and is not counted as an entry of its own.
    bool withRecording = false;

    bool operator==(const JobSource&) const = default;
};

// The source's path below the media root, without a folder's "/".
std::string SourcePath(const JobSource& source);

// The drive a folder below the media root lies on: its first part, "hdd/".
std::string_view DriveOf(std::string_view folder);

// The info file of a recording's caption "X.ts": "X.crid"; nullopt for a
// caption that names no recording.
std::optional<std::string> InfoFileOf(std::string_view caption);

// The selected entries of one listed folder, each selected recording X.ts
// followed by its info file X.crid when the folder lists one that is not
// selected already. A recording found by the bytes of its name (FindGiven)
// finds its info file so too; throws olmira::Error when that is ambiguous.
std::vector<ListEntry> WithInfoFiles(const std::vector<ListEntry>& selected,
                                     const EntryList& listing);

// What a job or a delete takes of the selected entries: with their info
// files when the settings say so (with_crid), else just them.
std::vector<ListEntry> EntriesTaken(const TSetup& settings, std::vector<ListEntry> selected,
                                    const EntryList& listing);

// The sources a job takes of the entries selected in folder, as
// EntriesTaken gathers them, each info file that only goes along marked so.
std::vector<JobSource> SourcesTaken(const TSetup& settings, const std::string& folder,
                                    std::vector<ListEntry> selected, const EntryList& listing);
// How many of them the user gave, the info files that go along left out.
std::size_t GivenCount(const std::vector<JobSource>& sources);

// Why the entries cannot go into destFolder at all: a path the path rules
// refuse (a move changes its sources, so a drive's root stays), a folder
// into itself or one of its own folders, or an entry into the folder it
// lies in already.
std::optional<std::string> PlaceRefusal(const std::vector<JobSource>& sources,
                                        std::string_view destFolder, TransferMode mode);

// "Auf usb/ sind nur 4.812 kB frei; gebraucht werden 11.720 kB."
std::string SpaceRefusal(std::string_view destFolder, std::int64_t freeKB, std::int64_t neededKB);

// The files of 4 GiB or more that a FAT file system cannot take, one a line.
std::string FatRefusal(std::string_view destFolder, const std::vector<std::string>& files);

// An entry that was not done: its path below the media root (or its name)
// and why. Without a path, the reason is a sentence of its own.
struct JobOutcome {
    std::string path;
    std::string reason;
};

// What became of the entries of a change on the box: a job's copies or
// moves, or a delete, a rename or a new folder.
struct EntriesReport {
    std::size_t entries = 0;
    std::size_t done = 0;
    // Every entry that was not done, with the reason.
    std::vector<JobOutcome> problems;
};

// A job's end. entries counts what the user gave; one is done when it and
// the info files that went along with it are.
struct JobReport : EntriesReport {
    TransferMode mode = TransferMode::Copy;
};

// "Von 5 Einträgen wurden 2 nicht kopiert": how a report of done (a past
// participle) begins.
std::string NotDoneText(std::size_t entries, std::size_t notDone, std::string_view done);
// Each entry not done, with its reason, one a line.
std::string ProblemLines(const std::vector<JobOutcome>& problems);
// The end report's message: "Von 5 Einträgen wurden 2 nicht gelöscht:" and
// each entry not done, with its reason.
std::string ReportText(const EntriesReport& report, std::string_view done);
std::string ReportText(const JobReport& report);
// The report of a job that ended while the program was away: "Während der
// Trennung: 28 von 30 Einträgen verschoben; 2 nicht:" and each reason.
std::string AwayReportText(const JobReport& report);
// The status bar's text once the job has ended: "3 von 5 Einträgen kopiert".
std::string ReportStatus(const JobReport& report);

}  // namespace olmira
