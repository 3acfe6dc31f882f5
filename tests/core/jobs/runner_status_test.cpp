#include "jobs/runner_status.h"

#include <algorithm>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace olmira {
namespace {

using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::IsEmpty;
using ::testing::Optional;

constexpr char kPoll[] = "sh /tmp/olmirafm/runner-0123456789.sh poll 3 0";

// The reply to command as the framer gives it: its echo, the lines of
// output, the prompt.
ReplyLines Reply(std::string_view command, std::string_view output) {
    ReplyLines lines{command};
    for (std::size_t end = 0; end != std::string_view::npos; output.remove_prefix(end + 1)) {
        end = output.find('\n');
        lines.push_back(output.substr(0, end));
    }
    lines.push_back("root@box:~# ");
    return lines;
}

// How many of job's entries have ended, however.
std::size_t EndedEntries(const RunnerJob& job) {
    return static_cast<std::size_t>(
        std::count_if(job.entries.begin(), job.entries.end(), [](const RunnerEntry& entry) {
            return entry.state != EntryState::Waiting && entry.state != EntryState::Running;
        }));
}

RunnerEntry In(EntryState state, std::string step = {}, std::string message = {}) {
    return {state, std::move(step), std::move(message)};
}

TEST(RunnerStatusTest, EveryKindOfStatusLine) {
    using enum EntryState;
    const struct {
        std::string_view line;
        std::vector<RunnerEntry> entries;
        RunnerJobState state = RunnerJobState::Running;
    } cases[] = {
        {"1 run", {In(Running)}},
        {"2 done", {In(Waiting), In(Done)}},
        {"1 failed cp cp: can't stat 'a b': x; cp: y",
         {In(Failed, "cp", "cp: can't stat 'a b': x; cp: y")}},
        {"1 failed size 8192 2 4096 1", {In(Failed, "size", "8192 2 4096 1")}},
        {"1 failed name 0", {In(Failed, "name", "0")}},
        {"1 failed rm", {In(Failed, "rm", "")}},
        {"1 cancelled", {In(Cancelled)}},
        {"3 skipped", {In(Waiting), In(Waiting), In(Skipped)}},
        {"end", {}, RunnerJobState::Ended},
        // What the runner never writes changes nothing.
        {"0 done", {}},
        {"x done", {}},
        {"1 finished", {}},
        {"", {}},
    };
    for (const auto& c : cases) {
        RunnerJob job;
        job.state = RunnerJobState::Running;
        ApplyStatusLine(c.line, job);
        EXPECT_EQ(job.entries, c.entries) << c.line;
        EXPECT_EQ(job.state, c.state) << c.line;
    }
}

// Each poll asks for the lines after those known; the job keeps what the
// earlier polls told, while the progress is only ever the last poll's. The
// echo of the command and the prompt around the reply are no status.
TEST(RunnerStatusTest, PollsAddToWhatIsKnown) {
    using enum RunnerJobState;
    const struct {
        RunnerJobState state;
        std::size_t statusLines, ended;
        std::optional<std::int64_t> progressKB;
        std::string_view output;
    } polls[] = {
        {Queued, 0, 0, {}, "olmirafm-job 3 queued"},
        {Running, 1, 0, 2500,
         "olmirafm-job 3 running\nolmirafm-status 1 run\nolmirafm-progress 2500"},
        {Running,
         3,
         1,
         {},
         "olmirafm-job 3 running\nolmirafm-status 1 done\nolmirafm-status 2 run"},
        // A message of the shell, a key the runner does not have, no number.
        {Running,
         3,
         1,
         {},
         "sh: x\nolmirafm-jobs 4 ended\nolmirafm-progress x\nolmirafm-job 3 running"},
        {Ended,
         5,
         2,
         {},
         "olmirafm-job 3 ended\nolmirafm-status 2 failed cp cp: x\nolmirafm-status end"},
    };
    RunnerJob job;
    for (const auto& poll : polls) {
        ReadPoll(Reply(kPoll, poll.output), job);
        EXPECT_EQ(job.number, 3);
        EXPECT_EQ(job.state, poll.state) << poll.output;
        EXPECT_EQ(job.statusLines, poll.statusLines) << poll.output;
        EXPECT_EQ(EndedEntries(job), poll.ended) << poll.output;
        EXPECT_EQ(job.progressKB, poll.progressKB) << poll.output;
    }
    EXPECT_EQ(job.entries.at(1), In(EntryState::Failed, "cp", "cp: x"));

    RunnerJob gone;
    ReadPoll(Reply(kPoll, "olmirafm-job 3 unknown"), gone);
    EXPECT_EQ(gone.state, Unknown);
    ReadPoll(Reply(kPoll, "olmirafm-job 3 interrupted\nolmirafm-status 1 run"), gone);
    EXPECT_EQ(gone.state, Interrupted);
}

TEST(RunnerStatusTest, AListNamesEveryJobWithItsOwnLines) {
    constexpr char kList[] = "sh /tmp/olmirafm/runner-0123456789.sh list";
    const std::optional<std::vector<RunnerJob>> jobs = ParseList(Reply(
        kList,
        "olmirafm-job 4 ended\nolmirafm-token 17-a\nolmirafm-mode copy\n"
        "olmirafm-dest /var/media/usb/\nolmirafm-entry 1 cp /var/media/hdd/a.ts\n"
        "olmirafm-status 1 run\nolmirafm-status 1 done\nolmirafm-status end\n"
        "olmirafm-job 5 running\nolmirafm-token 17-b\nolmirafm-mode move\n"
        "olmirafm-dest \"/var/media/usb/Neu 1/\"\nolmirafm-entry 1 mv /var/media/hdd/b.ts\n"
        "olmirafm-entry 2 rn \"/var/media/hdd/K\"?\"se.ts\"\nolmirafm-status 1 run\nolmirafm-end"));
    ASSERT_TRUE(jobs.has_value());
    ASSERT_EQ(jobs->size(), 2u);
    const RunnerJob& first = (*jobs)[0];
    const RunnerJob& second = (*jobs)[1];
    EXPECT_EQ(first.number, 4);
    EXPECT_EQ(first.state, RunnerJobState::Ended);
    EXPECT_EQ(first.token, "17-a");
    EXPECT_EQ(first.mode, TransferMode::Copy);
    EXPECT_THAT(first.entries, ElementsAre(In(EntryState::Done)));
    EXPECT_EQ(second.number, 5);
    EXPECT_EQ(second.state, RunnerJobState::Running);
    EXPECT_EQ(second.mode, TransferMode::Move);
    EXPECT_EQ(second.destWord, "\"/var/media/usb/Neu 1/\"");
    EXPECT_THAT(second.entryWords, ElementsAre(EndsWith("mv /var/media/hdd/b.ts"),
                                               EndsWith("rn \"/var/media/hdd/K\"?\"se.ts\"")));
    EXPECT_EQ(second.statusLines, 1u);

    // Without its end line the list is cut short, or no runner answered.
    const ReplyLines cut = Reply(kList, "olmirafm-job 4 ended\nolmirafm-token 17-a");
    EXPECT_EQ(ParseList(cut), std::nullopt);
    EXPECT_EQ(ParseList(Reply(kList, "sh: can't open '/tmp/olmirafm/runner-0123456789.sh'")),
              std::nullopt);
    const ReplyLines none = Reply(kList, "olmirafm-end");
    EXPECT_THAT(ParseList(none), Optional(IsEmpty()));
}

TEST(RunnerStatusTest, TheReasonAnEntryWasNotDone) {
    using enum EntryState;
    using enum TransferMode;
    const std::string removed = "; die unvollständige Kopie wurde entfernt";
    const std::string smaller = "die Kopie ist nicht so groß wie die Quelle";
    const struct {
        RunnerEntry entry;
        TransferMode mode;
        std::string reason;
    } cases[] = {
        {In(Done), Copy, ""},
        {In(Cancelled), Copy, "abgebrochen"},
        {In(Skipped), Move, "nicht begonnen"},
        {In(Running), Copy, "unterbrochen"},
        {In(Failed, "cp", "cp: x"), Copy, "cp: x" + removed},
        {In(Failed, "cp"), Move, "cp meldete einen Fehler" + removed},
        {In(Failed, "size", "8 1 4 1"), Copy, smaller + removed},
        {In(Failed, "size", "8 1 4 1"), Move, smaller + "; die Quelle bleibt erhalten"},
        {In(Failed, "mv", "mv: x"), Move, "mv: x"},
        {In(Failed, "mv"), Copy, "mv meldete einen Fehler"},
        {In(Failed, "rm", "rm: x"), Move,
         "kopiert, aber die Quelle ließ sich nicht ganz entfernen: rm: x"},
        {In(Failed, "name", "0"), Copy, "nicht gefunden"},
        {In(Failed, "name", "2"), Copy, "der Name passt auf der Box zu mehreren Einträgen"},
        {In(Failed, "kind", "folder"), Copy, "im Ziel ist ein Ordner dieses Namens; er bleibt"},
        {In(Failed, "kind", "file Serie/Extra"), Move,
         "im Ziel ist Serie/Extra eine Datei, in der Quelle nicht; es wurde nichts eingefügt"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EntryReason(c.entry, c.mode), c.reason) << c.entry.failedStep;
    }
}

}  // namespace
}  // namespace olmira
