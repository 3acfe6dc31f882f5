#include "session/box_session.h"

#include <algorithm>
#include <array>
#include <memory>
#include <utility>

#include "conversation/shell_command.h"
#include "session/listing.h"
#include "session/session_window.h"
#include "tidy/box_path.h"

// What the panes show: the folders they open and their listings.

namespace olmira {

namespace {

// Whether a listing shows more than "./" and "../".
bool HoldsEntries(const EntryList& entries) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (IsFolderOrFile(entries.Kind(i))) {
            return true;
        }
    }
    return false;
}

int ListingState(Pane pane) {
    return pane == Source ? ssAwaitSourceListing : ssAwaitDestListing;
}

}  // namespace

// In the order of folders: the pane showing the first is listed first.
void BoxSession::RefreshShowing(const std::vector<std::string>& folders, std::optional<Pane> done) {
    std::array<bool, 2> listed{done == Source, done == Destination};
    for (const std::string& folder : folders) {
        for (const Pane pane : {Source, Destination}) {
            const std::string& shown = PaneOf(pane).CurrentPath;
            if (!listed[Index(pane)] && !shown.empty() && shown.starts_with(folder)) {
                listed[Index(pane)] = true;
                Refresh(pane);
            }
        }
    }
}

void BoxSession::HandleListing(Pane pane, const std::string& path, int depth,
                               const std::string& select) {
    PaneState* state = FindPane(pane);
    if (state == nullptr) {
        return;
    }
    window_.SetListingPending(pane, false);
    const std::string fallback = std::exchange(fallbacks_[Index(pane)], {});
    ListedOrder order;
    auto entries = std::make_shared<const EntryList>(
        ListingEntries(ReplyLines(), depth, window_.ShowsDates() ? &order : nullptr));
    std::vector<std::string> messages = ListingMessages(ReplyLines());
    if (!fallback.empty() && !messages.empty() && !HoldsEntries(*entries)) {
        conversation_.Framer().Clear();
        OpenFolder(pane, fallback, 1);
        return;
    }
    state->Entries = std::move(entries);
    state->ListingMessages = std::move(messages);
    // The entries keep the reply's text; what the box says before the next
    // command starts a text of its own rather than a copy of a long listing.
    conversation_.Framer().Clear();
    const bool again = state->ListedPath == path && select.empty();
    state->ListedPath = path;
    state->ListedDepth = depth;
    if (again) {
        window_.RefreshEntries(pane, state->Entries);
    } else {
        window_.SetEntries(pane, state->Entries);
    }
    if (!select.empty()) {
        window_.SelectEntry(pane, select);
    }
    window_.SetFolderUpEnabled(pane, depth > 1);
    if (!state->ListingMessages.empty()) {
        window_.SetStatusText(state->ListingMessages.front());
    }
    if (HoldsEntries(*state->Entries) && window_.ShowsDates()) {
        AskDates(pane, path, std::move(order));
    }
    if (OnListed) {
        OnListed(pane);
    }
}

// The dates belong to the listing that asked for them, which a later one
// may have replaced by the time they come.
void BoxSession::AskDates(Pane pane, const std::string& path, ListedOrder order) {
    conversation_.Ask(
        DatesCommand(path),
        [this, pane, listed = PaneOf(pane).Entries, order = std::move(order)] {
            if (PaneOf(pane).Entries == listed) {
                window_.SetDates(
                    pane, std::make_shared<const EntryDates>(ListedDates(ReplyLines(), order)));
            }
            conversation_.Framer().Clear();
        },
        kDatesSlot + pane);
}

PaneState* BoxSession::FindPane(Pane pane) {
    if (pane != Source && pane != Destination) {
        return nullptr;
    }
    return &panes_[Index(pane)];
}

const PaneState& BoxSession::PaneOf(Pane pane) const {
    return panes_[Index(pane)];
}

// The pane's label names the folder at once, and the old entries look
// stale until the listing comes; it goes out when the conversation is free,
// and a later one of the same pane replaces it while it waits. A line that
// cannot be sent leaves the pane where it was.
void BoxSession::OpenFolder(Pane pane, const std::string& path, int depth,
                            const std::string& select) {
    PaneState* state = FindPane(pane);
    if (state == nullptr) {
        return;
    }
    conversation_.Send(
        {ListingCommand(path), [this, pane] { SetSessionState(ListingState(pane)); },
         [this, pane, path, depth, select] { HandleListing(pane, path, depth, select); }, pane});
    state->CurrentPath = path;
    state->FolderDepth = depth;
    window_.SetFolderCaption(pane, path);
    window_.SetListingPending(pane, true);
}

void BoxSession::ShowFolder(Pane pane, const std::string& path) {
    if (!path.empty()) {
        OpenFolder(pane, path, static_cast<int>(std::count(path.begin(), path.end(), '/')));
    }
}

void BoxSession::ReopenFolder(Pane pane, const std::string& path) {
    if (FindPane(pane) == nullptr || path.empty() || PathRefusal(path, PathUse::Read)) {
        return;
    }
    fallbacks_[Index(pane)] = path.substr(0, path.find('/') + 1);
    ShowFolder(pane, path);
    if (pane == Destination) {
        window_.SetCopyEnabled(true);
    }
}

void BoxSession::ChooseDrive(Pane pane, const std::string& drive) {
    if (FindPane(pane) == nullptr ||
        std::find(drives_.begin(), drives_.end(), drive) == drives_.end()) {
        return;
    }
    OpenFolder(pane, drive, 1);
    if (pane == Destination) {
        window_.SetCopyEnabled(true);
    }
}

// The entry belongs to the folder the pane lists, which is not the one its
// label names while another listing is on its way.
void BoxSession::EnterSelected(Pane pane) {
    const PaneState* state = FindPane(pane);
    const std::optional<ListEntry> entry = window_.SelectedEntry(pane);
    if (state == nullptr || !entry) {
        return;
    }
    switch (entry->kind) {
        case EntryKind::ThisFolder:
            Refresh(pane);
            break;
        case EntryKind::ParentFolder:
            FolderUp(pane);
            break;
        case EntryKind::Folder:
            OpenFolder(pane, state->ListedPath + entry->caption, state->ListedDepth + 1);
            break;
        case EntryKind::File:
            break;
    }
}

void BoxSession::Refresh(Pane pane) {
    const PaneState* state = FindPane(pane);
    // Before a drive has been chosen there is no folder to list.
    if (state != nullptr && !state->CurrentPath.empty()) {
        OpenFolder(pane, state->CurrentPath, state->FolderDepth);
    }
}

void BoxSession::FolderUp(Pane pane) {
    const PaneState* state = FindPane(pane);
    if (state == nullptr || state->FolderDepth <= 1 || state->CurrentPath.size() < 2) {
        return;
    }
    // The folder just left is where the user goes on from.
    const std::string& path = state->CurrentPath;
    const std::size_t slash = path.rfind('/', path.size() - 2);
    if (slash != std::string::npos) {
        OpenFolder(pane, path.substr(0, slash + 1), state->FolderDepth - 1, path.substr(slash + 1));
    }
}

}  // namespace olmira
