// The main window's side of the jobs the box runs: the job list, the status
// bar's indicator and the word at a background job's end.
#include <QScreen>
#include <QShortcut>
#include <QToolButton>
#include <algorithm>

#include "desktop_notice.h"
#include "form_jobs.h"
#include "form_main.h"
#include "text_codec.h"

void TformMain::SetUpJobs() {
    formJobs_ = new TformJobs(this);
    connect(ui_.tbJobs, &QToolButton::clicked, this, &TformMain::tbJobsClick);
    connect(ui_.labelJobs, &QToolButton::clicked, this, &TformMain::tbJobsClick);
    auto* jobsKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_J), this);
    jobsKey->setObjectName(QStringLiteral("JobsShortcut"));
    connect(jobsKey, &QShortcut::activated, this, &TformMain::tbJobsClick);
    connect(formJobs_, &TformJobs::cancelJobRequested, this,
            [this](int job) { Guarded([this, job] { Copier().CancelJob(job); }); });
    connect(formJobs_, &TformJobs::cancelEntryRequested, this, [this](int job, int entry) {
        Guarded([this, job, entry] { Copier().CancelEntry(job, static_cast<std::size_t>(entry)); });
    });
    connect(formJobs_, &TformJobs::clearEndedRequested, this,
            [this] { Guarded([this] { Copier().ClearEnded(); }); });
    Copier().OnJobsChanged = [this] { UpdateJobs(); };
}

// The list opens beside the main window the first time, where it hides
// neither pane.
void TformMain::tbJobsClick() {
    if (!formJobs_->isVisible() && !jobsPlaced_) {
        QPoint place = frameGeometry().topRight() + QPoint(8, 0);
        if (const QScreen* screen = this->screen()) {
            const QRect room = screen->availableGeometry();
            place.setX(
                std::max(room.left(), std::min(place.x(), room.right() - formJobs_->width())));
        }
        formJobs_->move(place);
        jobsPlaced_ = true;
    }
    formJobs_->Show(Copier().Board());
    formJobs_->show();
    formJobs_->raise();
    formJobs_->activateWindow();
}

// The indicator names the running entry, or the first job still waiting.
void TformMain::UpdateJobs() {
    const std::vector<olmira::BoardJob> board = Copier().Board();
    QString indicator;
    for (const olmira::BoardJob& job : board) {
        if (!job.ended && indicator.isEmpty()) {
            const std::string running = olmira::JobIndicatorText(job);
            indicator = running.empty() ? QStringLiteral("Box: Auftrag %1 wartet").arg(job.number)
                                        : DecodeText(running);
        }
    }
    ui_.labelJobs->setText(indicator);
    ui_.labelJobs->setVisible(!indicator.isEmpty());
    if (formJobs_->isVisible()) {
        formJobs_->Show(board);
    }
}

void TformMain::TellJobEnded(const std::string& title, const std::string& text) {
    if (!ShowDesktopNotice(DecodeText(title), DecodeText(text))) {
        SetStatusText(title + ": " + text.substr(0, text.find('\n')));
    }
}
