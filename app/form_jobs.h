#pragma once

#include <QWidget>
#include <vector>

#include "copy/job_board.h"

class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// "Aufträge auf der Box": every job of this run, each with its entries,
// where they come from and go, their size and state, and the job's total.
// A tool window of the main window; closing it only hides it.
class TformJobs final : public QWidget {
    Q_OBJECT

public:
    explicit TformJobs(QWidget* owner);

    // Shows jobs, keeping the user's selection and what is unfolded.
    void Show(const std::vector<olmira::BoardJob>& jobs);
    QTreeWidget& Tree() const { return *tree_; }

signals:
    void cancelJobRequested(int job);
    void cancelEntryRequested(int job, int entry);
    void clearEndedRequested();

private:
    QTreeWidgetItem* AddJob(const olmira::BoardJob& job);
    void UpdateButtons();
    void CancelSelected();

    QTreeWidget* tree_;
    QPushButton* bCancelJob_;
    QPushButton* bCancelEntry_;
    QPushButton* bClearEnded_;
    std::vector<olmira::BoardJob> jobs_;
};
