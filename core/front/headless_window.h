#pragma once

#include <array>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "copy/copy_window.h"
#include "session/session_window.h"
#include "tidy/tidy_window.h"

namespace olmira {

// A window without a screen: keeps what the session shows, the way the real
// window would. The console front runs on it, and tests read it.
class HeadlessWindow : public SessionWindow, public CopyWindow, public TidyWindow {
public:
    struct ProgressView {
        bool shown = false;
        CopyProgressStart start;
        std::vector<CopyProgressUpdate> updates;
    };

    struct PaneView {
        bool enabled = false;
        bool folderUpEnabled = false;
        std::string caption = kNotConnected;
        std::vector<std::string> drives;
        std::optional<std::size_t> selectedDrive;
        SharedEntries entries = NoEntries();
        std::optional<std::size_t> selectedEntry;
        std::vector<std::size_t> selection;
        int listingsShown = 0;
        std::string freeSpace;
    };

    struct PropertiesView {
        std::string title;
        std::string text;
    };

    void SetStatusText(const std::string& text) override { statusTexts.push_back(text); }
    int ConnectImage() const override { return connectImage; }
    void SetConnectImage(int image) override { connectImage = image; }
    void SetConnectHint(const std::string& hint) override { connectHint = hint; }
    void SetSetupEnabled(bool enabled) override { setupEnabled = enabled; }
    void SetPaneEnabled(Pane pane, bool enabled) override { View(pane).enabled = enabled; }
    void SetCopyEnabled(bool enabled) override { copyEnabled = enabled; }
    void SetFolderCaption(Pane pane, const std::string& caption) override {
        View(pane).caption = caption;
    }
    void ClearDriveBox(Pane pane) override {
        View(pane).drives.clear();
        View(pane).selectedDrive.reset();
    }
    void AddDrive(Pane pane, const std::string& entry) override {
        View(pane).drives.push_back(entry);
    }
    void SelectFirstDrive(Pane pane) override {
        if (!View(pane).drives.empty()) {
            View(pane).selectedDrive = 0;
        }
    }
    // The drive SelectFirstDrive chose, if any.
    std::optional<std::string> SelectedDrive(Pane pane) const {
        const PaneView& view = View(pane);
        if (!view.selectedDrive) {
            return std::nullopt;
        }
        return view.drives.at(*view.selectedDrive);
    }
    void ClearEntryList(Pane pane) override {
        View(pane).entries = NoEntries();
        View(pane).selectedEntry.reset();
        View(pane).selection.clear();
    }
    void SetEntries(Pane pane, SharedEntries entries) override {
        View(pane).entries = std::move(entries);
        View(pane).selectedEntry.reset();
        View(pane).selection.clear();
        View(pane).listingsShown += 1;
    }
    std::optional<ListEntry> SelectedEntry(Pane pane) const override {
        const PaneView& view = View(pane);
        if (!view.selectedEntry) {
            return std::nullopt;
        }
        return (*view.entries)[*view.selectedEntry];
    }
    std::vector<ListEntry> SelectedEntries(Pane pane) const override {
        const PaneView& view = View(pane);
        std::vector<ListEntry> selected;
        for (const std::size_t row : view.selection) {
            if (IsFolderOrFile(view.entries->Kind(row))) {
                selected.push_back((*view.entries)[row]);
            }
        }
        return selected;
    }
    void SetFolderUpEnabled(Pane pane, bool enabled) override {
        View(pane).folderUpEnabled = enabled;
    }
    void AppendLog(const std::string& block) override {
        ++blocksReceived;
        if (keepLog) {
            log.push_back(block);
        }
    }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    void ShowError(const std::string& text) override { errors.push_back(text); }
    void StartTimer() override { timerRunning = true; }
    void StopTimer() override { timerRunning = false; }

    void ShowProgressWindow(const CopyProgressStart& start) override {
        progress = {true, start, {}};
        ++progressWindowsShown;
    }
    void UpdateProgressWindow(const CopyProgressUpdate& update) override {
        progress.updates.push_back(update);
        if (onProgress) {
            onProgress(progress);
        }
    }
    void CloseProgressWindow() override { progress.shown = false; }
    void SetMainPanelEnabled(bool enabled) override { mainPanelEnabled = enabled; }
    bool AskYesNo(const std::string& text) override {
        questions.push_back(text);
        return answerYes;
    }
    bool TrustBoxKey(const std::string& question) override {
        questions.push_back(question);
        keyDistrusted = !trustNewKeys;
        return trustNewKeys;
    }
    OverwriteAnswer AskOverwrite(const std::string& text) override {
        questions.push_back(text);
        if (overwriteAnswers.empty()) {
            return answerYes ? OverwriteAnswer::Yes : OverwriteAnswer::No;
        }
        const OverwriteAnswer answer = overwriteAnswers.front();
        overwriteAnswers.pop_front();
        return answer;
    }
    void TellJobEnded(const std::string& title, const std::string& text) override {
        jobsTold.push_back(title + "\n" + text);
    }
    void StartCopyTimer(int milliseconds) override {
        copyTimerMs = milliseconds;
        ++copyTimerStarts;
    }
    void StopCopyTimer() override { copyTimerMs.reset(); }

    bool AskDelete(const std::string& text) override {
        questions.push_back(text);
        return answerYes;
    }
    std::optional<std::string> AskName(const std::string&, const std::string& prompt,
                                       const std::string&) override {
        questions.push_back(prompt);
        if (names.empty()) {
            return std::nullopt;
        }
        std::optional<std::string> name = std::move(names.front());
        names.pop_front();
        return name;
    }
    void ShowProperties(const std::string& title, const std::string& text) override {
        properties = {title, text};
    }
    void SetFreeSpaceText(Pane pane, const std::string& text) override {
        View(pane).freeSpace = text;
    }
    bool SelectEntry(Pane pane, const std::string& caption) override {
        View(pane).selection.clear();
        return AddToSelection(pane, caption);
    }
    // Selects the entry with this caption too and makes it the current one.
    bool AddToSelection(Pane pane, const std::string& caption) {
        PaneView& view = View(pane);
        for (std::size_t i = 0; i < view.entries->size(); ++i) {
            if (view.entries->Caption(i) == caption) {
                view.selectedEntry = i;
                view.selection.push_back(i);
                return true;
            }
        }
        return false;
    }

    PaneView& View(Pane pane) { return panes.at(pane == Source ? 0 : 1); }
    const PaneView& View(Pane pane) const { return panes.at(pane == Source ? 0 : 1); }

    std::vector<std::string> statusTexts;
    int connectImage = 0;
    std::string connectHint;
    bool setupEnabled = true;
    bool copyEnabled = true;
    bool timerRunning = false;
    std::vector<std::string> log;
    // Without the log's text a folder of 100,000 entries is not held twice.
    bool keepLog = true;
    std::size_t blocksReceived = 0;
    std::vector<std::string> messages;
    std::vector<std::string> errors;
    std::array<PaneView, 2> panes;

    ProgressView progress;
    int progressWindowsShown = 0;
    // Called after each update of the progress window.
    std::function<void(const ProgressView&)> onProgress;
    bool mainPanelEnabled = true;
    std::vector<std::string> questions;
    // What the background jobs told at their end.
    std::vector<std::string> jobsTold;
    bool answerYes = false;
    // Whether a box's SSH key not seen before is trusted and kept.
    bool trustNewKeys = false;
    // A box's key was not trusted for want of trustNewKeys.
    bool keyDistrusted = false;
    // The answers to the overwrite questions of a job of several entries,
    // in turn; once they are used up, answerYes answers Yes or No.
    std::deque<OverwriteAnswer> overwriteAnswers;
    // The copy timer's interval while it runs; the owner of the window fires it.
    std::optional<int> copyTimerMs;
    int copyTimerStarts = 0;

    // The answers to the name questions, in turn; cancelled once used up.
    std::deque<std::optional<std::string>> names;
    std::optional<PropertiesView> properties;
};

}  // namespace olmira
