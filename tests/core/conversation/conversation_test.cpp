#include "conversation/conversation.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "fake_box.h"

namespace olmira {
namespace {

using ::testing::ElementsAre;

class ConversationTest : public ::testing::Test {
protected:
    Conversation::Command Listing(const std::string& line, int slot = 0) {
        return {line, [this, line] { sentNow.push_back(line); },
                [this, line] { replied.push_back(line); }, slot};
    }
    void Prompt() { conversation.Receive("out\r\nbox# "); }

    std::string marker = "box#";
    FakeChannel channel;
    Conversation conversation{channel, marker};
    std::vector<std::string> sentNow;
    std::vector<std::string> replied;
};

TEST_F(ConversationTest, OneLineAtATimeEachReplyToItsOwnHandler) {
    conversation.Send(Listing("a"));
    conversation.Send(Listing("b"));
    EXPECT_THAT(channel.sent, ElementsAre("a"));
    EXPECT_TRUE(conversation.ReplyOutstanding());
    conversation.Receive("out\r\nbo");
    EXPECT_THAT(replied, ElementsAre());
    conversation.Receive("x# ");
    EXPECT_THAT(replied, ElementsAre("a"));
    EXPECT_THAT(channel.sent, ElementsAre("a", "b"));
    EXPECT_THAT(sentNow, ElementsAre("a", "b"));
    Prompt();
    EXPECT_THAT(replied, ElementsAre("a", "b"));
    EXPECT_FALSE(conversation.ReplyOutstanding());
}

// A name's eighth bits go out in lines of 7-bit bytes first; the command's
// handlers belong to its last line.
TEST_F(ConversationTest, ALineTheBoxCannotTakeGoesOutInPiecesWithOneReplyForTheCommand) {
    const std::string makeFolder = "mkdir \"/var/media/usb/M\xc3\xbcll\"";
    conversation.Send(Listing(makeFolder));
    conversation.Send(Listing("next"));
    while (channel.sent.back() != "next") {
        EXPECT_THAT(replied, ElementsAre());
        Prompt();
    }
    EXPECT_GT(channel.sent.size(), 2u);
    EXPECT_THAT(sentNow, ElementsAre(makeFolder, "next"));
    EXPECT_THAT(replied, ElementsAre(makeFolder));
    for (const std::string& line : channel.sent) {
        EXPECT_TRUE(std::all_of(line.begin(), line.end(), [](char c) {
            return static_cast<unsigned char>(c) < 128;
        })) << line;
    }
}

// A line editor wraps the echo of a long line at its terminal's width (ash
// with CR NUL CR LF, bash's on a dumb terminal by redrawing it scrolled
// sideways); the echo stays the first line, and the output follows it.
TEST_F(ConversationTest, AWrappedEchoStaysTheReplysFirstLine) {
    const std::string line = "ls -1Aps \"/var/media/hdd/" + std::string(90, 's') + "/\"";
    for (const std::string& echo :
         {line.substr(0, 76) + "\r" + std::string(1, '\0') + "\r\n" + line.substr(76),
          "\r<" + line.substr(40)}) {
        conversation.Send(Listing(line));
        conversation.Receive(echo + "\r\ntotal 4\r\n4 Folge.ts\r\nbox# ");
        const ReplyLines& lines = conversation.Framer().Lines();
        ASSERT_EQ(lines.size(), 4u);
        EXPECT_EQ(lines[1], "total 4");
        EXPECT_EQ(lines[2], "4 Folge.ts");
        conversation.Framer().Clear();
    }
}

// After the login the prompt stands unanswered: it is no part of the reply
// to the next line, however the reply's bytes are cut.
TEST_F(ConversationTest, ThePromptThatLetALineGoEndsNoneOfItsReply) {
    marker.clear();
    conversation.Receive("root\r\nbox# ");
    marker = "box#";
    conversation.Send(Listing("ls \"K\xc3\xa4se\""));
    const std::size_t sentBefore = channel.sent.size();
    conversation.Receive("olm");
    conversation.Receive("irafm_line=...\r\n");
    EXPECT_EQ(channel.sent.size(), sentBefore) << "the next line went out before the prompt";
    EXPECT_TRUE(conversation.ReplyOutstanding());
}

TEST_F(ConversationTest, ACommandTooLongForTheBoxIsRefusedBeforeAnythingGoesOut) {
    EXPECT_THROW(conversation.Send(Listing("rm -rf " + std::string(20000, 'x'))), Error);
    EXPECT_THAT(channel.sent, ElementsAre());
    EXPECT_FALSE(conversation.ReplyOutstanding());
}

TEST_F(ConversationTest, AWaitingCommandOfTheSameSlotIsReplacedButNotAcrossAStep) {
    conversation.Send(Listing("first", 1));
    conversation.Send(Listing("older", 2));
    conversation.Send(Listing("newer", 2));
    EXPECT_TRUE(conversation.Pending(2));
    conversation.Then([this] { conversation.Send(Listing("from the step")); });
    conversation.Send(Listing("after the step", 2));
    conversation.Send(Listing("last"));
    for (int reply = 0; reply < 5; ++reply) {
        Prompt();
    }
    EXPECT_THAT(channel.sent,
                ElementsAre("first", "newer", "from the step", "after the step", "last"));
    EXPECT_FALSE(conversation.Pending(2));
}

TEST_F(ConversationTest, DropForgetsWhatWaitsAndAUnsolicitedPromptRunsNothing) {
    conversation.Send(Listing("a"));
    conversation.Send(Listing("b"));
    conversation.Drop();
    Prompt();
    EXPECT_THAT(replied, ElementsAre());
    EXPECT_THAT(channel.sent, ElementsAre("a"));
    conversation.Send(Listing("c"));
    EXPECT_THAT(channel.sent, ElementsAre("a", "c"));
}

}  // namespace
}  // namespace olmira
