#include "front/headless_jobs.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <utility>

#include "conversation/shell_command.h"
#include "copy/name_pattern.h"
#include "error.h"
#include "front/headless_session.h"

namespace olmira {

namespace {

bool EscapedInQuotes(char c) {
    return std::string_view("\\\"$`").find(c) != std::string_view::npos;
}

// The text a word of the box's shell stands for, however a PC quoted the
// path in it: '...' as it is, "..." with \ " $ ` escaped, a backslash
// outside quotes before any character. A "?" stays: the program lists a
// byte the box could not show so, too.
std::string Unquoted(std::string_view word) {
    std::string text;
    char quote = 0;
    for (std::size_t i = 0; i < word.size(); ++i) {
        const char c = word[i];
        const bool last = i + 1 == word.size();
        if (quote == '\'') {
            if (c == '\'') {
                quote = 0;
            } else {
                text += c;
            }
        } else if (c == '\\' && !last && (quote == 0 || EscapedInQuotes(word[i + 1]))) {
            text += word[++i];
        } else if (c == '"' || (c == '\'' && quote == 0)) {
            quote = quote == 0 ? c : 0;
        } else {
            text += c;
        }
    }
    return text;
}

std::string BelowMedia(std::string path) {
    if (path.starts_with(kMediaRoot)) {
        path.erase(0, kMediaRoot.size());
    }
    return path;
}

// A listed entry's "OP WORD" (the op may be missing): the op and the path.
std::pair<EntryOp, std::string> OpAndPath(std::string_view listed) {
    static constexpr std::pair<std::string_view, EntryOp> kOps[] = {
        {"cp ", EntryOp::Copy}, {"mv ", EntryOp::Carry}, {"rn ", EntryOp::Rename}};
    while (listed.starts_with(' ')) {
        listed.remove_prefix(1);
    }
    EntryOp op = EntryOp::Copy;
    for (const auto& [word, value] : kOps) {
        if (listed.starts_with(word)) {
            op = value;
            listed.remove_prefix(word.size());
        }
    }
    return {op, BelowMedia(Unquoted(listed))};
}

HandedJob FromBox(const RunnerJob& job) {
    HandedJob handed{
        job.token, job.mode.value_or(TransferMode::Copy), BelowMedia(Unquoted(job.destWord)), {}};
    for (const std::string& listed : job.entryWords) {
        auto [op, path] = OpAndPath(listed);
        const std::size_t name = path.rfind('/') + 1;
        handed.entries.push_back({op, path.substr(0, name), path.substr(name), 0});
    }
    return handed;
}

const char* JobStateWord(RunnerJobState state) {
    switch (state) {
        case RunnerJobState::Queued:
            return "wartet";
        case RunnerJobState::Running:
            return "läuft";
        case RunnerJobState::Ended:
            return "fertig";
        case RunnerJobState::Interrupted:
            return "unterbrochen";
        case RunnerJobState::Unknown:
            break;
    }
    return "unbekannt";
}

const char* EntryStateWord(EntryState state, RunnerJobState job) {
    switch (state) {
        case EntryState::Waiting:
        case EntryState::Running:
            if (job == RunnerJobState::Interrupted) {
                return "unterbrochen";
            }
            return state == EntryState::Waiting ? "wartet" : "läuft";
        case EntryState::Done:
            return "erledigt";
        case EntryState::Failed:
            return "fehlgeschlagen";
        case EntryState::Cancelled:
            return "abgebrochen";
        case EntryState::Skipped:
            break;
    }
    return "übersprungen";
}

RunnerJob Numbered(const std::vector<RunnerJob>& jobs, int number) {
    const auto found = std::find_if(
        jobs.begin(), jobs.end(), [number](const RunnerJob& job) { return job.number == number; });
    if (found == jobs.end()) {
        throw Error("Die Box kennt keinen Auftrag " + std::to_string(number) + ".");
    }
    return *found;
}

// A field of a line: the box's words may hold anything.
std::string Field(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\t' || c == '\n'; }, ' ');
    return text;
}

// The job as this PC handed it over when its record has it by token, else
// as the runner keeps it: the entries' paths from their shell words, their
// sizes unknown.
HandedJob KnownJob(const RunnerJob& job, const std::vector<HandedJob>& recorded) {
    const auto found = std::find_if(recorded.begin(), recorded.end(), [&job](const HandedJob& own) {
        return own.token == job.token && own.entries.size() == job.entryWords.size();
    });
    return found != recorded.end() ? *found : FromBox(job);
}

}  // namespace

std::vector<std::string> JobLines(const std::vector<RunnerJob>& jobs,
                                  const std::vector<HandedJob>& recorded) {
    std::vector<std::string> lines;
    for (const RunnerJob& job : jobs) {
        const HandedJob handed = KnownJob(job, recorded);
        const std::string start =
            std::to_string(job.number) + "\t" + JobStateWord(job.state) + "\t";
        for (std::size_t i = 0; i < handed.entries.size(); ++i) {
            const HandedEntry& entry = handed.entries[i];
            const RunnerEntry status = i < job.entries.size() ? job.entries[i] : RunnerEntry{};
            std::string line = start + Field(entry.folder + std::string(BareName(entry.caption))) +
                               "\t" + EntryStateWord(status.state, job.state);
            if (status.state == EntryState::Failed) {
                line.append("\t").append(Field(EntryReason(status, handed.mode)));
            }
            lines.push_back(std::move(line));
        }
    }
    return lines;
}

std::vector<RunnerJob> HeadlessJobs::OnBox() {
    std::optional<std::vector<RunnerJob>> jobs = ParseList(run_.AskRunner(ListCommand()));
    if (!jobs) {
        throw Error("Die Box nannte ihre Aufträge nicht.");
    }
    return std::move(*jobs);
}

std::vector<std::string> HeadlessJobs::Lines() {
    return JobLines(OnBox(), Recorded());
}

std::vector<HandedJob> HeadlessJobs::Recorded() const {
    std::vector<HandedJob> jobs;
    for (RecordedJob& recorded : run_.Copier().Record().OfHost(run_.Settings().olmira_Host)) {
        jobs.push_back(std::move(recorded.job));
    }
    return jobs;
}

// A job that ended while no one followed it is still unreported while the
// record has it: after cp --detach, wait tells its end however late it comes.
std::optional<RunnerJob> HeadlessJobs::OwnNext(const std::vector<RunnerJob>& jobs) const {
    const std::vector<HandedJob> own = Recorded();
    for (const RunnerJobState state : {RunnerJobState::Running, RunnerJobState::Queued,
                                       RunnerJobState::Ended, RunnerJobState::Interrupted}) {
        const auto found =
            std::find_if(jobs.begin(), jobs.end(), [&own, state](const RunnerJob& job) {
                return job.state == state &&
                       std::any_of(own.begin(), own.end(), [&job](const HandedJob& mine) {
                           return mine.token == job.token;
                       });
            });
        if (found != jobs.end()) {
            return *found;
        }
    }
    return std::nullopt;
}

std::optional<HandedJob> HeadlessJobs::OwnLost(const std::vector<RunnerJob>& jobs) const {
    for (HandedJob& mine : Recorded()) {
        if (std::none_of(jobs.begin(), jobs.end(),
                         [&mine](const RunnerJob& job) { return job.token == mine.token; })) {
            return std::move(mine);
        }
    }
    return std::nullopt;
}

// A line that drops while the job is followed comes back by itself; the
// job is then looked for afresh.
FollowedEnd HeadlessJobs::Await(int number) {
    for (;;) {
        try {
            return AwaitOnce(number);
        } catch (const LineDropped&) {
            run_.AwaitReconnect();
        }
    }
}

FollowedEnd HeadlessJobs::AwaitOnce(int number) {
    const std::vector<RunnerJob> jobs = OnBox();
    if (number != 0) {
        return Follow(Numbered(jobs, number), false);
    }
    if (const std::optional<RunnerJob> own = OwnNext(jobs)) {
        return Follow(*own, false);
    }
    const std::optional<HandedJob> lost = OwnLost(jobs);
    if (!lost) {
        throw Error("Die Box hat keinen Auftrag dieses PCs.");
    }
    run_.Copier().FollowLost(*lost);
    return Ended();
}

FollowedEnd HeadlessJobs::Cancel(int number) {
    const RunnerJob job = Numbered(OnBox(), number);
    if (job.state != RunnerJobState::Running && job.state != RunnerJobState::Queued) {
        throw Error("Auftrag " + std::to_string(number) + " ist schon beendet; wait " +
                    std::to_string(number) + " zeigt, was aus ihm wurde.");
    }
    return Follow(job, true);
}

// The end is reported as for a job this run handed over; the runner's
// record of it is cleared then, and so is this PC's.
FollowedEnd HeadlessJobs::Follow(const RunnerJob& job, bool cancel) {
    HandedJob handed = KnownJob(job, Recorded());
    const JobReport start{{GivenCount(handed.entries), 0, {}}, handed.mode};
    run_.Copier().Follow({job.number, std::move(handed), start, false});
    if (cancel) {
        run_.Copier().Cancel();
    }
    return Ended();
}

FollowedEnd HeadlessJobs::Ended() {
    FollowedEnd end{{}, run_.AwaitJob()};
    end.report = run_.Copier().LastReport();
    if (end.message.empty() && !end.AllDone()) {
        end.message = ReportText(end.report);
    }
    return end;
}

}  // namespace olmira
