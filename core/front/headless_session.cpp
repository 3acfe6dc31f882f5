#include "front/headless_session.h"

#include <algorithm>
#include <chrono>
#include <iterator>
#include <memory>

#include "copy/copy_progress.h"
#include "copy/given_name.h"
#include "error.h"
#include "tidy/box_path.h"

namespace olmira {

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kTimerPeriod = std::chrono::milliseconds(250);

// A path below /var/media as the panes name it: a folder ends in "/", an
// entry does not. What the rules refuse throws before any line goes to the
// box: "../.." would list the box's root. A leading "/" stays and is
// refused: "/var/media/hdd" would otherwise turn into a drive "var".
std::string BoxPath(std::string path, PathUse use, bool folder) {
    while (!folder && path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    if (folder && !path.empty() && path.back() != '/') {
        path += '/';
    }
    if (const std::optional<std::string> refusal = PathRefusal(path, use)) {
        throw Error(*refusal);
    }
    return path;
}

// The entry paths of paths, every one checked before the first is used.
std::vector<std::string> EntryPaths(const std::vector<std::string>& paths, PathUse use) {
    std::vector<std::string> items;
    for (const std::string& path : paths) {
        items.push_back(BoxPath(path, use, false));
    }
    return items;
}

// Lines for standard error.
std::string Lines(const std::vector<std::string>& lines) {
    return Joined(lines, "\n");
}

}  // namespace

HeadlessSession::HeadlessSession(TSetup settings) : settings_(std::move(settings)) {}

void HeadlessSession::ThrowIfFailed() {
    if (!window_.errors.empty()) {
        throw Error(window_.errors.front());
    }
    if (!window_.messages.empty()) {
        throw Error(window_.messages.front());
    }
}

// The 250 ms session timer and the copy's one-shot timer, as the window runs them.
void HeadlessSession::ServeTimers(Clock::time_point& nextTick) {
    if (Clock::now() >= nextTick) {
        nextTick += kTimerPeriod;
        if (window_.timerRunning) {
            Session().TimerTimer();
        }
    }
    if (!window_.copyTimerMs) {
        copyDue_.reset();
    } else if (!copyDue_ || copyTimerStart_ != window_.copyTimerStarts) {
        copyDue_ = Clock::now() + std::chrono::milliseconds(*window_.copyTimerMs);
        copyTimerStart_ = window_.copyTimerStarts;
    } else if (Clock::now() >= *copyDue_) {
        window_.copyTimerMs.reset();
        copyDue_.reset();
        Copier().CopyTimerTimer();
    }
}

void HeadlessSession::RunUntil(const std::function<bool()>& done, const char* waitingFor,
                               std::chrono::milliseconds patience) {
    auto deadline = Clock::now() + patience;
    auto nextTick = Clock::now() + kTimerPeriod;
    std::size_t blocksSeen = window_.blocksReceived;
    bool cancelled = false;
    while (!done()) {
        ThrowIfFailed();
        if (cancelFlag_ != nullptr && *cancelFlag_ != 0 && !cancelled) {
            cancelled = true;
            Copier().Cancel();
        }
        if (connected_ && window_.connectImage == 0 && Session().Reconnecting()) {
            throw LineDropped();
        }
        if (connected_ && window_.connectImage == 0 && !Session().Connecting()) {
            throw Error("Verbindung zur Box wurde getrennt");
        }
        if (window_.blocksReceived != blocksSeen) {
            blocksSeen = window_.blocksReceived;
            deadline = Clock::now() + patience;
        }
        if (Clock::now() > deadline) {
            throw Error(std::string("Keine Antwort der Box: ") + waitingFor);
        }
        auto wake = nextTick;
        if (copyDue_) {
            wake = std::min(wake, *copyDue_);
        }
        box_.HandOver().ServeFor(std::chrono::duration_cast<std::chrono::milliseconds>(
            std::max(wake - Clock::now(), Clock::duration::zero())));
        ServeTimers(nextTick);
    }
    ThrowIfFailed();
}

void HeadlessSession::LogIn() {
    Session().tbConnectClick();
    RunUntil([this] { return window_.connectImage == 1; }, "Verbindung");
    connected_ = true;
    RunUntil([this] { return window_.View(Source).enabled; }, "Liste der Laufwerke");
}

void HeadlessSession::AwaitReconnect() {
    connected_ = false;
    RunUntil(
        [this] {
            if (!Session().Reconnecting() && !window_.View(Source).enabled) {
                throw Error("Die Verbindung zur Box kam nicht wieder");
            }
            return window_.View(Source).enabled;
        },
        "Wiederverbindung", std::chrono::minutes(6));
    connected_ = true;
}

void HeadlessSession::ShowAndWait(Pane pane, const std::string& path) {
    if (!connected_) {
        LogIn();
    }
    const int shown = window_.View(pane).listingsShown;
    Session().ShowFolder(pane, path);
    RunUntil([this, pane, shown] { return window_.View(pane).listingsShown > shown; },
             "Verzeichnisliste");
}

// The items of one folder are found, and deleted, in one listing of it.
void HeadlessSession::ShowUnlessListed(Pane pane, const std::string& folder) {
    if (!connected_ || Session().PaneOf(pane).ListedPath != folder || !window_.View(pane).entries) {
        ShowAndWait(pane, folder);
    }
}

std::vector<std::string> HeadlessSession::Drives() {
    if (!connected_) {
        LogIn();
    }
    return window_.View(Source).drives;
}

void HeadlessSession::ListExisting(Pane pane, const std::string& folder) {
    ShowAndWait(pane, folder);
    const std::vector<std::string>& messages = Session().PaneOf(pane).ListingMessages;
    if (!messages.empty()) {
        throw Error(Lines(messages));
    }
}

SharedEntries HeadlessSession::Listing(const std::string& path) {
    ListExisting(Source, BoxPath(path, PathUse::Read, true));
    return window_.View(Source).entries;
}

JobSource HeadlessSession::FindListed(Pane pane, const std::string& item) {
    const std::size_t slash = item.rfind('/');
    if (slash == std::string::npos) {
        throw Error("Nur Dateien und Ordner eines Laufwerks, nicht das Laufwerk selbst: " + item);
    }
    const std::string folder = item.substr(0, slash + 1);
    ShowUnlessListed(pane, folder);
    std::optional<ListEntry> entry = FindGiven(item.substr(slash + 1), *window_.View(pane).entries);
    if (!entry) {
        throw Error("Nicht gefunden: " + item);
    }
    return {folder, std::move(*entry)};
}

std::vector<JobSource> HeadlessSession::GatherSources(const std::vector<std::string>& items) {
    std::vector<JobSource> gathered;
    for (const std::string& item : items) {
        JobSource found = FindListed(Source, item);
        for (JobSource& next :
             SourcesTaken(settings_, found.folder, {found.entry}, *window_.View(Source).entries)) {
            const auto same = std::find_if(gathered.begin(), gathered.end(), [&](auto& source) {
                return source.folder == next.folder && source.entry == next.entry;
            });
            if (same == gathered.end()) {
                gathered.push_back(std::move(next));
            } else {
                // an info file named after its recording is one of the given
                same->withRecording = same->withRecording && next.withRecording;
            }
        }
    }
    return gathered;
}

// A folder that is not there would make cp's destination a renamed copy.
std::string HeadlessSession::ExistingFolder(const std::string& folder) {
    const std::string path = BoxPath(folder, PathUse::Read, true);
    const std::string bare = path.substr(0, path.size() - 1);
    const std::size_t slash = bare.rfind('/');
    bool exists = false;
    if (slash == std::string::npos) {
        const std::vector<std::string> drives = Drives();
        exists = std::find(drives.begin(), drives.end(), path) != drives.end();
    } else {
        ShowAndWait(Destination, bare.substr(0, slash + 1));
        const std::optional<ListEntry> entry =
            FindGiven(bare.substr(slash + 1), *window_.View(Destination).entries);
        exists = entry && entry->kind == EntryKind::Folder;
    }
    if (!exists) {
        throw Error("Kein Ordner auf der Box: " + folder);
    }
    return path;
}

std::size_t HeadlessSession::StartTransfer(TransferMode mode,
                                           const std::vector<std::string>& sources,
                                           const std::string& destFolder, bool overwrite) {
    // Moving takes the sources away: a drive itself may be copied from, not moved.
    const std::vector<std::string> items =
        EntryPaths(sources, mode == TransferMode::Move ? PathUse::Change : PathUse::Read);
    const std::string dest = ExistingFolder(destFolder);
    std::vector<JobSource> gathered = GatherSources(items);
    ShowAndWait(Destination, dest);
    window_.answerYes = overwrite;
    const std::size_t questions = window_.questions.size();
    Copier().StartJob(mode, std::move(gathered), Destination);
    return questions;
}

void HeadlessSession::ThrowUnlessJobDone(std::size_t questionsBefore) {
    const JobReport& report = Copier().LastReport();
    if (report.done == report.entries) {
        return;
    }
    if (report.entries == 1 && window_.questions.size() > questionsBefore) {
        throw Error(window_.questions.back() + " Nein (--overwrite überschreibt).");
    }
    throw Error(ReportText(report));
}

bool HeadlessSession::JobIdle() {
    return !Copier().Running() && !box_.Talk().ReplyOutstanding();
}

void HeadlessSession::Transfer(TransferMode mode, const std::vector<std::string>& sources,
                               const std::string& destFolder, bool overwrite) {
    const std::size_t questions = StartTransfer(mode, sources, destFolder, overwrite);
    RunUntil([this] { return JobIdle(); }, "Kopiervorgang");
    ThrowUnlessJobDone(questions);
}

// Once the box has numbered the job, it runs there whatever becomes of
// this connection.
int HeadlessSession::HandOver(TransferMode mode, const std::vector<std::string>& sources,
                              const std::string& destFolder, bool overwrite) {
    const std::size_t questions = StartTransfer(mode, sources, destFolder, overwrite);
    RunUntil([this] { return Copier().FollowedNumber() != 0 || JobIdle(); },
             "Übergabe des Auftrags");
    if (Copier().FollowedNumber() == 0) {
        ThrowUnlessJobDone(questions);
    }
    return Copier().FollowedNumber();
}

// A line that drops ends the following too: that is no end of the job.
std::string HeadlessSession::AwaitJob() {
    std::string message = RunUntilMessage([this] { return JobIdle(); }, "Kopiervorgang");
    if (Session().Reconnecting()) {
        throw LineDropped();
    }
    return message;
}

ReplyLines HeadlessSession::AskRunner(const std::string& command) {
    if (!connected_) {
        LogIn();
    }
    // Shared with the callback, which a throw here would leave behind.
    struct Answer {
        bool replied = false;
        std::optional<std::string> refusal;
        ReplyLines lines;
    };
    const auto answer = std::make_shared<Answer>();
    Copier().AskRunner(command, [this, answer](bool ready, const std::string& reason) {
        answer->replied = true;
        if (ready) {
            answer->lines = Session().ReplyLines();
        } else {
            answer->refusal = reason;
        }
    });
    RunUntil([answer] { return answer->replied; }, "Aufträge der Box");
    if (answer->refusal) {
        throw Error(*answer->refusal);
    }
    return answer->lines;
}

std::string HeadlessSession::RunUntilMessage(const std::function<bool()>& done,
                                             const char* waitingFor) {
    try {
        RunUntil(done, waitingFor);
        return {};
    } catch (const Error&) {
        if (!window_.errors.empty() || window_.messages.empty()) {
            throw;
        }
    }
    std::string message = std::move(window_.messages.front());
    window_.messages.clear();
    return message;
}

void HeadlessSession::AwaitTidy() {
    const auto idle = [this] { return !Tidy().Running() && !box_.Talk().ReplyOutstanding(); };
    // The message a window shows of what failed; the report tells it too.
    if (!RunUntilMessage(idle, "Befehl auf der Box").empty()) {
        RunUntil(idle, "Befehl auf der Box");
    }
}

void HeadlessSession::ThrowIfNotDone() {
    const EntriesReport& report = Tidy().LastReport();
    if (!report.problems.empty()) {
        throw Error(ProblemLines(report.problems));
    }
}

// One rm a folder's entries, as a pane deletes its selection; the next
// folder's entries go even when some of these failed.
void HeadlessSession::Remove(const std::vector<std::string>& paths) {
    const std::vector<JobSource> gathered = GatherSources(EntryPaths(paths, PathUse::Change));
    std::vector<JobOutcome> problems;
    for (auto first = gathered.begin(); first != gathered.end();) {
        const auto end = std::find_if(first, gathered.end(), [&first](const JobSource& next) {
            return next.folder != first->folder;
        });
        std::vector<ListEntry> entries;
        std::transform(first, end, std::back_inserter(entries),
                       [](const JobSource& source) { return source.entry; });
        ShowUnlessListed(Source, first->folder);
        Tidy().Remove(Source, std::move(entries));
        AwaitTidy();
        const std::vector<JobOutcome>& failed = Tidy().LastReport().problems;
        problems.insert(problems.end(), failed.begin(), failed.end());
        first = end;
    }
    if (!problems.empty()) {
        throw Error(ProblemLines(problems));
    }
}

void HeadlessSession::Rename(const std::string& path, const std::string& newName) {
    const JobSource found = FindListed(Source, BoxPath(path, PathUse::Change, false));
    Tidy().Rename(Source, found.entry, newName);
    AwaitTidy();
    ThrowIfNotDone();
}

void HeadlessSession::MakeFolder(const std::string& path) {
    const std::string item = BoxPath(path, PathUse::Change, false);
    const std::size_t slash = item.rfind('/');
    ListExisting(Source, item.substr(0, slash + 1));
    Tidy().MakeFolder(Source, item.substr(slash + 1));
    AwaitTidy();
    ThrowIfNotDone();
}

std::vector<std::pair<std::string, DiskSpace>> HeadlessSession::FreeSpace(
    std::vector<std::string> drives) {
    const std::vector<std::string> known = Drives();
    if (drives.empty()) {
        drives = known;
    }
    std::vector<std::pair<std::string, DiskSpace>> spaces;
    for (const std::string& given : drives) {
        const std::string drive = BoxPath(given, PathUse::Read, true);
        if (std::find(known.begin(), known.end(), drive) == known.end()) {
            throw Error("Kein Laufwerk der Box: " + given);
        }
        Tidy().ReadFreeSpace(Source, drive);
        AwaitTidy();
        const std::optional<DiskSpace> space = Tidy().FreeSpace(Source);
        if (!space) {
            throw Error("Der freie Platz von " + drive + " ist unbekannt.");
        }
        spaces.emplace_back(drive, *space);
    }
    return spaces;
}

EntryProperties HeadlessSession::Properties(const std::string& path) {
    const JobSource found = FindListed(Source, BoxPath(path, PathUse::Read, false));
    Tidy().Measure(Source, found.entry);
    AwaitTidy();
    const EntryProperties& properties = *Tidy().LastProperties();
    if (!properties.status ||
        (properties.folder && (!properties.contentBytes || !properties.contentFiles))) {
        throw Error(Lines(properties.messages));
    }
    return properties;
}

void HeadlessSession::Finish() {
    Session().DisconnectForExit();
}

}  // namespace olmira
