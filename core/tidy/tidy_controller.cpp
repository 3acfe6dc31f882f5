#include "tidy/tidy_controller.h"

#include <utility>

#include "conversation/conversation.h"
#include "copy/copy_commands.h"
#include "copy/copy_progress.h"
#include "copy/job_board.h"
#include "copy/job_plan.h"
#include "copy/name_pattern.h"
#include "error.h"
#include "session/box_session.h"
#include "session/session_window.h"
#include "settings/setup.h"
#include "tidy/box_path.h"
#include "tidy/properties_text.h"
#include "tidy/tidy_texts.h"
#include "tidy/tidy_window.h"

namespace olmira {

namespace {

constexpr char kDeleted[] = "gelöscht";

// A caption the box showed with "?" would take every entry it matches along.
void RefuseAmbiguous(std::string_view caption, const EntryList& entries) {
    if (caption.find('?') != std::string_view::npos && CountMatches(caption, entries) > 1) {
        throw Error(Quoted(BareName(caption)) +
                    " passt auf der Box zu mehreren Einträgen; bitte zuerst einen davon anders "
                    "benennen.");
    }
}

// What the box said, or failing that what is missing.
std::vector<std::string> MessagesOr(const ReplyLines& lines, std::string_view prefix,
                                    std::string missing) {
    std::vector<std::string> messages = ToolMessages(lines, prefix);
    if (messages.empty()) {
        messages.push_back(std::move(missing));
    }
    return messages;
}

void Append(std::vector<std::string>& to, const std::vector<std::string>& more) {
    to.insert(to.end(), more.begin(), more.end());
}

}  // namespace

TidyController::TidyController(const TSetup& settings, BoxSession& session, SessionWindow& window,
                               TidyWindow& tidyWindow, Conversation& conversation)
    : settings_(settings),
      session_(session),
      window_(window),
      tidyWindow_(tidyWindow),
      conversation_(conversation) {}

// Checks of two operations could interleave with the other's changes.
void TidyController::RefuseWhileBusy() const {
    if (CopyRunning && CopyRunning()) {
        throw Error("Bitte warten, bis der Kopiervorgang beendet ist.");
    }
    if (busy_) {
        throw Error("Bitte warten, bis der laufende Vorgang beendet ist.");
    }
}

const std::string& TidyController::ListedFolder(Pane pane) const {
    const std::string& folder = session_.PaneOf(pane).ListedPath;
    if (folder.empty()) {
        throw Error("Es ist noch kein Ordner aufgelistet.");
    }
    return folder;
}

void TidyController::RefuseChange(Pane pane, const ListEntry& entry) const {
    const PaneState& state = session_.PaneOf(pane);
    if (const std::optional<std::string> refusal =
            PathRefusal(state.ListedPath + entry.caption, PathUse::Change)) {
        throw Error(*refusal);
    }
    RefuseAmbiguous(entry.caption, *state.Entries);
    std::string path = state.ListedPath + entry.caption;
    if (path.ends_with('/')) {
        path.pop_back();
    }
    if (const std::optional<int> job = JobUsing ? JobUsing(path) : std::nullopt) {
        throw Error(UsedByJobText(path, *job));
    }
}

void TidyController::DeleteSelected(Pane pane) {
    RefuseWhileBusy();
    const std::vector<ListEntry> selected = window_.SelectedEntries(pane);
    if (selected.empty()) {
        return;
    }
    std::vector<ListEntry> entries =
        EntriesTaken(settings_, selected, *session_.PaneOf(pane).Entries);
    // Refused before the question, so that a yes is never refused after it.
    for (const ListEntry& entry : entries) {
        RefuseChange(pane, entry);
    }
    if (tidyWindow_.AskDelete(DeleteQuestion(selected, entries.size() - selected.size()))) {
        Remove(pane, std::move(entries));
    }
}

void TidyController::Begin(const std::string& folder, std::size_t entries) {
    busy_ = true;
    folder_ = folder;
    report_ = EntriesReport{entries, 0, {}};
}

void TidyController::Record(std::string_view name, std::string_view prefix) {
    const std::vector<std::string> messages = ToolMessages(session_.ReplyLines(), prefix);
    if (messages.empty()) {
        ++report_.done;
    } else {
        report_.problems.push_back({std::string(name), Joined(messages, "; ")});
    }
}

void TidyController::Remove(Pane pane, std::vector<ListEntry> entries) {
    RefuseWhileBusy();
    const std::string folder = ListedFolder(pane);
    for (const ListEntry& entry : entries) {
        RefuseChange(pane, entry);
    }
    if (entries.empty()) {
        return;
    }
    Begin(folder, entries.size());
    // One rm an entry: each reply tells what became of its entry alone.
    for (const ListEntry& entry : entries) {
        conversation_.Ask(
            RemoveCommand(folder, entry.caption),
            [this, pane, name = std::string(BareName(entry.caption))] { Removed(pane, name); });
    }
}

void TidyController::Removed(Pane pane, std::string_view name) {
    Record(name, "rm: ");
    const std::size_t problems = report_.problems.size();
    if (report_.done + problems < report_.entries) {
        return;
    }
    busy_ = false;
    window_.SetStatusText(problems == 0 ? EntriesText(report_.entries) + " " + kDeleted
                                        : NotDoneText(report_.entries, problems, kDeleted));
    Refresh(pane);
    if (problems > 0) {
        window_.ShowMessage(ReportText(report_, kDeleted));
    }
}

void TidyController::RenameCurrent(Pane pane) {
    RefuseWhileBusy();
    const std::optional<ListEntry> entry = window_.SelectedEntry(pane);
    if (!entry || (entry->kind != EntryKind::Folder && entry->kind != EntryKind::File)) {
        return;
    }
    const std::string name(BareName(entry->caption));
    const std::optional<std::string> newName =
        tidyWindow_.AskName("Umbenennen", "Neuer Name für " + Quoted(name) + ":", name);
    if (newName && *newName != name) {
        Rename(pane, *entry, *newName);
    }
}

// A recording's info file takes the new name too, when it is there and
// that name is free: users rename a recording, not its two files.
void TidyController::Rename(Pane pane, const ListEntry& entry, const std::string& newName) {
    RefuseWhileBusy();
    const std::string folder = ListedFolder(pane);
    const EntryList& entries = *session_.PaneOf(pane).Entries;
    if (const std::optional<std::string> refusal = NameRefusal(newName, entries)) {
        throw Error(*refusal);
    }
    if (const std::optional<std::string> refusal = RenameRefusal(newName, entry.caption, entries)) {
        throw Error(*refusal);
    }
    RefuseChange(pane, entry);
    const std::optional<std::string> infoFile = InfoFileOf(entry.caption);
    const std::optional<std::string> newInfoFile = InfoFileOf(newName);
    const bool infoGoes = settings_.with_crid && entry.kind == EntryKind::File && newInfoFile &&
                          WithInfoFiles({entry}, entries).size() > 1 &&
                          !NameRefusal(*newInfoFile, entries) &&
                          !RenameRefusal(*newInfoFile, *infoFile, entries);
    const std::string name(BareName(entry.caption));
    const auto notRenamed = [](std::string_view from, std::string_view to) {
        return Quoted(from) + " wurde nicht in " + Quoted(to) + " umbenannt";
    };
    NamesCheck names{folder,
                     {{newName, entry.kind, notRenamed(name, newName)}},
                     session_.PaneOf(pane).Entries,
                     {name}};
    if (infoGoes) {
        names.asked.push_back({*newInfoFile, EntryKind::File, notRenamed(*infoFile, *newInfoFile)});
        names.gone.push_back(*infoFile);
    }
    Begin(folder, names.asked.size());
    check_ = PendingCheck{pane, std::move(names), Quoted(name) + " heißt jetzt " + Quoted(newName),
                          Quoted(name) + " wurde nicht umbenannt"};
    conversation_.Ask(RenameCommand(folder, entry.caption, newName), [=, this] {
        Record(name, "mv: ");
        if (!infoGoes || !report_.problems.empty()) {
            Changed(pane);
            return;
        }
        conversation_.Ask(RenameCommand(folder, *infoFile, *newInfoFile), [=, this] {
            Record(*infoFile, "mv: ");
            Changed(pane);
        });
    });
}

void TidyController::NewFolder(Pane pane) {
    RefuseWhileBusy();
    if (session_.PaneOf(pane).ListedPath.empty()) {
        return;
    }
    if (const std::optional<std::string> name =
            tidyWindow_.AskName("Neuer Ordner", "Name des neuen Ordners:", "")) {
        MakeFolder(pane, *name);
    }
}

void TidyController::MakeFolder(Pane pane, const std::string& newName) {
    RefuseWhileBusy();
    const std::string folder = ListedFolder(pane);
    if (const std::optional<std::string> refusal =
            NameRefusal(newName, *session_.PaneOf(pane).Entries)) {
        throw Error(*refusal);
    }
    if (const std::optional<std::string> refusal = PathRefusal(folder, PathUse::Read)) {
        throw Error(*refusal);
    }
    Begin(folder, 1);
    const std::string quoted = Quoted(newName);
    NamesCheck names{
        folder,
        {{newName, EntryKind::Folder, "Der Ordner " + quoted + " wurde nicht angelegt"}},
        session_.PaneOf(pane).Entries,
        {}};
    check_ = PendingCheck{pane, std::move(names), "Ordner " + quoted + " angelegt",
                          "Ordner " + quoted + " wurde nicht angelegt"};
    conversation_.Ask(MakeFolderCommand(folder, newName), [this, pane, newName] {
        Record(newName, "mkdir: ");
        Changed(pane);
    });
}

// What the box said ends a change it refused; otherwise the listing that
// follows has the last word.
void TidyController::Changed(Pane pane) {
    if (report_.problems.empty()) {
        Refresh(pane);
        return;
    }
    busy_ = false;
    window_.SetStatusText(std::exchange(check_, {})->failedText);
    Refresh(pane);
    window_.ShowMessage(ProblemLines(report_.problems));
}

void TidyController::Checked(Pane pane) {
    const PendingCheck check = *std::exchange(check_, {});
    const PaneState& state = session_.PaneOf(pane);
    CheckedNames checked;
    if (state.ListedPath == check.names.folder && state.ListingMessages.empty()) {
        checked = CheckNames(check.names, *state.Entries);
    } else {
        for (const AskedName& asked : check.names.asked) {
            checked.problems.push_back(Quoted(asked.name) + " ist nicht bestätigt: " +
                                       check.names.folder + " ließ sich danach nicht auflisten.");
        }
    }
    busy_ = false;
    report_.done -= checked.problems.size();
    for (std::string& problem : checked.problems) {
        report_.problems.push_back({{}, std::move(problem)});
    }
    if (checked.problems.empty()) {
        window_.SetStatusText(check.doneText);
        window_.SelectEntry(pane, *checked.caption);
        return;
    }
    window_.SetStatusText(check.failedText);
    window_.ShowMessage(ProblemLines(report_.problems));
}

// The pane's own listing confirms the change; the other pane is listed too
// when it shows the changed folder or one inside it.
void TidyController::Refresh(Pane pane) {
    session_.Refresh(pane);
    session_.RefreshShowing({folder_}, pane);
}

void TidyController::ShowProperties(Pane pane) {
    RefuseWhileBusy();
    const std::optional<ListEntry> entry = window_.SelectedEntry(pane);
    if (entry && entry->kind != EntryKind::ParentFolder) {
        Measure(pane, *entry);
    }
}

// "./" is the listed folder itself, which may be a drive.
void TidyController::Measure(Pane pane, const ListEntry& entry) {
    RefuseWhileBusy();
    const std::string folder = ListedFolder(pane);
    if (entry.kind == EntryKind::ParentFolder) {
        throw Error("Die Eigenschaften von „../“ zeigt der Ordner darüber.");
    }
    const bool self = entry.kind == EntryKind::ThisFolder;
    const std::string name = self ? "" : entry.caption;
    if (const std::optional<std::string> refusal = PathRefusal(folder + name, PathUse::Read)) {
        throw Error(*refusal);
    }
    RefuseAmbiguous(name, *session_.PaneOf(pane).Entries);
    busy_ = true;
    folder_ = folder;
    properties_ = EntryProperties{};
    properties_->path = folder + name;
    properties_->folder = self || entry.kind == EntryKind::Folder;
    conversation_.Ask(StatCommand(folder, name), [this] { ReadStatus(); });
    if (properties_->folder) {
        conversation_.Ask(MeasureCommand(folder, name), [this] { ReadContent(); });
    }
    conversation_.Ask(FreeSpaceCommand(folder), [this] {
        ReadDrive();
        ShowMeasured();
    });
}

void TidyController::ReadStatus() {
    properties_->status = ParseStatus(session_.ReplyLines());
    if (!properties_->status) {
        Append(properties_->messages,
               MessagesOr(session_.ReplyLines(), "stat: ", "Größe und Datum sind unbekannt."));
    }
}

// "du -sbL ... && find ... | wc -l": the bytes, then the count of files.
void TidyController::ReadContent() {
    const ReplyLines& lines = session_.ReplyLines();
    properties_->contentBytes = ParseDuFigure(lines);
    properties_->contentFiles = ParseCount(lines);
    if (!properties_->contentBytes || !properties_->contentFiles) {
        Append(properties_->messages, ToolMessages(lines, "find: "));
        Append(properties_->messages, MessagesOr(lines, "du: ", "Der Inhalt ist unbekannt."));
    }
}

void TidyController::ReadDrive() {
    properties_->drive = ParseDiskSpace(session_.ReplyLines());
    if (!properties_->drive) {
        Append(properties_->messages,
               MessagesOr(session_.ReplyLines(), "df: ", "Der freie Platz ist unbekannt."));
    }
}

void TidyController::ShowMeasured() {
    busy_ = false;
    tidyWindow_.ShowProperties("Eigenschaften", PropertiesText(*properties_));
}

void TidyController::Listed(Pane pane) {
    if (check_ && check_->pane == pane) {
        Checked(pane);
    }
    ReadFreeSpace(pane, session_.PaneOf(pane).ListedPath);
}

void TidyController::ReadFreeSpace(Pane pane, const std::string& folder) {
    if (PathRefusal(folder, PathUse::Read)) {
        freeSpace_[Index(pane)].reset();
        tidyWindow_.SetFreeSpaceText(pane, "");
        return;
    }
    conversation_.Ask(
        FreeSpaceCommand(folder), [this, pane] { FreeSpaceRead(pane); }, kFreeSpaceSlot + pane);
}

void TidyController::FreeSpaceRead(Pane pane) {
    std::optional<DiskSpace>& space = freeSpace_[Index(pane)];
    space = ParseDiskSpace(session_.ReplyLines());
    tidyWindow_.SetFreeSpaceText(pane, space ? "frei: " + GermanSize(space->freeKB) : "");
}

std::optional<DiskSpace> TidyController::FreeSpace(Pane pane) const {
    return freeSpace_[Index(pane)];
}

bool TidyController::Running() const {
    return busy_ || conversation_.Pending(kFreeSpaceSlot + Source) ||
           conversation_.Pending(kFreeSpaceSlot + Destination);
}

void TidyController::ConnectionEnded() {
    busy_ = false;
    check_.reset();
    freeSpace_ = {};
    for (const Pane pane : {Source, Destination}) {
        tidyWindow_.SetFreeSpaceText(pane, "");
    }
}

}  // namespace olmira
