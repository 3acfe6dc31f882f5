#include "jobs/runner_commands.h"

#include <algorithm>

#include "conversation/shell_command.h"
#include "copy/name_pattern.h"
#include "jobs/runner_script.h"

namespace olmira {

namespace {

// Raw bytes per write command: escaped at worst fourfold, a command stays
// well inside what FitCommand sends.
constexpr std::size_t kWriteChunkBytes = 3000;

std::string Quoted(std::string_view text) {
    std::string quoted = "'";
    for (const char c : text) {
        quoted += c == '\'' ? std::string_view("'\\''") : std::string_view(&c, 1);
    }
    return quoted + "'";
}

// printf lines into path, a command per chunk: the first one replaces the
// file, the others append to it.
std::vector<std::string> WriteLinesCommands(const std::vector<std::string>& lines,
                                            std::string_view path) {
    std::vector<std::string> commands;
    std::string words;
    const auto flush = [&] {
        commands.push_back("printf '%s\\n'" + words + (commands.empty() ? " >" : " >>") +
                           std::string(path));
        words.clear();
    };
    for (const std::string& line : lines) {
        if (!words.empty() && words.size() + line.size() > kWriteChunkBytes) {
            flush();
        }
        words.append(" ").append(Quoted(line));
    }
    if (!words.empty() || commands.empty()) {
        flush();
    }
    return commands;
}

// The script's lines as they go to the box's shell. Its line editor takes a
// tab for completion, which puts names of the shell's folder into the line
// (bash does so wherever the tab stands), so each tab that indents a line
// goes as a blank; the script has no other tabs.
std::vector<std::string> ScriptLines(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string line(text.substr(0, end));
        std::replace(line.begin(), line.end(), '\t', ' ');
        lines.push_back(std::move(line));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return lines;
}

std::string_view OpWord(EntryOp op) {
    switch (op) {
        case EntryOp::Copy:
            return "cp";
        case EntryOp::Carry:
            return "mv";
        case EntryOp::Rename:
            break;
    }
    return "rn";
}

std::string Verb(std::string_view verb, std::string_view arguments = {}) {
    std::string command = "sh " + RunnerPath();
    command.append(" ").append(verb);
    if (!arguments.empty()) {
        command.append(" ").append(arguments);
    }
    return command;
}

}  // namespace

std::size_t GivenCount(const std::vector<HandedEntry>& entries) {
    return static_cast<std::size_t>(std::count_if(
        entries.begin(), entries.end(), [](const HandedEntry& e) { return !e.withRecording; }));
}

std::size_t GivenDone(const std::vector<HandedEntry>& entries, const std::vector<bool>& done) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].withRecording) {
            continue;
        }
        bool whole = i < done.size() && done[i];
        for (std::size_t along = i + 1; along < entries.size() && entries[along].withRecording;
             ++along) {
            whole = whole && along < done.size() && done[along];
        }
        count += whole ? 1 : 0;
    }
    return count;
}

std::string RunnerPath() {
    return std::string(kRunnerFolder) + "runner-" + std::string(RunnerVersion()) + ".sh";
}

std::string RunnerCheckCommand() {
    return "test -f " + RunnerPath() + " && echo olmirafm-ready";
}

bool RunnerReady(const ReplyLines& lines) {
    for (std::string_view line : lines) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) {
            line.remove_suffix(1);
        }
        if (line == "olmirafm-ready") {
            return true;
        }
    }
    return false;
}

std::vector<std::string> RunnerInstallCommands() {
    const std::string part = RunnerPath() + ".part";
    std::vector<std::string> commands{"mkdir -p " + std::string(kRunnerFolder)};
    for (std::string& command : WriteLinesCommands(ScriptLines(RunnerScript()), part)) {
        commands.push_back(std::move(command));
    }
    commands.push_back("mv -f " + part + " " + RunnerPath());
    return commands;
}

std::string SourceWord(const HandedEntry& entry) {
    return MediaPattern(entry.folder, BareName(entry.caption));
}

std::vector<std::string> JobFileLines(const HandedJob& job) {
    std::vector<std::string> lines{
        "token " + job.token,
        std::string("mode ") + (job.mode == TransferMode::Copy ? "copy" : "move"),
        "dest " + MediaPattern(job.destFolder),
    };
    for (const HandedEntry& entry : job.entries) {
        lines.push_back("entry " + std::string(OpWord(entry.op)) + " " + SourceWord(entry));
    }
    return lines;
}

std::vector<std::string> JobFileCommands(const HandedJob& job, std::string_view path) {
    return WriteLinesCommands(JobFileLines(job), path);
}

std::string SubmitCommand(std::string_view jobFile) {
    return Verb("submit", jobFile);
}

std::string PollCommand(int job, std::size_t known) {
    return Verb("poll", std::to_string(job) + " " + std::to_string(known));
}

std::string ListCommand() {
    return Verb("list");
}

std::string CancelCommand(int job) {
    return Verb("cancel", std::to_string(job));
}

std::string SkipCommand(int job, std::size_t entry) {
    return Verb("skip", std::to_string(job) + " " + std::to_string(entry + 1));
}

std::string ClearCommand(int job) {
    return Verb("clear", std::to_string(job));
}

std::string TemporaryName(std::string_view caption) {
    std::string name = ".";
    return name.append(BareName(caption)).append(".part");
}

bool IsTemporaryName(std::string_view name) {
    if (name.ends_with('/')) {
        name.remove_suffix(1);
    }
    return name.size() > 1 && name.front() == '.' &&
           (name.ends_with(".part") || name.ends_with(".old"));
}

std::string RemoveTemporaryCommand(std::string_view destFolder, std::string_view caption) {
    return "rm -rf " + MediaPattern(destFolder, TemporaryName(caption));
}

}  // namespace olmira
