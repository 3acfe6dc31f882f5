#include "jobs/job_handover.h"

#include <memory>
#include <utility>

#include "conversation/command_fit.h"
#include "conversation/conversation.h"
#include "copy/copy_progress.h"
#include "jobs/runner_status.h"
#include "session/box_session.h"

namespace olmira {

namespace {

// What the box said besides the echoes and prompts, for a message: the
// words of whatever failed.
std::string BoxWords(const ReplyLines& lines) {
    std::vector<std::string> words;
    for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
        const std::string_view line = lines[i];
        const bool prompt = line.ends_with("# ") || line.ends_with("$ ") ||
                            line.find("\x1b[6n") != std::string_view::npos;
        if (!line.empty() && !prompt && !PreparesCommand(line)) {
            words.emplace_back(line);
        }
    }
    return Joined(words, "; ");
}

}  // namespace

JobHandover::JobHandover(BoxSession& session, Conversation& conversation)
    : session_(session), conversation_(conversation) {}

void JobHandover::EnsureRunner(std::function<void(bool, const std::string&)> next) {
    conversation_.Ask(RunnerCheckCommand(), [this, next = std::move(next)]() mutable {
        if (RunnerReady(session_.ReplyLines())) {
            next(true, {});
        } else {
            Install(std::move(next));
        }
    });
}

// Every line of the runner goes out; a check tells whether it arrived.
void JobHandover::Install(std::function<void(bool, const std::string&)> next) {
    auto words = std::make_shared<std::string>();
    for (std::string& command : RunnerInstallCommands()) {
        conversation_.Ask(std::move(command), [this, words] {
            const std::string said = BoxWords(session_.ReplyLines());
            if (!said.empty() && words->empty()) {
                *words = said;
            }
        });
    }
    conversation_.Ask(RunnerCheckCommand(), [this, words, next = std::move(next)] {
        const bool ready = RunnerReady(session_.ReplyLines());
        next(ready, ready ? std::string()
                          : "Der Auftrag ließ sich nicht an die Box übergeben" +
                                (words->empty() ? std::string(".") : ": " + *words));
    });
}

void JobHandover::HandOver(const HandedJob& job, Done done) {
    EnsureRunner([this, job, done = std::move(done)](bool ready, const std::string& reason) {
        if (!ready) {
            done(std::nullopt, reason);
            return;
        }
        Submit(job, done);
    });
}

void JobHandover::Submit(const HandedJob& job, Done done) {
    const std::string file = std::string(kRunnerFolder) + "new-" + job.token;
    for (std::string& command : JobFileCommands(job, file)) {
        conversation_.Ask(std::move(command), [] {});
    }
    conversation_.Ask(SubmitCommand(file), [this, done = std::move(done)] {
        std::string refusal;
        const std::optional<int> number = ParseSubmitted(session_.ReplyLines(), &refusal);
        if (refusal.empty()) {
            refusal = BoxWords(session_.ReplyLines());
        }
        done(number, number ? std::string()
                            : "Der Auftrag ließ sich nicht an die Box übergeben" +
                                  (refusal.empty() ? std::string(".") : ": " + refusal));
    });
}

}  // namespace olmira
