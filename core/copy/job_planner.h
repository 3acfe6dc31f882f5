#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "copy/box_figures.h"
#include "copy/job_plan.h"
#include "session/pane.h"

namespace olmira {

struct TSetup;
class BoxSession;
class Conversation;
class SessionWindow;
class CopyWindow;

// An entry a planned job takes, with what it measured.
struct PlannedItem {
    JobSource source;
    std::int64_t sizeKB = 0;
};

// A job checked and ready to be handed to the box. id tells it from every
// other job this program planned.
struct PlannedJob {
    std::uint64_t id = 0;
    TransferMode mode = TransferMode::Copy;
    Pane from = Source;
    Pane to = Destination;
    std::string destFolder;
    std::vector<PlannedItem> items;
    std::int64_t totalKB = 0;
    // Every entry given; those left out already (not to be overwritten)
    // among its problems.
    JobReport report;

    // A move on the same drive is a rename there.
    bool Renames(const PlannedItem& item) const;
    bool AllRename() const;
};

// Everything before a job is handed over, on this PC: the questions about
// entries the destination has already, the entries' sizes, the
// destination's free space (a copy goes under a temporary name, so the
// entry it replaces still takes its space until the end) and whether its
// file system takes files of 4 GiB. A job starts once the destination's
// listing of its current folder has come, so its questions read that
// folder's entries; the panes stay locked from the start.
class JobPlanner {
public:
    JobPlanner(const TSetup& settings, BoxSession& session, SessionWindow& window,
               CopyWindow& copyWindow, Conversation& conversation);

    void Start(TransferMode mode, std::vector<JobSource> sources, Pane to);
    // Before the job is handed over: nothing of it reaches the box.
    void Cancel();
    void ConnectionEnded();
    bool Busy() const { return phase_ != Phase::Idle; }

    // The job passed its checks; the panes stay locked.
    std::function<void(PlannedJob)> OnPlanned;
    // The job ended before anything was changed: refused, cancelled or
    // every entry left out; the panes are unlocked again.
    std::function<void(const JobReport&)> OnDropped;
    // What the jobs on the box before this one will still write to the
    // drive of a destination folder.
    std::function<std::int64_t(const std::string&)> PendingKB;

private:
    enum class Phase { Idle, Waiting, Measuring };

    void Plan(std::uint64_t id, TransferMode mode, std::vector<JobSource> sources, Pane to);
    bool ChooseItems(std::vector<JobSource> sources, const EntryList& destEntries);
    bool Overwrites(const JobSource& source, bool single, std::optional<bool>& all);
    void Drop(const std::string& reason, bool show);
    void SendMeasures();
    void SendSizesTogether(const std::vector<std::size_t>& items);
    void SendSizesAlone(const std::vector<std::size_t>& items);
    void MeasuredTogether(const std::vector<std::size_t>& items,
                          const std::vector<std::string>& paths);
    void MeasuredSizes(const std::vector<std::size_t>& items);
    void MeasuredSize(std::size_t index, const ReplyLines& reply);
    void Unmeasured(std::size_t index, const std::vector<std::string>& messages);
    void MeasuredMounts();
    void SearchLargeFiles();
    void Check();
    std::optional<std::string> CheckRefusal() const;

    const TSetup& settings_;
    BoxSession& session_;
    SessionWindow& window_;
    CopyWindow& copyWindow_;
    Conversation& conversation_;

    Phase phase_ = Phase::Idle;
    std::uint64_t lastId_ = 0;
    PlannedJob job_;
    std::vector<std::string> unmeasured_;
    std::optional<DiskSpace> space_;
    bool fat_ = false;
    bool searched_ = false;
    bool cancelled_ = false;
    std::vector<std::string> tooLarge_;
};

}  // namespace olmira
