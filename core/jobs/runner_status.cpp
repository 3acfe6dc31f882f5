#include "jobs/runner_status.h"

#include <charconv>

namespace olmira {

namespace {

constexpr std::string_view kPrefix = "olmirafm-";

// The runner's own output: a line from "olmirafm-" on, with no line end
// left. The echo of our command starts with "sh ", so it never counts.
std::optional<std::string_view> Said(std::string_view line, std::string_view key) {
    if (!line.starts_with(kPrefix)) {
        return std::nullopt;
    }
    line.remove_prefix(kPrefix.size());
    if (!line.starts_with(key)) {
        return std::nullopt;
    }
    line.remove_prefix(key.size());
    if (line.empty()) {
        return line;
    }
    if (line.front() != ' ') {
        return std::nullopt;
    }
    return line.substr(1);
}

// The word before the first blank, and what follows it.
std::pair<std::string_view, std::string_view> SplitWord(std::string_view text) {
    const std::size_t blank = text.find(' ');
    if (blank == std::string_view::npos) {
        return {text, {}};
    }
    return {text.substr(0, blank), text.substr(blank + 1)};
}

template <typename Number>
std::optional<Number> ReadNumber(std::string_view text) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

RunnerJobState StateNamed(std::string_view name) {
    if (name == "queued") {
        return RunnerJobState::Queued;
    }
    if (name == "running") {
        return RunnerJobState::Running;
    }
    if (name == "ended") {
        return RunnerJobState::Ended;
    }
    if (name == "interrupted") {
        return RunnerJobState::Interrupted;
    }
    return RunnerJobState::Unknown;
}

std::optional<EntryState> EntryStateNamed(std::string_view name) {
    static constexpr std::pair<std::string_view, EntryState> kNames[] = {
        {"run", EntryState::Running},     {"done", EntryState::Done},
        {"failed", EntryState::Failed},   {"cancelled", EntryState::Cancelled},
        {"skipped", EntryState::Skipped},
    };
    for (const auto& [word, state] : kNames) {
        if (word == name) {
            return state;
        }
    }
    return std::nullopt;
}

// "olmirafm-job N STATE": the job's number and state.
bool ReadJobLine(std::string_view rest, RunnerJob& job) {
    const auto [number, state] = SplitWord(rest);
    const std::optional<int> value = ReadNumber<int>(number);
    if (!value) {
        return false;
    }
    job.number = *value;
    job.state = StateNamed(state);
    return true;
}

// "folder" or "file": what the target is where the entry would go; with a
// path after it, what is in its place inside the target folder.
std::string KindReason(std::string_view words) {
    const auto [kind, inside] = SplitWord(words);
    const bool folder = kind == "folder";
    if (inside.empty()) {
        return folder ? "im Ziel ist ein Ordner dieses Namens; er bleibt"
                      : "im Ziel ist eine Datei dieses Namens; sie bleibt";
    }
    return "im Ziel ist " + std::string(inside) + (folder ? " ein Ordner" : " eine Datei") +
           ", in der Quelle nicht; es wurde nichts eingefügt";
}

}  // namespace

std::optional<int> ParseSubmitted(const ReplyLines& lines, std::string* refusal) {
    for (const std::string_view line : lines) {
        if (const std::optional<std::string_view> number = Said(line, "submitted")) {
            return ReadNumber<int>(*number);
        }
        if (const std::optional<std::string_view> reason = Said(line, "refused");
            reason && refusal != nullptr) {
            *refusal = std::string(*reason);
        }
    }
    return std::nullopt;
}

void ApplyStatusLine(std::string_view line, RunnerJob& job) {
    if (line == "end") {
        job.state = RunnerJobState::Ended;
        return;
    }
    const auto [index, rest] = SplitWord(line);
    const auto [stateName, detail] = SplitWord(rest);
    const std::optional<std::size_t> number = ReadNumber<std::size_t>(index);
    const std::optional<EntryState> state = EntryStateNamed(stateName);
    if (!number || *number == 0 || !state) {
        return;
    }
    if (job.entries.size() < *number) {
        job.entries.resize(*number);
    }
    RunnerEntry& entry = job.entries[*number - 1];
    entry.state = *state;
    if (*state == EntryState::Failed) {
        const auto [step, message] = SplitWord(detail);
        entry.failedStep = std::string(step);
        entry.message = std::string(message);
    }
}

void ReadPoll(const ReplyLines& lines, RunnerJob& job) {
    job.progressKB.reset();
    for (const std::string_view line : lines) {
        if (const std::optional<std::string_view> rest = Said(line, "job")) {
            ReadJobLine(*rest, job);
        } else if (const std::optional<std::string_view> status = Said(line, "status")) {
            ApplyStatusLine(*status, job);
            ++job.statusLines;
        } else if (const std::optional<std::string_view> kB = Said(line, "progress")) {
            job.progressKB = ReadNumber<std::int64_t>(SplitWord(*kB).first);
        }
    }
}

std::optional<std::vector<RunnerJob>> ParseList(const ReplyLines& lines) {
    std::vector<RunnerJob> jobs;
    for (const std::string_view line : lines) {
        if (Said(line, "end")) {
            return jobs;
        }
        if (const std::optional<std::string_view> rest = Said(line, "job")) {
            RunnerJob job;
            if (ReadJobLine(*rest, job)) {
                jobs.push_back(std::move(job));
            }
            continue;
        }
        if (jobs.empty()) {
            continue;
        }
        RunnerJob& job = jobs.back();
        if (const std::optional<std::string_view> token = Said(line, "token")) {
            job.token = std::string(*token);
        } else if (const std::optional<std::string_view> mode = Said(line, "mode")) {
            job.mode = *mode == "move" ? TransferMode::Move : TransferMode::Copy;
        } else if (const std::optional<std::string_view> dest = Said(line, "dest")) {
            job.destWord = std::string(*dest);
        } else if (const std::optional<std::string_view> entry = Said(line, "entry")) {
            // "I OP WORD": the op and the word.
            job.entryWords.emplace_back(SplitWord(*entry).second);
        } else if (const std::optional<std::string_view> status = Said(line, "status")) {
            ApplyStatusLine(*status, job);
            ++job.statusLines;
        }
    }
    return std::nullopt;
}

std::string EntryReason(const RunnerEntry& status, TransferMode mode) {
    const std::string removed = "; die unvollständige Kopie wurde entfernt";
    switch (status.state) {
        case EntryState::Done:
            return {};
        case EntryState::Cancelled:
            return "abgebrochen";
        case EntryState::Skipped:
            return "nicht begonnen";
        case EntryState::Waiting:
        case EntryState::Running:
            return "unterbrochen";
        case EntryState::Failed:
            break;
    }
    const std::string& words = status.message;
    if (status.failedStep == "cp") {
        return (words.empty() ? std::string("cp meldete einen Fehler") : words) + removed;
    }
    if (status.failedStep == "size") {
        return "die Kopie ist nicht so groß wie die Quelle" +
               std::string(mode == TransferMode::Move ? "; die Quelle bleibt erhalten" : removed);
    }
    if (status.failedStep == "rm") {
        return "kopiert, aber die Quelle ließ sich nicht ganz entfernen: " + words;
    }
    if (status.failedStep == "kind") {
        return KindReason(words);
    }
    if (status.failedStep == "name") {
        return words == "0" ? std::string("nicht gefunden")
                            : "der Name passt auf der Box zu mehreren Einträgen";
    }
    return words.empty() ? std::string("mv meldete einen Fehler") : words;
}

}  // namespace olmira
