#pragma once

#include <QMainWindow>
#include <QPointer>
#include <functional>

#include "copy/copy_controller.h"
#include "copy/copy_window.h"
#include "error_guard.h"
#include "folder_pickers.h"
#include "form_copy_progress.h"
#include "front/box_assembly.h"
#include "image_list.h"
#include "main_window_ui.h"
#include "pane_menu.h"
#include "session/session_window.h"
#include "settings/setup.h"
#include "tidy/tidy_window.h"
#include "window_state.h"

class MessageBoxes;
class QLabel;
class QShortcut;
class QTimer;
class QToolButton;
class TformJobs;
class TformLog;
class EntryListView;

// The main window: a tool bar, the source and destination panes and a
// status bar. Its handlers hand the work to the box session and show what
// goes wrong; the session changes the window through SessionWindow.
class TformMain final : public QMainWindow,
                        public olmira::SessionWindow,
                        public olmira::CopyWindow,
                        public olmira::TidyWindow {
    Q_OBJECT

public:
    // place tells where the settings are read from; boxes shows every
    // message box of the window; stateFile keeps the window's geometry and
    // the panes' last folders from one run to the next.
    TformMain(const olmira::SetupPlace& place, MessageBoxes& boxes,
              const QString& stateFile = WindowState::DefaultFile(), QWidget* parent = nullptr);
    ~TformMain() override;

    // A pane's folder label, entry list and folder-up button; all nullptr
    // for a value that names no pane.
    struct PaneControls {
        QLabel* label = nullptr;
        EntryListView* list = nullptr;
        QToolButton* folderUp = nullptr;
    };
    PaneControls GetPaneControls(olmira::Pane pane) const;

    const olmira::TSetup& Settings() const { return settings_; }
    olmira::BoxSession& Session() { return box_.Session(); }
    olmira::CopyController& Copier() { return box_.Copier(); }
    olmira::TidyController& Tidier() { return box_.Tidy(); }
    // The open progress window, nullptr when none is shown.
    TformCopyProgress* ProgressWindow() const { return progressWindow_; }
    TformLog& LogWindow() const { return *formLog_; }
    // The pane whose list or other control had the focus last; F5 and F6
    // take its selection.
    olmira::Pane ActivePane() const { return activePane_; }

    // Handlers of the controls.
    void tbConnectClick();
    void TimerTimer();
    void tbExitClick();
    void tbLogClick();
    // Opens the job list: the tool button, Strg+J and the status bar's
    // job indicator.
    void tbJobsClick();
    TformJobs& JobsWindow() const { return *formJobs_; }
    // Opens the setup dialog; what it saves holds from the next start.
    void tbSetupClick();
    // The folder pickers the setup dialog uses; the system's by default.
    void UseFolderPickers(FolderPickers& pickers) { pickers_ = &pickers; }
    // "go" and Enter in the drive box.
    void bChgSourceRootFolderClick() { ChooseDrive(olmira::Source); }
    void bChgDestRootFolderClick() { ChooseDrive(olmira::Destination); }
    void SourceListDblClick() { OnPane(&olmira::BoxSession::EnterSelected, olmira::Source); }
    void DestListDblClick() { OnPane(&olmira::BoxSession::EnterSelected, olmira::Destination); }
    void tbSourceRefreshClick() { OnPane(&olmira::BoxSession::Refresh, olmira::Source); }
    void tbDestRefreshClick() { OnPane(&olmira::BoxSession::Refresh, olmira::Destination); }
    void tbSourceFolderUpClick() { OnPane(&olmira::BoxSession::FolderUp, olmira::Source); }
    void tbDestFolderUpClick() { OnPane(&olmira::BoxSession::FolderUp, olmira::Destination); }
    void tbCopyFileClick();
    // The move button: left to right.
    void tbMoveFileClick() { RunJob(olmira::TransferMode::Move, olmira::Source); }
    // The context menu, the keys and the panes' properties and delete
    // buttons: operation on pane's entries.
    void RunOperation(PaneOperation operation, olmira::Pane pane);
    void CopyTimerTimer();
    void CancelCopy();

    // SessionWindow
    void SetStatusText(const std::string& text) override;
    int ConnectImage() const override;
    void SetConnectImage(int image) override;
    void SetConnectHint(const std::string& hint) override;
    void SetSetupEnabled(bool enabled) override;
    void SetPaneEnabled(olmira::Pane pane, bool enabled) override;
    void SetCopyEnabled(bool enabled) override;
    void SetFolderCaption(olmira::Pane pane, const std::string& caption) override;
    void ClearDriveBox(olmira::Pane pane) override;
    void AddDrive(olmira::Pane pane, const std::string& entry) override;
    void SelectFirstDrive(olmira::Pane pane) override;
    // The entry selected in the drive box's list, if any (typed text is ignored).
    std::optional<std::string> SelectedDrive(olmira::Pane pane) const;
    void ClearEntryList(olmira::Pane pane) override;
    void SetEntries(olmira::Pane pane, olmira::SharedEntries entries) override;
    void RefreshEntries(olmira::Pane pane, olmira::SharedEntries entries) override;
    bool ShowsDates() const override { return true; }
    void SetDates(olmira::Pane pane, olmira::SharedDates dates) override;
    std::optional<olmira::ListEntry> SelectedEntry(olmira::Pane pane) const override;
    std::vector<olmira::ListEntry> SelectedEntries(olmira::Pane pane) const override;
    void SetFolderUpEnabled(olmira::Pane pane, bool enabled) override;
    bool SelectEntry(olmira::Pane pane, const std::string& caption) override;
    void SetListingPending(olmira::Pane pane, bool pending) override;
    void AppendLog(const std::string& block) override;
    void ShowMessage(const std::string& text) override;
    void ShowError(const std::string& text) override;
    bool TrustBoxKey(const std::string& question) override;
    void StartTimer() override;
    void StopTimer() override;

    // CopyWindow
    void ShowProgressWindow(const olmira::CopyProgressStart& start) override;
    void UpdateProgressWindow(const olmira::CopyProgressUpdate& update) override;
    void CloseProgressWindow() override;
    void SetMainPanelEnabled(bool enabled) override;
    bool AskYesNo(const std::string& text) override;
    olmira::OverwriteAnswer AskOverwrite(const std::string& text) override;
    void TellJobEnded(const std::string& title, const std::string& text) override;
    void StartCopyTimer(int milliseconds) override;
    void StopCopyTimer() override;

    // TidyWindow
    bool AskDelete(const std::string& text) override;
    std::optional<std::string> AskName(const std::string& title, const std::string& prompt,
                                       const std::string& preset) override;
    void ShowProperties(const std::string& title, const std::string& text) override;
    void SetFreeSpaceText(olmira::Pane pane, const std::string& text) override;

signals:
    void statusTextChanged(const QString& text);
    // A job of the selected entries is handed to the copy controller.
    void jobRequested(olmira::TransferMode mode, olmira::Pane from);

protected:
    bool focusNextPrevChild(bool next) override;

private:
    void FormCreate(const olmira::SetupPlace& place);
    void ConnectHandlers();
    void AddShortcuts();
    void AddOperationShortcuts();
    struct PaneHandlers {
        void (TformMain::*chooseDrive)();
        void (TformMain::*enter)();
        void (TformMain::*refresh)();
        void (TformMain::*folderUp)();
    };
    void ConnectPane(const PaneUi& pane, const PaneHandlers& handlers);
    void ConnectOperations(const PaneUi& pane, olmira::Pane which);
    void ShowPaneMenu(olmira::Pane pane, const QPoint& where);
    void Guarded(const std::function<void()>& handler) const;
    // The same step of the session for either pane, under the guard.
    using PaneAction = void (olmira::BoxSession::*)(olmira::Pane);
    void OnPane(PaneAction action, olmira::Pane pane);
    void RunJob(olmira::TransferMode mode, olmira::Pane from);
    void UpdateJobKeys();
    void ChooseDrive(olmira::Pane pane);
    void FocusMoved(const QWidget* now);
    void MarkActivePane();
    void ReopenLastFolders();
    void SaveState();
    void UpdateSelectionText();
    void SetUpJobs();
    void UpdateJobs();

    MessageBoxes& boxes_;
    ErrorGuard guard_;
    ImageList images_;
    MainWindowUi ui_;
    TformLog* formLog_ = nullptr;
    TformJobs* formJobs_ = nullptr;
    bool jobsPlaced_ = false;
    QTimer* timer_ = nullptr;
    QTimer* copyTimer_ = nullptr;
    QShortcut* copyKey_ = nullptr;
    QShortcut* moveKey_ = nullptr;
    olmira::Pane activePane_ = olmira::Source;
    QPointer<TformCopyProgress> progressWindow_;

    WindowState state_;
    olmira::TSetup settings_;
    // Where the settings came from; the setup dialog edits that file.
    olmira::SetupPlace place_;
    FolderPickers* pickers_ = &SystemFolderPickers();
    // Last: it hangs up first, while the controls it writes to still exist.
    olmira::BoxAssembly box_;
};
