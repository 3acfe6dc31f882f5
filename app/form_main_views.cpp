// TformMain as the session, the copy and the tidying see it: what they show
// in the window and what they ask of the user.
#include <QComboBox>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>

#include "entry_list_model.h"
#include "entry_list_view.h"
#include "form_copy_progress.h"
#include "form_log.h"
#include "form_main.h"
#include "list_place.h"
#include "message_boxes.h"
#include "text_codec.h"

void TformMain::SetStatusText(const std::string& text) {
    ui_.statusText->setText(DecodeText(text));
    emit statusTextChanged(ui_.statusText->text());
}

int TformMain::ConnectImage() const {
    return ButtonImage(*ui_.tbConnect);
}

void TformMain::SetConnectImage(int image) {
    SetButtonImage(*ui_.tbConnect, images_, image);
}

void TformMain::SetConnectHint(const std::string& hint) {
    ui_.tbConnect->setToolTip(DecodeText(hint));
}

void TformMain::SetSetupEnabled(bool enabled) {
    ui_.tbSetup->setEnabled(enabled);
}

void TformMain::SetPaneEnabled(olmira::Pane pane, bool enabled) {
    if (PaneUi* controls = ui_.Find(pane)) {
        controls->panel->setEnabled(enabled);
    }
    UpdateJobKeys();
}

void TformMain::SetCopyEnabled(bool enabled) {
    ui_.tbCopyFile->setEnabled(enabled);
    ui_.tbMoveFile->setEnabled(enabled);
    UpdateJobKeys();
}

void TformMain::SetFolderCaption(olmira::Pane pane, const std::string& caption) {
    if (PaneUi* controls = ui_.Find(pane)) {
        controls->folder->setText(DecodeText(caption));
    }
}

void TformMain::ClearDriveBox(olmira::Pane pane) {
    if (PaneUi* controls = ui_.Find(pane)) {
        controls->media->clear();
        controls->media->clearEditText();
    }
}

void TformMain::AddDrive(olmira::Pane pane, const std::string& entry) {
    if (PaneUi* controls = ui_.Find(pane)) {
        controls->media->addItem(DecodeText(entry), ItemData(entry));
    }
}

void TformMain::SelectFirstDrive(olmira::Pane pane) {
    PaneUi* controls = ui_.Find(pane);
    if (controls != nullptr && controls->media->count() > 0) {
        controls->media->setCurrentIndex(0);
    }
}

std::optional<std::string> TformMain::SelectedDrive(olmira::Pane pane) const {
    const PaneUi* controls = ui_.Find(pane);
    if (controls == nullptr || controls->media->currentIndex() < 0) {
        return std::nullopt;
    }
    return controls->media->currentData().toByteArray().toStdString();
}

void TformMain::ClearEntryList(olmira::Pane pane) {
    if (PaneUi* controls = ui_.Find(pane)) {
        controls->entries->Clear();
    }
    UpdateSelectionText();
}

// Another folder starts at its top.
void TformMain::SetEntries(olmira::Pane pane, olmira::SharedEntries entries) {
    if (PaneUi* controls = ui_.Find(pane)) {
        controls->entries->SetEntries(std::move(entries));
        controls->list->scrollToTop();
    }
    UpdateSelectionText();
}

void TformMain::RefreshEntries(olmira::Pane pane, olmira::SharedEntries entries) {
    PaneUi* controls = ui_.Find(pane);
    if (controls == nullptr) {
        return;
    }
    const ListPlace place = TakePlace(*controls->list, *controls->entries);
    controls->entries->SetEntries(std::move(entries));
    RestorePlace(*controls->list, *controls->entries, place);
    UpdateSelectionText();
}

void TformMain::SetDates(olmira::Pane pane, olmira::SharedDates dates) {
    if (PaneUi* controls = ui_.Find(pane)) {
        controls->entries->SetDates(std::move(dates));
    }
}

std::optional<olmira::ListEntry> TformMain::SelectedEntry(olmira::Pane pane) const {
    const PaneUi* controls = ui_.Find(pane);
    if (controls == nullptr) {
        return std::nullopt;
    }
    return controls->entries->EntryAt(controls->list->CurrentRow());
}

// The model keeps "./" and "../" out of the selection.
std::vector<olmira::ListEntry> TformMain::SelectedEntries(olmira::Pane pane) const {
    std::vector<olmira::ListEntry> selected;
    const PaneUi* controls = ui_.Find(pane);
    if (controls == nullptr) {
        return selected;
    }
    for (const int row : controls->list->SelectedRows()) {
        if (std::optional<olmira::ListEntry> entry = controls->entries->EntryAt(row)) {
            selected.push_back(std::move(*entry));
        }
    }
    return selected;
}

void TformMain::SetFolderUpEnabled(olmira::Pane pane, bool enabled) {
    if (PaneUi* controls = ui_.Find(pane)) {
        controls->folderUp->setEnabled(enabled);
    }
}

void TformMain::SetListingPending(olmira::Pane pane, bool pending) {
    PaneUi* controls = ui_.Find(pane);
    if (controls == nullptr) {
        return;
    }
    controls->listingPending = pending;
    if (pending) {
        controls->list->setCursor(Qt::BusyCursor);
    } else {
        controls->list->unsetCursor();
    }
    MarkActivePane();
}

void TformMain::AppendLog(const std::string& block) {
    formLog_->AppendLog(DecodeText(block));
}

void TformMain::ShowMessage(const std::string& text) {
    boxes_.Show(this, kApplicationTitle, QMessageBox::NoIcon, DecodeText(text));
}

void TformMain::ShowError(const std::string& text) {
    guard_.ShowError(text);
}

void TformMain::StartTimer() {
    timer_->start();
}

void TformMain::StopTimer() {
    timer_->stop();
}

void TformMain::ShowProgressWindow(const olmira::CopyProgressStart& start) {
    CloseProgressWindow();
    progressWindow_ = new TformCopyProgress(this);
    connect(progressWindow_, &TformCopyProgress::cancelRequested, this, &TformMain::CancelCopy);
    connect(progressWindow_, &TformCopyProgress::backgroundRequested, this,
            [this] { Guarded([this] { Copier().SendToBackground(); }); });
    progressWindow_->Start(start);
    progressWindow_->show();
    progressWindow_->activateWindow();
    progressWindow_->repaint();
}

void TformMain::UpdateProgressWindow(const olmira::CopyProgressUpdate& update) {
    if (progressWindow_ != nullptr) {
        progressWindow_->Update(update);
    }
}

void TformMain::CloseProgressWindow() {
    if (progressWindow_ != nullptr) {
        progressWindow_->hide();
        progressWindow_->deleteLater();
        progressWindow_ = nullptr;
    }
}

// Disabling the panes moved the focus to the tool bar's exit button, where
// the next Space would end the program: it goes back to the active list.
void TformMain::SetMainPanelEnabled(bool enabled) {
    ui_.panelMain->setEnabled(enabled);
    if (enabled) {
        ui_.Find(activePane_)->list->setFocus();
    }
    UpdateJobKeys();
}

bool TformMain::AskYesNo(const std::string& text) {
    return boxes_.Ask(this, kApplicationTitle, DecodeText(text));
}

bool TformMain::TrustBoxKey(const std::string& question) {
    return boxes_.Ask(this, kApplicationTitle, DecodeText(question));
}

olmira::OverwriteAnswer TformMain::AskOverwrite(const std::string& text) {
    return boxes_.AskOverwrite(this, kApplicationTitle, DecodeText(text));
}

void TformMain::StartCopyTimer(int milliseconds) {
    copyTimer_->start(milliseconds);
}

void TformMain::StopCopyTimer() {
    copyTimer_->stop();
}

bool TformMain::AskDelete(const std::string& text) {
    return boxes_.AskDelete(this, kApplicationTitle, DecodeText(text));
}

std::optional<std::string> TformMain::AskName(const std::string& title, const std::string& prompt,
                                              const std::string& preset) {
    const std::optional<QString> name =
        boxes_.AskName(this, DecodeText(title), DecodeText(prompt), DecodeText(preset));
    if (!name) {
        return std::nullopt;
    }
    return name->toUtf8().toStdString();
}

void TformMain::ShowProperties(const std::string& title, const std::string& text) {
    boxes_.Show(this, DecodeText(title), QMessageBox::Information, DecodeText(text));
}

void TformMain::SetFreeSpaceText(olmira::Pane pane, const std::string& text) {
    if (PaneUi* controls = ui_.Find(pane)) {
        controls->freeSpace->setText(DecodeText(text));
    }
}

bool TformMain::SelectEntry(olmira::Pane pane, const std::string& caption) {
    PaneUi* controls = ui_.Find(pane);
    const int row = controls != nullptr ? controls->entries->RowOf(caption) : -1;
    if (row < 0) {
        return false;
    }
    const QModelIndex index = controls->entries->index(row, 0);
    controls->list->selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    controls->list->scrollTo(index);
    return true;
}
