#include "copy/job_board.h"

#include <algorithm>

#include "copy/copy_progress.h"
#include "copy/name_pattern.h"

namespace olmira {

namespace {

bool EntryEnded(EntryState state) {
    return state != EntryState::Waiting && state != EntryState::Running;
}

// Whether one of the two paths is the other or lies inside it.
bool Overlap(const std::string& a, const std::string& b) {
    const std::string& shorter = a.size() < b.size() ? a : b;
    const std::string& longer = a.size() < b.size() ? b : a;
    return longer.starts_with(shorter) &&
           (longer.size() == shorter.size() || longer[shorter.size()] == '/');
}

// The share of whole that part is, as the progress bar shows it.
int Share(std::int64_t part, std::int64_t whole) {
    return static_cast<int>(std::clamp<std::int64_t>(BarPosition(part, whole), 0, 100));
}

std::string Percent(std::int64_t part, std::int64_t whole) {
    return std::to_string(Share(part, whole)) + " %";
}

}  // namespace

BoardJob MakeBoardJob(const HandedJob& job, const JobProgress& progress, bool ended) {
    BoardJob board;
    board.number = progress.status.number;
    board.token = job.token;
    board.mode = job.mode;
    board.cancelling = progress.cancelling;
    const RunnerJobState state = progress.status.state;
    board.ended = ended || state == RunnerJobState::Ended || state == RunnerJobState::Interrupted;
    for (std::size_t i = 0; i < job.entries.size(); ++i) {
        const HandedEntry& handed = job.entries[i];
        BoardEntry entry{handed.op,
                         std::string(BareName(handed.caption)),
                         handed.folder,
                         job.destFolder,
                         handed.sizeKB,
                         EntryState::Waiting,
                         {},
                         {},
                         {}};
        if (i < progress.status.entries.size()) {
            const RunnerEntry& status = progress.status.entries[i];
            entry.state = status.state;
            entry.reason = EntryReason(status, job.mode);
        }
        if (board.ended && !EntryEnded(entry.state)) {
            entry.state = EntryState::Failed;
            entry.reason = state == RunnerJobState::Interrupted ? "unterbrochen"
                           : state == RunnerJobState::Unknown
                               ? "unterbrochen, die Box wurde neu gestartet"
                               : "nicht begonnen";
        }
        if (entry.state == EntryState::Running && progress.runningKB) {
            board.doneKB += *progress.runningKB;
            entry.percent = Share(*progress.runningKB, entry.sizeKB);
            entry.rateKBs = progress.rateKBs;
        } else if (EntryEnded(entry.state)) {
            board.doneKB += entry.sizeKB;
        }
        board.totalKB += entry.sizeKB;
        board.entries.push_back(std::move(entry));
    }
    return board;
}

std::string EntryStateText(const BoardEntry& entry) {
    switch (entry.state) {
        case EntryState::Waiting:
            return "wartet";
        case EntryState::Running: {
            std::string text = "läuft";
            if (entry.percent) {
                text += ", " + std::to_string(*entry.percent) + " %";
            }
            if (entry.rateKBs) {
                text += ", " + std::to_string(*entry.rateKBs) + " kB/s";
            }
            return text;
        }
        case EntryState::Done:
            return "fertig";
        case EntryState::Cancelled:
            return "abgebrochen";
        case EntryState::Skipped:
            return "abgebrochen";
        case EntryState::Failed:
            break;
    }
    return "fehlgeschlagen: " + entry.reason;
}

std::string JobIndicatorText(const BoardJob& job) {
    for (std::size_t i = 0; i < job.entries.size(); ++i) {
        if (job.entries[i].state == EntryState::Running) {
            return "Box: " + job.entries[i].name + ", " + std::to_string(i + 1) + " von " +
                   std::to_string(job.entries.size()) + ", " + Percent(job.doneKB, job.totalKB);
        }
    }
    return {};
}

std::string JobTotalText(const BoardJob& job) {
    std::size_t ended = 0;
    for (const BoardEntry& entry : job.entries) {
        ended += EntryEnded(entry.state) ? 1 : 0;
    }
    return std::to_string(ended) + " von " + std::to_string(job.entries.size()) +
           " Einträgen beendet, " + Percent(job.doneKB, job.totalKB);
}

std::optional<int> JobUsing(const std::vector<BoardJob>& jobs, const std::string& path) {
    for (const BoardJob& job : jobs) {
        for (const BoardEntry& entry : job.entries) {
            if (!job.ended && !EntryEnded(entry.state) &&
                (Overlap(entry.from + entry.name, path) || Overlap(entry.to + entry.name, path))) {
                return job.number;
            }
        }
    }
    return std::nullopt;
}

std::string UsedByJobText(const std::string& path, int job) {
    return path + " wird von Auftrag " + std::to_string(job) +
           " auf der Box gebraucht. Bitte warten, bis er beendet ist, oder ihn in der "
           "Auftragsliste (Strg+J) abbrechen.";
}

std::int64_t PendingKB(const std::vector<BoardJob>& jobs, const std::string& destFolder) {
    std::int64_t pending = 0;
    for (const BoardJob& job : jobs) {
        for (const BoardEntry& entry : job.entries) {
            if (!job.ended && !EntryEnded(entry.state) && entry.op != EntryOp::Rename &&
                DriveOf(entry.to) == DriveOf(destFolder)) {
                pending += entry.sizeKB;
            }
        }
    }
    return pending;
}

}  // namespace olmira
