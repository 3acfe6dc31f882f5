#include "jobs/job_record.h"

#include <algorithm>
#include <charconv>

#include "settings/whole_file.h"

namespace olmira {

namespace {

std::string Escaped(std::string_view field) {
    std::string text;
    for (const char c : field) {
        switch (c) {
            case '\\':
                text += "\\\\";
                break;
            case '\t':
                text += "\\t";
                break;
            case '\n':
                text += "\\n";
                break;
            default:
                text += c;
        }
    }
    return text;
}

std::string Unescaped(std::string_view field) {
    std::string text;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\' || i + 1 == field.size()) {
            text += field[i];
            continue;
        }
        const char next = field[++i];
        text += next == 't' ? '\t' : next == 'n' ? '\n' : next;
    }
    return text;
}

std::vector<std::string> Fields(std::string_view line) {
    std::vector<std::string> fields;
    for (;;) {
        const std::size_t tab = line.find('\t');
        fields.push_back(Unescaped(line.substr(0, tab)));
        if (tab == std::string_view::npos) {
            return fields;
        }
        line.remove_prefix(tab + 1);
    }
}

std::string Line(std::initializer_list<std::string_view> fields) {
    std::string line;
    for (const std::string_view field : fields) {
        line.append(line.empty() ? "" : "\t").append(Escaped(field));
    }
    return line + "\n";
}

// The last field of an info file that goes along with its recording; an
// entry line without it is a given entry.
constexpr std::string_view kWithRecording = "mit";

constexpr std::pair<std::string_view, EntryOp> kOps[] = {
    {"cp", EntryOp::Copy}, {"mv", EntryOp::Carry}, {"rn", EntryOp::Rename}};

std::string_view OpName(EntryOp op) {
    for (const auto& [name, value] : kOps) {
        if (value == op) {
            return name;
        }
    }
    return {};
}

std::optional<EntryOp> OpNamed(std::string_view name) {
    for (const auto& [word, value] : kOps) {
        if (word == name) {
            return value;
        }
    }
    return std::nullopt;
}

template <typename Value>
std::optional<Value> Number(const std::string& digits) {
    Value value{};
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size() || digits.empty()) {
        return std::nullopt;
    }
    return value;
}

std::optional<RecordedJob> JobOf(const std::vector<std::string>& fields) {
    if (fields.size() != 6 || fields[0] != "job") {
        return std::nullopt;
    }
    const std::optional<int> number = Number<int>(fields[2]);
    if (!number) {
        return std::nullopt;
    }
    RecordedJob job{fields[1], *number, {fields[3], TransferMode::Copy, fields[5], {}}};
    job.job.mode = fields[4] == "move" ? TransferMode::Move : TransferMode::Copy;
    return job;
}

}  // namespace

std::string FormatJobRecord(const std::vector<RecordedJob>& jobs) {
    std::string text;
    for (const RecordedJob& recorded : jobs) {
        const HandedJob& job = recorded.job;
        text += Line({"job", recorded.host, std::to_string(recorded.number), job.token,
                      job.mode == TransferMode::Move ? "move" : "copy", job.destFolder});
        for (const HandedEntry& entry : job.entries) {
            std::string line = Line({"entry", OpName(entry.op), entry.folder, entry.caption,
                                     std::to_string(entry.sizeKB)});
            if (entry.withRecording) {
                line.insert(line.size() - 1, "\t" + std::string(kWithRecording));
            }
            text += line;
        }
    }
    return text;
}

std::vector<RecordedJob> ParseJobRecord(std::string_view text) {
    std::vector<RecordedJob> jobs;
    bool inJob = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::vector<std::string> fields = Fields(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (std::optional<RecordedJob> job = JobOf(fields)) {
            jobs.push_back(std::move(*job));
            inJob = true;
        } else if ((fields.size() == 5 || (fields.size() == 6 && fields[5] == kWithRecording)) &&
                   fields[0] == "entry") {
            const std::optional<EntryOp> op = OpNamed(fields[1]);
            const std::optional<std::int64_t> sizeKB = Number<std::int64_t>(fields[4]);
            if (inJob && op && sizeKB) {
                jobs.back().job.entries.push_back(
                    {*op, fields[2], fields[3], *sizeKB, fields.size() == 6});
            }
        } else {
            inJob = false;
        }
    }
    return jobs;
}

// Without a path (settings not loaded from a file) nothing is remembered.
std::vector<RecordedJob> JobRecord::Load() const {
    return path_.empty() ? std::vector<RecordedJob>() : ParseJobRecord(ReadWholeFile(path_).Bytes);
}

bool JobRecord::Save(const std::vector<RecordedJob>& jobs) {
    return !path_.empty() && ReplaceWholeFile(path_, FormatJobRecord(jobs));
}

bool JobRecord::Add(const RecordedJob& job) {
    std::vector<RecordedJob> jobs = Load();
    jobs.push_back(job);
    return Save(jobs);
}

bool JobRecord::Remove(std::string_view token) {
    std::vector<RecordedJob> jobs = Load();
    std::erase_if(jobs, [token](const RecordedJob& job) { return job.job.token == token; });
    return Save(jobs);
}

std::vector<RecordedJob> JobRecord::OfHost(std::string_view host) const {
    std::vector<RecordedJob> jobs = Load();
    std::erase_if(jobs, [host](const RecordedJob& job) { return job.host != host; });
    return jobs;
}

std::optional<RecordedJob> JobRecord::Find(std::string_view token) const {
    for (RecordedJob& job : Load()) {
        if (job.job.token == token) {
            return std::move(job);
        }
    }
    return std::nullopt;
}

}  // namespace olmira
