#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "conversation/job_notice.h"
#include "copy/box_figures.h"
#include "copy/job_plan.h"
#include "session/list_entry.h"
#include "session/pane.h"

namespace olmira {

struct TSetup;
class BoxSession;
class Conversation;
class SessionWindow;
class CopyWindow;

// Copies or moves entries into the other pane's folder, on the box, as one
// job. Before anything is changed the job measures its entries and the
// destination's free space and refuses what cannot fit. Then its entries
// go one at a time: a move on the same drive is one mv; a copy runs cp as a
// background job of the box's shell, whose listing is sent again and again
// until the shell's notice that this job has ended comes with a reply (the
// shell reports a job's end only in the reply to a further command line). A
// move across drives removes its source once the copy is complete. A job
// starts once the destination's listing of its current folder has come, so
// its questions read that folder's entries. Runs on the UI thread; the
// window's copy timer calls CopyTimerTimer.
class CopyController final {
public:
    CopyController(const TSetup& settings, BoxSession& session, SessionWindow& window,
                   CopyWindow& copyWindow, Conversation& conversation);

    // Handlers. They throw olmira::Error for the window to show.
    // F5 (Copy) and F6 (Move): the entries selected in pane from, into the
    // other pane's folder; a recording's info file goes along when the
    // settings say so.
    void StartJob(TransferMode mode, Pane from);
    // The copy button: left to right.
    void tbCopyFileClick();
    // Ends the running copy and removes what it left, when that was new;
    // the job's later entries are not started.
    void Cancel();
    void CopyTimerTimer();
    // Disconnect, exit or a lost connection.
    void ConnectionEnded();

    // The entries, as listed in their folders, into the folder that pane to
    // lists, as the console front gathers them.
    void StartJob(TransferMode mode, std::vector<JobSource> sources, Pane to);

    bool Running() const { return phase_ != Phase::Idle; }
    // Whether entries are being deleted, renamed or made: no job starts then.
    std::function<bool()> TidyBusy;
    // What became of the last job's entries.
    const JobReport& LastReport() const { return report_; }

    // Between the polls of a copy without a window: its end shows at once.
    static constexpr int kQuietPollMs = 500;
    // Before the panes are listed after the job.
    static constexpr int kSettleMs = 500;
    // Between polls while a cancelled copy's job ends.
    static constexpr int kCancelPollMs = 250;

private:
    enum class Phase { Idle, Waiting, Measuring, Running, Finishing };

    struct Item {
        JobSource source;
        std::int64_t sizeKB = 0;
        // Only a copy that made a new entry may be removed when it fails.
        bool targetExisted = false;
    };

    // A measured entry: its bytes and its number of files.
    struct Figures {
        std::int64_t bytes = 0;
        std::int64_t files = 0;
        bool operator==(const Figures&) const = default;
    };

    // What a job gathers before it starts and as it runs.
    struct Job {
        TransferMode mode = TransferMode::Copy;
        Pane from = Source;
        Pane to = Destination;
        std::string destFolder;
        std::vector<Item> items;
        std::vector<std::string> unmeasured;
        std::optional<DiskSpace> space;
        bool fat = false;
        bool searched = false;
        std::vector<std::string> tooLarge;
        std::int64_t totalKB = 0;
        std::int64_t doneKB = 0;
        std::size_t current = 0;
        bool cancelRequested = false;
        bool windowShown = false;
        // The end report for the message box once the panes are listed.
        std::string message;
    };

    // The entry being copied.
    struct Copy {
        // The copy line has gone out: from then on the box copies.
        bool lineSent = false;
        bool running = false;
        int job = 0;
        bool pollOutstanding = false;
        bool killSent = false;
        std::int64_t lastTransferredKB = 0;
        std::optional<Figures> sourceFigures;
        // cp's messages from the replies since the copy line.
        std::vector<std::string> cpMessages;
    };

    bool Unambiguous(const std::string& name, const EntryList& entries) const;
    void Plan(TransferMode mode, std::vector<JobSource> sources, Pane from, Pane to);
    bool ChooseItems(std::vector<JobSource> sources, const EntryList& destEntries);
    void Refuse(const std::string& reason);
    void SendMeasures();
    void MeasuredSize(std::size_t index);
    void MeasuredMounts();
    void SearchLargeFiles();
    void Check();
    std::optional<std::string> CheckRefusal() const;
    void Begin();
    void NextItem();
    void StartCopy();
    void CopyStarted();
    std::optional<int> StartedJob() const;
    void SendPoll();
    void Polled();
    void UpdateProgress();
    void CopyEnded(JobEnd end);
    void VerifyMove();
    void SourceRemoved();
    void RemovePartialCopy(std::string reason);
    void Moved();
    void ItemDone();
    void ItemFailed(std::string reason);
    void Finish();
    std::string FinalStatus() const;
    std::string FinalMessage() const;
    void ListPanes();

    void Ask(std::string line, std::function<void()> reply);
    void Poll(std::string line);
    std::optional<Figures> ReadFigures() const;
    // A move on the same drive is a rename there.
    bool Renames(const Item& item) const;
    bool AllRename() const;
    bool SingleCopy() const;
    int PollMs() const;
    Item& Current() { return job_.items[job_.current]; }

    const TSetup& settings_;
    BoxSession& session_;
    SessionWindow& window_;
    CopyWindow& copyWindow_;
    Conversation& conversation_;

    Phase phase_ = Phase::Idle;
    Job job_;
    Copy copy_;
    JobReport report_;
};

}  // namespace olmira
