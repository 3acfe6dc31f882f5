#include "form_main.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>

#include "enter_key.h"
#include "entry_list_model.h"
#include "entry_list_view.h"
#include "event_loop_hand_over.h"
#include "form_copy_progress.h"
#include "form_log.h"
#include "form_setup_dlg.h"
#include "message_boxes.h"
#include "pane_sorting.h"
#include "preferred_font.h"
#include "text_codec.h"

namespace {

constexpr int kTimerIntervalMs = 250;
constexpr QSize kWindowSize(608, 428);

// A file's size as the box lists it, in kB; a folder has none.
qlonglong SizeKB(const olmira::ListEntry& entry) {
    if (entry.kind != olmira::EntryKind::File) {
        return 0;
    }
    bool number = false;
    const qlonglong size = ItemData(entry.size).trimmed().toLongLong(&number);
    return number ? size : 0;
}

// "3 Einträge ausgewählt, 23.456 kB"; nothing for no entry.
QString SelectionText(const std::vector<olmira::ListEntry>& entries) {
    if (entries.empty()) {
        return {};
    }
    qlonglong sizeKB = 0;
    for (const olmira::ListEntry& entry : entries) {
        sizeKB += SizeKB(entry);
    }
    const QLocale german(QLocale::German, QLocale::Germany);
    const auto count = static_cast<qlonglong>(entries.size());
    return QStringLiteral("%1 %2 ausgewählt, %3 kB")
        .arg(german.toString(count),
             count == 1 ? QStringLiteral("Eintrag") : QStringLiteral("Einträge"),
             german.toString(sizeKB));
}

// Every colour as when the list is disabled; the list itself stays usable,
// so that the focus stays in it and a quick click still counts.
void LookDisabled(QPalette& colours) {
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        for (int role = 0; role < QPalette::NColorRoles; ++role) {
            const auto which = static_cast<QPalette::ColorRole>(role);
            colours.setColor(group, which, colours.color(QPalette::Disabled, which));
        }
    }
}

}  // namespace

TformMain::TformMain(const olmira::SetupPlace& place, MessageBoxes& boxes, const QString& stateFile,
                     QWidget* parent)
    : QMainWindow(parent),
      boxes_(boxes),
      guard_(boxes, *this),
      timer_(new QTimer(this)),
      state_(stateFile),
      box_(settings_, *this, *this, *this) {
    setObjectName(QStringLiteral("formMain"));
    setWindowTitle(QStringLiteral("OlmiraAV Remote File Manager"));
    setFont(PreferredFont(QStringLiteral("Verdana"), 8));
    setContextMenuPolicy(Qt::NoContextMenu);
    ui_.Build(*this, images_);
    SortPanesAlike(ui_.panes, state_);
    resize(kWindowSize);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    restoreGeometry(state_.Geometry());
    // The keyboard starts in the left list rather than on the tool bar.
    Session().OnDrivesListed = [this] {
        ui_.panes[0].list->setFocus();
        ReopenLastFolders();
    };
    Session().AfterLogin = [this] { box_.Copier().FindJobsAgain(Session().Reconnected()); };

    timer_->setObjectName(QStringLiteral("Timer"));
    timer_->setInterval(kTimerIntervalMs);
    copyTimer_ = new QTimer(this);
    copyTimer_->setObjectName(QStringLiteral("CopyTimer"));
    copyTimer_->setSingleShot(true);
    ServeHandOverOnEventLoop(box_.HandOver(), *this);
    ConnectHandlers();
    AddShortcuts();
    AddOperationShortcuts();
    SetUpJobs();
    MarkActivePane();
    FormCreate(place);
}

// The controls go after this; their focus must not reach FocusMoved.
TformMain::~TformMain() {
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
    SaveState();
}

// A pane that listed nothing in this run keeps the folder of the last one.
void TformMain::SaveState() {
    state_.SetGeometry(saveGeometry());
    for (const olmira::Pane pane : {olmira::Source, olmira::Destination}) {
        if (const std::string& folder = Session().PaneOf(pane).ListedPath; !folder.empty()) {
            state_.SetLastFolder(pane, folder);
        }
    }
}

// Each pane opens where it was, if the box still lists that drive.
void TformMain::ReopenLastFolders() {
    for (const olmira::Pane pane : {olmira::Source, olmira::Destination}) {
        std::string folder = Session().TakeFolderToReopen(pane);
        if (folder.empty()) {
            folder = state_.LastFolder(pane);
        }
        QComboBox& media = *ui_.Find(pane)->media;
        const int drive = media.findData(ItemData(folder.substr(0, folder.find('/') + 1)));
        if (folder.empty() || drive < 0) {
            continue;
        }
        media.setCurrentIndex(drive);
        Session().ReopenFolder(pane, folder);
    }
}

void TformMain::FormCreate(const olmira::SetupPlace& place) {
    place_ = place;
    const std::optional<std::string> setupError = olmira::LoadSetup(settings_, place);
    for (const olmira::Pane pane : {olmira::Source, olmira::Destination}) {
        SetPaneEnabled(pane, false);
    }
    formLog_ = new TformLog(this);
    SetConnectHint(olmira::ConnectHint(settings_.olmira_Host, false));
    if (setupError) {
        // Shown once the window is up, not over an empty screen.
        QMetaObject::invokeMethod(
            this, [this, text = *setupError] { ShowError(text); }, Qt::QueuedConnection);
    }
}

void TformMain::ConnectHandlers() {
    connect(ui_.tbExit, &QToolButton::clicked, this, &TformMain::tbExitClick);
    connect(ui_.tbConnect, &QToolButton::clicked, this, &TformMain::tbConnectClick);
    connect(ui_.tbLog, &QToolButton::clicked, this, &TformMain::tbLogClick);
    connect(ui_.tbSetup, &QToolButton::clicked, this, &TformMain::tbSetupClick);
    connect(timer_, &QTimer::timeout, this, &TformMain::TimerTimer);
    connect(ui_.tbCopyFile, &QToolButton::clicked, this, &TformMain::tbCopyFileClick);
    connect(ui_.tbMoveFile, &QToolButton::clicked, this, &TformMain::tbMoveFileClick);
    connect(qApp, &QApplication::focusChanged, this,
            [this](const QWidget*, const QWidget* now) { FocusMoved(now); });
    for (const PaneUi& pane : ui_.panes) {
        connect(pane.list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                &TformMain::UpdateSelectionText);
    }
    connect(copyTimer_, &QTimer::timeout, this, &TformMain::CopyTimerTimer);

    ConnectPane(ui_.panes[0],
                {&TformMain::bChgSourceRootFolderClick, &TformMain::SourceListDblClick,
                 &TformMain::tbSourceRefreshClick, &TformMain::tbSourceFolderUpClick});
    ConnectPane(ui_.panes[1], {&TformMain::bChgDestRootFolderClick, &TformMain::DestListDblClick,
                               &TformMain::tbDestRefreshClick, &TformMain::tbDestFolderUpClick});
    ConnectOperations(ui_.panes[0], olmira::Source);
    ConnectOperations(ui_.panes[1], olmira::Destination);
}

void TformMain::ConnectOperations(const PaneUi& pane, olmira::Pane which) {
    const auto run = [this, which](PaneOperation operation) {
        return [this, which, operation] { RunOperation(operation, which); };
    };
    connect(pane.remove, &QToolButton::clicked, this, run(PaneOperation::Delete));
    connect(pane.list, &EntryListView::deleteRequested, this, run(PaneOperation::Delete));
    connect(pane.properties, &QToolButton::clicked, this, run(PaneOperation::Properties));
    connect(pane.list, &QWidget::customContextMenuRequested, this,
            [this, which](const QPoint& where) { ShowPaneMenu(which, where); });
}

// F2, F7, F8 and Alt+Return act on the active pane, like F5 and F6.
void TformMain::AddOperationShortcuts() {
    for (const PaneOperationKey& key : kPaneOperations) {
        if (key.shortcut.isEmpty()) {
            continue;
        }
        auto* shortcut = new QShortcut(key.shortcut, this);
        shortcut->setObjectName(QString::fromUtf8(key.name) + QStringLiteral("Shortcut"));
        connect(shortcut, &QShortcut::activated, this,
                [this, operation = key.operation] { RunOperation(operation, activePane_); });
    }
}

void TformMain::ShowPaneMenu(olmira::Pane pane, const QPoint& where) {
    const PaneUi& controls = *ui_.Find(pane);
    activePane_ = pane;
    UpdateSelectionText();
    MarkActivePane();
    QMenu* menu =
        PaneMenu(this, ui_.tbCopyFile->isEnabled(),
                 [this, pane](PaneOperation operation) { RunOperation(operation, pane); });
    menu->popup(controls.list->viewport()->mapToGlobal(where));
}

// A pane that cannot be used (not connected, a copy running) takes nothing.
void TformMain::RunOperation(PaneOperation operation, olmira::Pane pane) {
    const PaneUi* controls = ui_.Find(pane);
    if (controls == nullptr || !controls->panel->isEnabled()) {
        return;
    }
    switch (operation) {
        case PaneOperation::Copy:
            return RunJob(olmira::TransferMode::Copy, pane);
        case PaneOperation::Move:
            return RunJob(olmira::TransferMode::Move, pane);
        case PaneOperation::Refresh:
            return OnPane(&olmira::BoxSession::Refresh, pane);
        case PaneOperation::Rename:
            return Guarded([this, pane] { Tidier().RenameCurrent(pane); });
        case PaneOperation::NewFolder:
            return Guarded([this, pane] { Tidier().NewFolder(pane); });
        case PaneOperation::Delete:
            return Guarded([this, pane] { Tidier().DeleteSelected(pane); });
        case PaneOperation::Properties:
            return Guarded([this, pane] { Tidier().ShowProperties(pane); });
    }
}

// F5 copies and F6 moves the active pane's selection into the other pane,
// both only when the copy button could be clicked; Esc cancels a running
// copy.
void TformMain::AddShortcuts() {
    copyKey_ = new QShortcut(QKeySequence(Qt::Key_F5), this);
    copyKey_->setObjectName(QStringLiteral("CopyShortcut"));
    connect(copyKey_, &QShortcut::activated, this,
            [this] { RunJob(olmira::TransferMode::Copy, activePane_); });
    moveKey_ = new QShortcut(QKeySequence(Qt::Key_F6), this);
    moveKey_->setObjectName(QStringLiteral("MoveShortcut"));
    connect(moveKey_, &QShortcut::activated, this,
            [this] { RunJob(olmira::TransferMode::Move, activePane_); });
    UpdateJobKeys();
    auto* cancelKey = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    cancelKey->setObjectName(QStringLiteral("CancelShortcut"));
    connect(cancelKey, &QShortcut::activated, this, &TformMain::CancelCopy);
}

// Backspace in the list goes up like the folder-up button.
void TformMain::ConnectPane(const PaneUi& pane, const PaneHandlers& handlers) {
    connect(pane.go, &QPushButton::clicked, this, handlers.chooseDrive);
    // A key typed on the desktop reaches the combo box, which hands it to its
    // line edit directly, past any filter there; a key sent to the line edit
    // itself does not pass the combo box.
    for (QWidget* typedInto :
         {static_cast<QWidget*>(pane.media), static_cast<QWidget*>(pane.media->lineEdit())}) {
        new EnterKey(*typedInto, [this, handlers] { (this->*handlers.chooseDrive)(); });
    }
    connect(pane.list, &EntryListView::openRequested, this, handlers.enter);
    connect(pane.refresh, &QToolButton::clicked, this, handlers.refresh);
    connect(pane.folderUp, &QToolButton::clicked, this, handlers.folderUp);
    connect(pane.list, &EntryListView::folderUpRequested, this, handlers.folderUp);
}

void TformMain::Guarded(const std::function<void()>& handler) const {
    guard_.Run(handler);
}

TformMain::PaneControls TformMain::GetPaneControls(olmira::Pane pane) const {
    const PaneUi* controls = ui_.Find(pane);
    if (controls == nullptr) {
        return {};
    }
    return {controls->folder, controls->list, controls->folderUp};
}

void TformMain::tbConnectClick() {
    Guarded([this] { Session().tbConnectClick(); });
}

void TformMain::TimerTimer() {
    Guarded([this] { Session().TimerTimer(); });
}

void TformMain::tbExitClick() {
    Guarded([this] {
        Session().DisconnectForExit();
        QCoreApplication::quit();
    });
}

// The pressed look, not the log window, tells whether the log is shown: a
// log closed by its own close box leaves the button pressed, and the next
// click only releases it.
void TformMain::tbLogClick() {
    Guarded([this] {
        if (ui_.tbLog->isChecked()) {
            formLog_->hide();
            ui_.tbLog->setChecked(false);
            ui_.tbLog->setToolTip(QStringLiteral("Log einblenden"));
        } else {
            formLog_->show();
            ui_.tbLog->setChecked(true);
            ui_.tbLog->setToolTip(QStringLiteral("Log ausblenden"));
        }
    });
}

void TformMain::tbCopyFileClick() {
    Guarded([this] { Copier().tbCopyFileClick(); });
}

void TformMain::RunJob(olmira::TransferMode mode, olmira::Pane from) {
    Guarded([this, mode, from] {
        emit jobRequested(mode, from);
        Copier().StartJob(mode, from);
    });
}

// The copy button is disabled with either of its panels too.
void TformMain::UpdateJobKeys() {
    if (copyKey_ == nullptr) {
        return;
    }
    const bool enabled = ui_.tbCopyFile->isEnabled();
    copyKey_->setEnabled(enabled);
    moveKey_->setEnabled(enabled);
}

// Focus outside both panes, e.g. on the main tool bar, keeps the active pane.
void TformMain::FocusMoved(const QWidget* now) {
    if (now == nullptr) {
        return;
    }
    for (const olmira::Pane pane : {olmira::Source, olmira::Destination}) {
        const QWidget* panel = ui_.Find(pane)->panel;
        if ((now == panel || panel->isAncestorOf(now)) && pane != activePane_) {
            activePane_ = pane;
            UpdateSelectionText();
            MarkActivePane();
        }
    }
}

// The active pane's folder label is bold; the other pane's selection is
// grey, so it is plain at a glance which pane F5 and the keys act on. A
// pane whose listing is on its way shows its old entries disabled.
void TformMain::MarkActivePane() {
    for (const olmira::Pane pane : {olmira::Source, olmira::Destination}) {
        PaneUi& controls = *ui_.Find(pane);
        const bool active = pane == activePane_;
        QFont font = controls.folder->font();
        font.setBold(active);
        controls.folder->setFont(font);
        QPalette colours = QApplication::palette(controls.list);
        if (!active) {
            colours.setColor(QPalette::Highlight, colours.color(QPalette::Mid));
            colours.setColor(QPalette::HighlightedText, colours.color(QPalette::Text));
        }
        if (controls.listingPending) {
            LookDisabled(colours);
        }
        controls.list->setPalette(colours);
    }
}

void TformMain::UpdateSelectionText() {
    ui_.labelSelection->setText(SelectionText(SelectedEntries(activePane_)));
}

void TformMain::CopyTimerTimer() {
    Guarded([this] { Copier().CopyTimerTimer(); });
}

void TformMain::CancelCopy() {
    Guarded([this] { Copier().Cancel(); });
}

// A new dialog for every opening. It does not change the settings, so the
// hint names the host loaded at start-up, whatever the dialog saved.
void TformMain::tbSetupClick() {
    Guarded([this] {
        TformSetupDlg formSetupDlg(place_, settings_, boxes_, *pickers_, this);
        formSetupDlg.Execute();
        SetConnectHint(olmira::ConnectHint(settings_.olmira_Host, false));
    });
}

void TformMain::OnPane(PaneAction action, olmira::Pane pane) {
    Guarded([this, action, pane] { (Session().*action)(pane); });
}
