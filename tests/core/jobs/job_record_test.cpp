#include "jobs/job_record.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "temp_folder.h"

namespace olmira {
namespace {

using test_support::TempFolder;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

RecordedJob Job(std::string host, int number, std::string token,
                std::vector<HandedEntry> entries = {}) {
    return {std::move(host), number,
            HandedJob{std::move(token), TransferMode::Copy, "usb/", std::move(entries)}};
}

// Every byte a name on the box can hold comes back as it was, and no field
// breaks a line of the file.
TEST(JobRecordTest, AwkwardNamesComeBackAsTheyWere) {
    RecordedJob awkward = Job("box\t2", 7, "17-3\\t",
                              {{EntryOp::Copy, "hdd/Tab\there/", "Zeile\nzwei.ts", 8'000'000'000},
                               {EntryOp::Carry, "hdd/Back\\slash\\/", "ends in \\", 0},
                               {EntryOp::Rename, "hdd/K\xe4se/", "\\n is no line end\r", 1}});
    awkward.job.mode = TransferMode::Move;
    awkward.job.destFolder = "usb/Neu\t\\n/";
    const std::vector<RecordedJob> jobs{
        awkward, Job("", 0, "", {}),
        Job("box", 8, "t",
            {{EntryOp::Copy, "", "", -1}, {EntryOp::Copy, "hdd/", "a.crid", 1, true}})};
    const std::string text = FormatJobRecord(jobs);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 8);
    EXPECT_EQ(ParseJobRecord(text), jobs);
}

// A file cut short or changed by hand: whatever is readable stays.
TEST(JobRecordTest, ADamagedFileLosesNothingReadable) {
    const std::string text =
        "job\tbox\t1\tt1\tcopy\tusb/\n"
        "entry\tcp\thdd/\ta.ts\t10\n"
        "entry\tcp\thdd/\tb.ts\tzehn\n"  // its size unreadable
        "entry\txx\thdd/\tc.ts\t10\n"    // its op unknown
        "entry\tcp\thdd/\td.ts\t30\n"
        "job\tbox\tzwei\tt2\tcopy\tusb/\n"  // its number unreadable
        "entry\tcp\thdd/\tlost.ts\t1\n"     // belongs to no readable job
        "\n"
        "job\tbox\t3\tt3\tmove\thdd/\n"
        "entry\trn\tusb/\te.ts\t5\n"
        "entry\tcp\tusb/\tf.";  // cut off
    const std::vector<RecordedJob> jobs = ParseJobRecord(text);
    ASSERT_EQ(jobs.size(), 2u);
    EXPECT_EQ(jobs[0].job.token, "t1");
    EXPECT_THAT(jobs[0].job.entries, ElementsAre(HandedEntry{EntryOp::Copy, "hdd/", "a.ts", 10},
                                                 HandedEntry{EntryOp::Copy, "hdd/", "d.ts", 30}));
    EXPECT_EQ(jobs[1].number, 3);
    EXPECT_EQ(jobs[1].job.mode, TransferMode::Move);
    EXPECT_THAT(jobs[1].job.entries, ElementsAre(HandedEntry{EntryOp::Rename, "usb/", "e.ts", 5}));
}

TEST(JobRecordTest, TheFileHoldsTheJobsOfEveryBox) {
    TempFolder folder;
    JobRecord record(folder.File("record/jobs"));
    EXPECT_THAT(record.Load(), IsEmpty());
    const RecordedJob first = Job("box", 1, "a", {{EntryOp::Copy, "hdd/", "x.ts", 4}});
    const RecordedJob other = Job("10.0.0.2", 1, "b");
    const RecordedJob second = Job("box", 2, "c");
    for (const RecordedJob& job : {first, other, second}) {
        ASSERT_TRUE(record.Add(job));
    }
    // Another program's record of the same file sees the jobs too.
    EXPECT_THAT(JobRecord(folder.File("record/jobs")).OfHost("box"), ElementsAre(first, second));
    EXPECT_THAT(record.OfHost("10.0.0.2"), ElementsAre(other));
    EXPECT_THAT(record.OfHost("nobox"), IsEmpty());
    EXPECT_EQ(record.Find("c"), second);
    EXPECT_EQ(record.Find("d"), std::nullopt);

    ASSERT_TRUE(record.Remove("a"));
    ASSERT_TRUE(record.Remove("d"));
    EXPECT_THAT(record.Load(), ElementsAre(other, second));

    folder.Write("plain", "");
    JobRecord unwritable(folder.File("plain/jobs"));
    EXPECT_FALSE(unwritable.Add(first));
    EXPECT_THAT(unwritable.Load(), IsEmpty());
}

}  // namespace
}  // namespace olmira
