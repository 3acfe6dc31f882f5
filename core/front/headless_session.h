#pragma once

#include <chrono>
#include <csignal>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "error.h"
#include "front/box_assembly.h"
#include "front/headless_window.h"
#include "settings/setup.h"

namespace olmira {

// The box session without a screen, driven the way the window drives it: the
// same session, quiet-time login and reply handling, with the calling thread
// as the UI thread. Throws olmira::Error with the text the window would show.
// The line to the box dropped by itself, and the session tries it again.
class LineDropped : public Error {
public:
    LineDropped() : Error("Verbindung zur Box wurde getrennt") {}
};

class HeadlessSession {
public:
    explicit HeadlessSession(TSetup settings);

    // Connects and logs in; the drive entries ("hdd/", ...).
    std::vector<std::string> Drives();
    // The entries of the folder path (relative to /var/media) as a pane
    // shows them; throws with ls's words when it has none (e.g. it is missing).
    SharedEntries Listing(const std::string& path);
    // Copies or moves sources (files or folders below /var/media) into the
    // existing folder destFolder as one job, as the window does, info files
    // going along as the settings say; returns once the panes have been
    // listed afresh. overwrite answers every question for an existing name.
    // Throws with the end report unless every entry was done. Every path
    // is checked by PathRefusal first (a move's sources as changed).
    void Transfer(TransferMode mode, const std::vector<std::string>& sources,
                  const std::string& destFolder, bool overwrite);
    void Copy(const std::string& source, const std::string& destFolder, bool overwrite) {
        Transfer(TransferMode::Copy, {source}, destFolder, overwrite);
    }
    // The same job, but returns as soon as the box has it, with the box's
    // number for it; it stays in the program's record of handed jobs.
    int HandOver(TransferMode mode, const std::vector<std::string>& sources,
                 const std::string& destFolder, bool overwrite);
    // Serves the job the copier follows (CopyController::Follow) until it
    // has ended; returns the message the window would show then (empty when
    // none). The report is the copier's LastReport.
    std::string AwaitJob();
    // The reply of the runner on the box to command; the runner is put
    // there first when missing. Throws when it could not be.
    ReplyLines AskRunner(const std::string& command);
    // Deletes the entries paths name, found as Transfer finds its sources,
    // without a question; folders go with their content. Every path is
    // checked first, and nothing is deleted while one is missing. Throws
    // with each entry that was not deleted and rm's words for it.
    void Remove(const std::vector<std::string>& paths);
    // Gives the entry path names the name newName in the same folder.
    void Rename(const std::string& path, const std::string& newName);
    // Makes the folder path; its parent must exist.
    void MakeFolder(const std::string& path);
    // The space of each drive ("hdd/" or "hdd"), as df reads it; of all the
    // box has when drives is empty.
    std::vector<std::pair<std::string, DiskSpace>> FreeSpace(std::vector<std::string> drives);
    // What stat, du and df on the box tell of the entry path; throws with
    // their words when they tell neither its size nor, of a folder, its content.
    EntryProperties Properties(const std::string& path);
    // Once flag is set (by a signal handler), the running job is cancelled
    // as Esc cancels it in the window.
    void CancelWhenSet(const volatile std::sig_atomic_t& flag) { cancelFlag_ = &flag; }
    // Leaves the box's shell with "exit".
    void Finish();

    // Connects and waits for the drive list.
    void LogIn();
    // After RunUntil threw LineDropped: serves the session's own tries to
    // connect again until the drive list is back; throws when they end
    // without it.
    void AwaitReconnect();
    // Serves the connection, timers included, until done() holds; throws on
    // errors, a lost connection and when the box has been silent for patience.
    void RunUntil(const std::function<bool()>& done, const char* waitingFor,
                  std::chrono::milliseconds patience = kPatience);

    // The login alone takes four quiet times; a slow box gets plenty more.
    static constexpr std::chrono::milliseconds kPatience{30000};

    HeadlessWindow& Window() { return window_; }
    BoxSession& Session() { return box_.Session(); }
    CopyController& Copier() { return box_.Copier(); }
    TidyController& Tidy() { return box_.Tidy(); }
    TSetup& Settings() { return settings_; }

private:
    void ThrowIfFailed();
    // As RunUntil, but a message the window shows ends the wait and is
    // returned rather than thrown; empty when done() held without one.
    std::string RunUntilMessage(const std::function<bool()>& done, const char* waitingFor);
    // Checks and gathers a job's paths and starts it; the number of
    // questions asked before it.
    std::size_t StartTransfer(TransferMode mode, const std::vector<std::string>& sources,
                              const std::string& destFolder, bool overwrite);
    // Throws with the last job's report unless every entry was done; a
    // single entry that was not overwritten, with the question.
    void ThrowUnlessJobDone(std::size_t questionsBefore);
    // No job is planned, handed over or followed, and no reply is due.
    bool JobIdle();
    // Each entry from its folder's listing, as a pane selects it.
    std::vector<JobSource> GatherSources(const std::vector<std::string>& items);
    // The entry that item (a checked entry path) names in its folder's
    // listing in pane, by its caption or by the bytes of its name
    // (FindGiven), with that folder; throws when there is none.
    JobSource FindListed(Pane pane, const std::string& item);
    // Waits until the running delete, rename, new folder or properties and
    // what they asked for after them are done; the caller reads the report.
    void AwaitTidy();
    // Throws with the problems of the last report, if any.
    void ThrowIfNotDone();
    // Lists folder in pane; throws with ls's words when it is not there.
    void ListExisting(Pane pane, const std::string& folder);
    std::string ExistingFolder(const std::string& folder);
    void ShowAndWait(Pane pane, const std::string& path);
    void ShowUnlessListed(Pane pane, const std::string& folder);
    void ServeTimers(std::chrono::steady_clock::time_point& nextTick);

    TSetup settings_;
    HeadlessWindow window_;
    BoxAssembly box_{settings_, window_, window_, window_};
    bool connected_ = false;
    const volatile std::sig_atomic_t* cancelFlag_ = nullptr;
    // When the copy timer fires, for the timer start it was computed for.
    std::optional<std::chrono::steady_clock::time_point> copyDue_;
    int copyTimerStart_ = 0;
};

}  // namespace olmira
