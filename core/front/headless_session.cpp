#include "front/headless_session.h"

#include <algorithm>
#include <chrono>

#include "error.h"

namespace olmira {

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kTimerPeriod = std::chrono::milliseconds(250);

// A path below /var/media without leading "/"; folders end in "/".
std::string RelativePath(std::string path, bool folder) {
    while (!path.empty() && path.front() == '/') {
        path.erase(0, 1);
    }
    while (!folder && !path.empty() && path.back() == '/') {
        path.pop_back();
    }
    if (folder && (path.empty() || path.back() != '/')) {
        path += '/';
    }
    return path;
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

void HeadlessSession::ShowAndWait(Pane pane, const std::string& path) {
    if (!connected_) {
        LogIn();
    }
    const int shown = window_.View(pane).listingsShown;
    Session().ShowFolder(pane, path);
    RunUntil([this, pane, shown] { return window_.View(pane).listingsShown > shown; },
             "Verzeichnisliste");
}

std::vector<std::string> HeadlessSession::Drives() {
    if (!connected_) {
        LogIn();
    }
    return window_.View(Source).drives;
}

SharedEntries HeadlessSession::Listing(std::string path) {
    ShowAndWait(Source, RelativePath(std::move(path), true));
    return window_.View(Source).entries;
}

// Each source from its folder's listing, as a pane selects it.
std::vector<JobSource> HeadlessSession::GatherSources(const std::vector<std::string>& sources) {
    std::vector<JobSource> gathered;
    for (const std::string& source : sources) {
        const std::string item = RelativePath(source, false);
        const std::size_t slash = item.rfind('/');
        if (slash == std::string::npos || slash + 1 == item.size()) {
            throw Error("Nur Dateien und Ordner eines Laufwerks lassen sich kopieren: " + source);
        }
        const std::string folder = item.substr(0, slash + 1);
        const std::string name = item.substr(slash + 1);
        ShowAndWait(Source, folder);
        if (!window_.SelectEntry(Source, name) && !window_.SelectEntry(Source, name + "/")) {
            throw Error("Nicht gefunden: " + source);
        }
        std::vector<ListEntry> entries = window_.SelectedEntries(Source);
        if (settings_.with_crid) {
            entries = WithInfoFiles(entries, *window_.View(Source).entries);
        }
        for (ListEntry& entry : entries) {
            JobSource next{folder, std::move(entry)};
            if (std::find(gathered.begin(), gathered.end(), next) == gathered.end()) {
                gathered.push_back(std::move(next));
            }
        }
    }
    return gathered;
}

// A folder that is not there would make cp's destination a renamed copy.
std::string HeadlessSession::ExistingFolder(const std::string& folder) {
    const std::string path = RelativePath(folder, true);
    const std::string bare = path.substr(0, path.size() - 1);
    const std::size_t slash = bare.rfind('/');
    bool exists = false;
    if (slash == std::string::npos) {
        const std::vector<std::string> drives = Drives();
        exists = std::find(drives.begin(), drives.end(), path) != drives.end();
    } else {
        ShowAndWait(Destination, bare.substr(0, slash + 1));
        const SharedEntries entries = window_.View(Destination).entries;
        const std::string caption = bare.substr(slash + 1) + "/";
        exists = std::any_of(entries->begin(), entries->end(), [&caption](const ListEntry& entry) {
            return entry.kind == EntryKind::Folder && entry.caption == caption;
        });
    }
    if (!exists) {
        throw Error("Kein Ordner auf der Box: " + folder);
    }
    return path;
}

void HeadlessSession::Transfer(TransferMode mode, const std::vector<std::string>& sources,
                               const std::string& destFolder, bool overwrite) {
    std::vector<JobSource> gathered = GatherSources(sources);
    const std::string dest = ExistingFolder(destFolder);
    ShowAndWait(Destination, dest);
    window_.answerYes = overwrite;
    const std::size_t questions = window_.questions.size();
    Copier().StartJob(mode, std::move(gathered), Destination);
    RunUntil([this] { return !Copier().Running() && !box_.Talk().ReplyOutstanding(); },
             "Kopiervorgang");
    const JobReport& report = Copier().LastReport();
    if (report.done == report.entries) {
        return;
    }
    if (report.entries == 1 && window_.questions.size() > questions) {
        throw Error(window_.questions.back() + " Nein (--overwrite überschreibt).");
    }
    throw Error(ReportText(report));
}

void HeadlessSession::Finish() {
    Session().DisconnectForExit();
}

}  // namespace olmira
