#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "copy/box_figures.h"
#include "copy/job_plan.h"
#include "session/list_entry.h"
#include "session/pane.h"
#include "tidy/outcome_check.h"
#include "tidy/tidy_commands.h"

namespace olmira {

struct TSetup;
class BoxSession;
class Conversation;
class SessionWindow;
class TidyWindow;

// What the properties read from the box about one entry.
struct EntryProperties {
    // Below the media root: the pane's folder and the entry's caption.
    std::string path;
    bool folder = false;
    std::optional<EntryStatus> status;
    // A folder's content, links followed: bytes and number of files.
    std::optional<std::int64_t> contentBytes;
    std::optional<std::int64_t> contentFiles;
    std::optional<DiskSpace> drive;
    // What stat, du or df said instead of figures.
    std::vector<std::string> messages;
};

// Deletes, renames and makes entries in a pane's listed folder, shows an
// entry's properties and, after every listing, the pane's free space. Each
// change is checked (path and name rules) before its line goes out, goes
// one command at a time through the conversation, and its reply is read
// for the tool's messages; the pane is listed afresh afterwards. Runs on the
// UI thread.
class TidyController final {
public:
    TidyController(const TSetup& settings, BoxSession& session, SessionWindow& window,
                   TidyWindow& tidyWindow, Conversation& conversation);

    // Handlers of the window. They throw olmira::Error for the window to show.
    // Entf, F8 and the delete buttons: the selected entries of pane (a
    // recording's info file with them as the settings say), after the question.
    void DeleteSelected(Pane pane);
    // F2: the current entry of pane, to the name the input box asks for.
    void RenameCurrent(Pane pane);
    // F7: a folder the input box names, in the folder pane lists; it is
    // selected once the pane has been listed afresh.
    void NewFolder(Pane pane);
    // tbSourceProperties and ToolButton2: the current entry of pane ("./"
    // stands for the listed folder itself).
    void ShowProperties(Pane pane);
    // Asks for the free space of the drive that pane lists; the box session
    // calls it after each listing.
    void Listed(Pane pane);
    // Disconnect, exit or a lost connection: nothing outstanding any more.
    void ConnectionEnded();

    // The same without questions, for the console; the entries are listed
    // in the folder that pane lists. Refusals throw before a line goes out.
    void Remove(Pane pane, std::vector<ListEntry> entries);
    void Rename(Pane pane, const ListEntry& entry, const std::string& newName);
    void MakeFolder(Pane pane, const std::string& newName);
    void Measure(Pane pane, const ListEntry& entry);
    // The free space of the file system that holds folder (below the media
    // root), shown for pane and kept as its FreeSpace.
    void ReadFreeSpace(Pane pane, const std::string& folder);

    // While a command of ours waits for its reply or its turn.
    bool Running() const;
    // While a delete, rename, new folder or properties is under way: a copy
    // waits for it, so that it plans against the listing that follows.
    bool Busy() const { return busy_; }
    // What became of the entries of the last delete, rename or new folder.
    const EntriesReport& LastReport() const { return report_; }
    const std::optional<EntryProperties>& LastProperties() const { return properties_; }
    // From the last df reply for pane; nullopt when none could be read.
    std::optional<DiskSpace> FreeSpace(Pane pane) const;

    // Whether a copy job is being planned or holds the panes: nothing is
    // changed meanwhile.
    std::function<bool()> CopyRunning;
    // The job, waiting or running on the box, that needs the entry at a
    // path below the media root: such an entry is not changed.
    std::function<std::optional<int>(const std::string&)> JobUsing;

    // A pane's df replaces the one of the same pane that still waits; the
    // panes' listings use the slots Source and Destination.
    static constexpr int kFreeSpaceSlot = 10;

private:
    // A new folder or rename whose reply said nothing: it is done once the
    // pane's listing that follows shows the new names.
    struct PendingCheck {
        Pane pane = Source;
        NamesCheck names;
        std::string doneText;
        std::string failedText;
    };

    void RefuseWhileBusy() const;
    const std::string& ListedFolder(Pane pane) const;
    void RefuseChange(Pane pane, const ListEntry& entry) const;
    void Begin(const std::string& folder, std::size_t entries);
    // Counts the entry done unless the reply holds the tool's messages.
    void Record(std::string_view name, std::string_view prefix);
    void Removed(Pane pane, std::string_view name);
    void Changed(Pane pane);
    // The listing that follows a change: the changed entry is selected when
    // it shows what was asked for.
    void Checked(Pane pane);
    void Refresh(Pane pane);
    void ReadStatus();
    void ReadContent();
    void ReadDrive();
    void ShowMeasured();
    void FreeSpaceRead(Pane pane);
    static std::size_t Index(Pane pane) { return pane == Source ? 0 : 1; }

    const TSetup& settings_;
    BoxSession& session_;
    SessionWindow& window_;
    TidyWindow& tidyWindow_;
    Conversation& conversation_;

    // A delete, rename, new folder or properties is on its way.
    bool busy_ = false;
    // The folder that the running operation changes or reads.
    std::string folder_;
    EntriesReport report_;
    std::optional<EntryProperties> properties_;
    std::array<std::optional<DiskSpace>, 2> freeSpace_;
    std::optional<PendingCheck> check_;
};

}  // namespace olmira
