#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "jobs/runner_commands.h"

namespace olmira {

// A job handed to a box, as this PC remembers it: the box may lose its own
// record of it with a restart, and the program must still report the job
// and find the temporary copies it may have left.
struct RecordedJob {
    std::string host;
    int number = 0;
    HandedJob job;
    bool operator==(const RecordedJob&) const = default;
};

// The record file: each job a line, then a line for each of its entries,
// the fields separated by tabs, with tab, line end and backslash escaped.
std::string FormatJobRecord(const std::vector<RecordedJob>& jobs);
// Lines it cannot read are left out.
std::vector<RecordedJob> ParseJobRecord(std::string_view text);

// The jobs in the file at path, read and written whole each time: the
// window and the console may both have handed jobs over.
class JobRecord {
public:
    explicit JobRecord(std::string path) : path_(std::move(path)) {}

    std::vector<RecordedJob> Load() const;
    // False when the file cannot be written.
    bool Add(const RecordedJob& job);
    // Forgets the job with token; false when the file cannot be written.
    bool Remove(std::string_view token);
    // The recorded jobs of host.
    std::vector<RecordedJob> OfHost(std::string_view host) const;
    std::optional<RecordedJob> Find(std::string_view token) const;

private:
    bool Save(const std::vector<RecordedJob>& jobs);

    std::string path_;
};

}  // namespace olmira
