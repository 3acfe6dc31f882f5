#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>

#include "copy/copy_controller.h"
#include "copy_job_fixture.h"

namespace olmira {
namespace {

class JobProgressTest : public test_support::CopyJobFixture {};

// The window counts what has been copied: each entry done, whole, and of
// those running what their temporary copy holds, never more than they
// measured. An entry that failed or never began adds nothing.
TEST_F(JobProgressTest, OnlyWhatWasCopiedCounts) {
    const struct {
        std::vector<std::string> status;
        std::optional<std::int64_t> progressKB;
        std::int64_t transferredKB;
    } cases[] = {
        {{}, std::nullopt, 0},
        {{"1 run"}, 300, 300},
        {{"1 run"}, 9000, 8000},
        {{"1 run", "1 done", "2 run"}, 500, 8500},
        {{"1 run", "1 done", "2 run"}, std::nullopt, 8000},
        {{"1 run", "1 failed kind folder", "2 run"}, 500, 500},
        {{"1 run", "1 failed name 0", "2 run", "2 failed cp cp: x", "3 run"}, 100, 100},
        {{"1 run", "1 done"}, 4000, 8000},  // measured after its rename: no entry runs
    };
    for (const auto& c : cases) {
        runner = {};
        HandedOver({"Der Film.ts", "Serien/", "Zweiter.ts"}, {8000, 2000, 7000});
        runner.status = c.status;
        runner.progressKB = c.progressKB;
        Expire(5000);
        ASSERT_FALSE(window.progress.updates.empty());
        EXPECT_EQ(window.progress.updates.back().transferredKB, c.transferredKB)
            << c.status.size() << " " << c.progressKB.value_or(-1);
        conversation.Drop();
        copy.ConnectionEnded();
    }
}

}  // namespace
}  // namespace olmira
