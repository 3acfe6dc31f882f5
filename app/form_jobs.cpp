#include "form_jobs.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "text_codec.h"

namespace {

constexpr int kJobRole = Qt::UserRole;
constexpr int kEntryRole = Qt::UserRole + 1;
constexpr int kNoEntry = -1;

QString Text(const std::string& text) {
    return DecodeText(text);
}

QString JobCaption(const olmira::BoardJob& job) {
    return QStringLiteral("Auftrag %1: %2")
        .arg(job.number)
        .arg(job.mode == olmira::TransferMode::Move ? QStringLiteral("Verschieben")
                                                    : QStringLiteral("Kopieren"));
}

QString JobState(const olmira::BoardJob& job) {
    if (job.ended) {
        const auto done = std::count_if(job.entries.begin(), job.entries.end(),
                                        [](const olmira::BoardEntry& entry) {
                                            return entry.state == olmira::EntryState::Done;
                                        });
        return QStringLiteral("beendet, %1 von %2 fertig").arg(done).arg(job.entries.size());
    }
    if (job.away) {
        return QStringLiteral("Verbindung unterbrochen, zuletzt ") +
               Text(olmira::JobTotalText(job));
    }
    return (job.cancelling ? QStringLiteral("wird abgebrochen, ") : QString()) +
           Text(olmira::JobTotalText(job));
}

QPushButton* AddButton(QHBoxLayout& row, QWidget* parent, const char* name, const QString& text) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    row.addWidget(button);
    return button;
}

}  // namespace

TformJobs::TformJobs(QWidget* owner) : QWidget(owner, Qt::Tool) {
    setObjectName(QStringLiteral("formJobs"));
    setWindowTitle(QStringLiteral("Aufträge auf der Box"));
    resize(720, 320);
    auto* layout = new QVBoxLayout(this);
    tree_ = new QTreeWidget(this);
    tree_->setObjectName(QStringLiteral("JobTree"));
    tree_->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Von"), QStringLiteral("Nach"),
                            QStringLiteral("Größe (kB)"), QStringLiteral("Status")});
    tree_->header()->setStretchLastSection(true);
    for (const auto& [column, width] : {std::pair{0, 170}, {1, 85}, {2, 85}, {3, 70}}) {
        tree_->setColumnWidth(column, width);
    }
    layout->addWidget(tree_, 1);
    auto* row = new QHBoxLayout();
    bCancelJob_ = AddButton(*row, this, "bCancelJob", QStringLiteral("Auftrag &abbrechen"));
    bCancelEntry_ = AddButton(*row, this, "bCancelEntry", QStringLiteral("&Eintrag abbrechen"));
    bClearEnded_ = AddButton(*row, this, "bClearEnded", QStringLiteral("&Beendete entfernen"));
    row->addStretch(1);
    QPushButton* close = AddButton(*row, this, "bClose", QStringLiteral("&Schließen"));
    layout->addLayout(row);

    connect(close, &QPushButton::clicked, this, &QWidget::hide);
    connect(bClearEnded_, &QPushButton::clicked, this, &TformJobs::clearEndedRequested);
    connect(bCancelJob_, &QPushButton::clicked, this, &TformJobs::CancelSelected);
    connect(bCancelEntry_, &QPushButton::clicked, this, &TformJobs::CancelSelected);
    connect(tree_, &QTreeWidget::currentItemChanged, this, &TformJobs::UpdateButtons);
    UpdateButtons();
}

void TformJobs::Show(const std::vector<olmira::BoardJob>& jobs) {
    int selectedJob = 0;
    int selectedEntry = kNoEntry;
    if (const QTreeWidgetItem* current = tree_->currentItem()) {
        selectedJob = current->data(0, kJobRole).toInt();
        selectedEntry = current->data(0, kEntryRole).toInt();
    }
    std::vector<int> folded;
    for (int i = 0; i < tree_->topLevelItemCount(); ++i) {
        if (!tree_->topLevelItem(i)->isExpanded()) {
            folded.push_back(tree_->topLevelItem(i)->data(0, kJobRole).toInt());
        }
    }
    jobs_ = jobs;
    tree_->clear();
    for (const olmira::BoardJob& job : jobs_) {
        QTreeWidgetItem* item = AddJob(job);
        item->setExpanded(std::find(folded.begin(), folded.end(), job.number) == folded.end());
        for (int i = -1; i < item->childCount(); ++i) {
            QTreeWidgetItem* candidate = i < 0 ? item : item->child(i);
            if (job.number == selectedJob && i == selectedEntry) {
                tree_->setCurrentItem(candidate);
            }
        }
    }
    UpdateButtons();
}

QTreeWidgetItem* TformJobs::AddJob(const olmira::BoardJob& job) {
    auto* item = new QTreeWidgetItem(tree_, {JobCaption(job), QString(), QString(),
                                             QString::number(job.totalKB), JobState(job)});
    item->setData(0, kJobRole, job.number);
    item->setData(0, kEntryRole, kNoEntry);
    for (std::size_t i = 0; i < job.entries.size(); ++i) {
        const olmira::BoardEntry& entry = job.entries[i];
        auto* child = new QTreeWidgetItem(
            item, {Text(entry.name), Text(entry.from), Text(entry.to),
                   QString::number(entry.sizeKB), Text(olmira::EntryStateText(entry))});
        child->setData(0, kJobRole, job.number);
        child->setData(0, kEntryRole, static_cast<int>(i));
    }
    return item;
}

// A job is cancelled while it has not ended; an entry only before it starts.
void TformJobs::UpdateButtons() {
    const QTreeWidgetItem* current = tree_->currentItem();
    const int number = current ? current->data(0, kJobRole).toInt() : 0;
    const int entry = current ? current->data(0, kEntryRole).toInt() : kNoEntry;
    const auto job = std::find_if(jobs_.begin(), jobs_.end(), [number](const olmira::BoardJob& j) {
        return j.number == number;
    });
    const bool open = job != jobs_.end() && !job->ended && !job->cancelling && !job->away;
    bCancelJob_->setEnabled(open);
    bCancelEntry_->setEnabled(open && entry != kNoEntry &&
                              job->entries[static_cast<std::size_t>(entry)].state ==
                                  olmira::EntryState::Waiting);
    bClearEnded_->setEnabled(
        std::any_of(jobs_.begin(), jobs_.end(), [](const olmira::BoardJob& j) { return j.ended; }));
}

void TformJobs::CancelSelected() {
    const QTreeWidgetItem* current = tree_->currentItem();
    if (!current) {
        return;
    }
    const int number = current->data(0, kJobRole).toInt();
    const int entry = current->data(0, kEntryRole).toInt();
    if (sender() == bCancelEntry_ && entry != kNoEntry) {
        emit cancelEntryRequested(number, entry);
    } else {
        emit cancelJobRequested(number);
    }
}
