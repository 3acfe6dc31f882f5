#include "copy/job_plan.h"

#include <algorithm>

#include "copy/box_figures.h"
#include "copy/given_name.h"
#include "copy/name_pattern.h"
#include "settings/setup.h"
#include "tidy/box_path.h"

namespace olmira {

namespace {

constexpr std::string_view kRecordingEnd = ".ts";
constexpr std::string_view kInfoFileEnd = ".crid";

bool Lists(const std::vector<ListEntry>& entries, std::string_view caption) {
    return std::any_of(entries.begin(), entries.end(),
                       [caption](const ListEntry& entry) { return entry.caption == caption; });
}

std::optional<ListEntry> FindFile(const EntryList& listing, std::string_view caption) {
    for (std::size_t i = 0; i < listing.size(); ++i) {
        if (listing.Kind(i) == EntryKind::File && listing.Caption(i) == caption) {
            return listing[i];
        }
    }
    return std::nullopt;
}

// A recording the listing shows as its caption has its info file listed so
// too; one given by bytes the box shows with "?" has it given likewise.
std::optional<ListEntry> InfoFileBeside(std::string_view recording, std::string_view infoFile,
                                        const EntryList& listing) {
    if (FindFile(listing, recording)) {
        return FindFile(listing, infoFile);
    }
    std::optional<ListEntry> found = FindGiven(infoFile, listing);
    if (found && found->kind != EntryKind::File) {
        return std::nullopt;
    }
    return found;
}

std::string_view Verb(TransferMode mode) {
    return mode == TransferMode::Copy ? "kopieren" : "verschieben";
}

std::string_view Done(TransferMode mode) {
    return mode == TransferMode::Copy ? "kopiert" : "verschoben";
}

std::string EntryCount(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " Eintrag" : " Einträgen");
}

}  // namespace

std::string SourcePath(const JobSource& source) {
    return source.folder + std::string(BareName(source.entry.caption));
}

std::string_view DriveOf(std::string_view folder) {
    const std::size_t slash = folder.find('/');
    return slash == std::string_view::npos ? folder : folder.substr(0, slash + 1);
}

std::optional<std::string> InfoFileOf(std::string_view caption) {
    if (!caption.ends_with(kRecordingEnd)) {
        return std::nullopt;
    }
    caption.remove_suffix(kRecordingEnd.size());
    return std::string(caption) + std::string(kInfoFileEnd);
}

std::vector<ListEntry> WithInfoFiles(const std::vector<ListEntry>& selected,
                                     const EntryList& listing) {
    std::vector<ListEntry> entries;
    for (const ListEntry& entry : selected) {
        entries.push_back(entry);
        const std::optional<std::string> infoFile = InfoFileOf(entry.caption);
        if (entry.kind != EntryKind::File || !infoFile || Lists(selected, *infoFile) ||
            Lists(entries, *infoFile)) {
            continue;
        }
        if (std::optional<ListEntry> found = InfoFileBeside(entry.caption, *infoFile, listing)) {
            entries.push_back(std::move(*found));
        }
    }
    return entries;
}

std::vector<ListEntry> EntriesTaken(const TSetup& settings, std::vector<ListEntry> selected,
                                    const EntryList& listing) {
    return settings.with_crid ? WithInfoFiles(selected, listing) : selected;
}

std::vector<JobSource> SourcesTaken(const TSetup& settings, const std::string& folder,
                                    std::vector<ListEntry> selected, const EntryList& listing) {
    std::vector<JobSource> sources;
    for (ListEntry& entry : EntriesTaken(settings, selected, listing)) {
        const bool withRecording = !Lists(selected, entry.caption);
        sources.push_back({folder, std::move(entry), withRecording});
    }
    return sources;
}

std::size_t GivenCount(const std::vector<JobSource>& sources) {
    return static_cast<std::size_t>(std::count_if(
        sources.begin(), sources.end(), [](const JobSource& s) { return !s.withRecording; }));
}

std::optional<std::string> PlaceRefusal(const std::vector<JobSource>& sources,
                                        std::string_view destFolder, TransferMode mode) {
    if (std::optional<std::string> refusal = PathRefusal(destFolder, PathUse::Read)) {
        return refusal;
    }
    const PathUse sourceUse = mode == TransferMode::Move ? PathUse::Change : PathUse::Read;
    for (const JobSource& source : sources) {
        if (std::optional<std::string> refusal =
                PathRefusal(source.folder + source.entry.caption, sourceUse)) {
            return refusal;
        }
        if (source.folder == destFolder) {
            return std::string(BareName(source.entry.caption)) + " liegt schon in " +
                   std::string(destFolder) + ".";
        }
        const std::string self = source.folder + std::string(BareName(source.entry.caption)) + "/";
        if (source.entry.kind == EntryKind::Folder && destFolder.starts_with(self)) {
            return "Der Ordner " + self + " lässt sich nicht in sich selbst " +
                   std::string(Verb(mode)) + ".";
        }
    }
    return std::nullopt;
}

std::string SpaceRefusal(std::string_view destFolder, std::int64_t freeKB, std::int64_t neededKB) {
    return "Auf " + std::string(destFolder) + " sind nur " + GermanThousands(freeKB) +
           " kB frei; gebraucht werden " + GermanThousands(neededKB) + " kB.";
}

std::string FatRefusal(std::string_view destFolder, const std::vector<std::string>& files) {
    std::string text = std::string(destFolder) +
                       " liegt auf einem FAT-Laufwerk, das keine Dateien ab 4 GiB aufnimmt:";
    for (const std::string& file : files) {
        text += "\n" + file;
    }
    return text;
}

std::string NotDoneText(std::size_t entries, std::size_t notDone, std::string_view done) {
    return "Von " + EntryCount(entries) + (notDone == 1 ? " wurde " : " wurden ") +
           std::to_string(notDone) + " nicht " + std::string(done);
}

std::string ProblemLines(const std::vector<JobOutcome>& problems) {
    std::string text;
    for (const JobOutcome& problem : problems) {
        if (!text.empty()) {
            text += '\n';
        }
        if (!problem.path.empty()) {
            text.append(problem.path).append(": ");
        }
        text += problem.reason;
    }
    return text;
}

std::string ReportText(const EntriesReport& report, std::string_view done) {
    return NotDoneText(report.entries, report.problems.size(), done) + ":\n" +
           ProblemLines(report.problems);
}

// An info file that went along may add a line, never an entry not done.
std::string ReportText(const JobReport& report) {
    return NotDoneText(report.entries, report.entries - report.done, Done(report.mode)) + ":\n" +
           ProblemLines(report.problems);
}

std::string AwayReportText(const JobReport& report) {
    std::string text = "Während der Trennung: " + ReportStatus(report);
    if (report.problems.empty()) {
        return text + ".";
    }
    return text + "; " + std::to_string(report.entries - report.done) + " nicht:\n" +
           ProblemLines(report.problems);
}

std::string ReportStatus(const JobReport& report) {
    return std::to_string(report.done) + " von " + EntryCount(report.entries) + " " +
           std::string(Done(report.mode));
}

}  // namespace olmira
