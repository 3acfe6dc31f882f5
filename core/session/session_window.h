#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "session/entry_dates.h"
#include "session/list_entry.h"
#include "session/pane.h"

namespace olmira {

// What a pane's folder label and the connect button say without a connection.
inline constexpr char kNotConnected[] = "nicht verbunden";
// The connect button's hint: "Verbindung zu <host> herstellen" or "... trennen".
std::string ConnectHint(const std::string& host, bool connected);

// Everything the box session does to the main window. Texts are bytes: the
// program's own texts are UTF-8, texts from the box or the INI file are
// passed through as they came, and the window decodes them for display.
class SessionWindow {
public:
    virtual ~SessionWindow() = default;

    virtual void SetStatusText(const std::string& text) = 0;

    // The connect button's image doubles as the "connected" flag: 0 or 1.
    virtual int ConnectImage() const = 0;
    virtual void SetConnectImage(int image) = 0;
    virtual void SetConnectHint(const std::string& hint) = 0;

    virtual void SetSetupEnabled(bool enabled) = 0;
    virtual void SetPaneEnabled(Pane pane, bool enabled) = 0;
    virtual void SetCopyEnabled(bool enabled) = 0;

    virtual void SetFolderCaption(Pane pane, const std::string& caption) = 0;

    virtual void ClearDriveBox(Pane pane) = 0;
    virtual void AddDrive(Pane pane, const std::string& entry) = 0;
    virtual void SelectFirstDrive(Pane pane) = 0;

    virtual void ClearEntryList(Pane pane) = 0;
    // The list is shared with the session, which keeps it as the pane's entries.
    virtual void SetEntries(Pane pane, SharedEntries entries) = 0;
    // The folder shown listed again: a window with a screen keeps the
    // user's selection and scroll position on it.
    virtual void RefreshEntries(Pane pane, SharedEntries entries) {
        SetEntries(pane, std::move(entries));
    }
    // Whether the window shows when entries were changed: only then are the
    // dates asked for, after each listing.
    virtual bool ShowsDates() const { return false; }
    // The dates of the entries SetEntries gave last, by entry index.
    virtual void SetDates(Pane /*pane*/, SharedDates /*dates*/) {}
    // The current entry, which Enter and a double click open.
    virtual std::optional<ListEntry> SelectedEntry(Pane pane) const = 0;
    // Every selected entry in list order, never "./" or "../": what a job takes.
    virtual std::vector<ListEntry> SelectedEntries(Pane pane) const = 0;
    virtual void SetFolderUpEnabled(Pane pane, bool enabled) = 0;
    // Makes the listed entry with this caption the current and only selected
    // one; false when the pane lists none.
    virtual bool SelectEntry(Pane pane, const std::string& caption) = 0;
    // From the folder label's change until the listing comes or the
    // connection ends, the entries shown are the old folder's. A window
    // without a screen has nothing to show it on.
    virtual void SetListingPending(Pane /*pane*/, bool /*pending*/) {}

    // One received block, as a new entry of the log.
    virtual void AppendLog(const std::string& block) = 0;
    // A plain message box with one OK button.
    virtual void ShowMessage(const std::string& text) = 0;
    // The general error box (error icon, one OK button) for an error that
    // surfaced outside a handler the window guards, e.g. a failed connect
    // that completed in the background.
    virtual void ShowError(const std::string& text) = 0;

    // The first SSH connection to a box: whether to trust and keep its key,
    // asked with a question that names its fingerprint ("Ja"/"Nein").
    virtual bool TrustBoxKey(const std::string& question) = 0;

    // The 250 ms timer that paces the login.
    virtual void StartTimer() = 0;
    virtual void StopTimer() = 0;
};

}  // namespace olmira
