#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "bare_telnet.h"
#include "simbox_env.h"

namespace olmira::test {
namespace {

using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::IsSupersetOf;
using ::testing::Not;

// The way into the box: its telnetd, its login and what reaches its shell.
class SimboxLogin : public SimboxTest {};

TEST_F(SimboxLogin, RightLoginReachesThePromptAndListsTheDrives) {
    BareTelnet box;
    EXPECT_THAT(AnswerLogin(box, Box().user, Box().password), HasSubstr("Olmira box (simulated)"));
    box.ReadUntil(Prompt());

    EXPECT_THAT(ReplyLines(box, "ls -1A /var/media"), IsSupersetOf({"hdd", "usb"}));
}

TEST_F(SimboxLogin, WrongLoginIsAskedAgainUntilTheLastTryHangsUp) {
    ASSERT_GT(Box().loginTries, 0);
    const struct {
        std::string user, password;
    } logins[] = {{Box().user, Box().password + "x"}, {Box().user + "x", Box().password}};
    for (const auto& login : logins) {
        SCOPED_TRACE(login.user + " / " + login.password);
        BareTelnet box;
        AnswerLogin(box, login.user, login.password);
        for (int tried = 1; tried < Box().loginTries; ++tried) {
            EXPECT_THAT(AnswerLogin(box, login.user, login.password), HasSubstr("Login incorrect"));
        }

        const std::string rest = box.ReadToEnd();

        EXPECT_THAT(rest, HasSubstr("Login incorrect"));
        EXPECT_THAT(rest, Not(HasSubstr("login:")));
        EXPECT_THAT(rest, Not(HasSubstr("# ")));
    }
}

TEST_F(SimboxLogin, RightPasswordOnTheSecondTryLogsIn) {
    BareTelnet box;
    AnswerLogin(box, Box().user, Box().password + "x");
    EXPECT_THAT(AnswerLogin(box, Box().user, Box().password), HasSubstr("Login incorrect"));
    box.ReadUntil(Prompt());

    EXPECT_THAT(ReplyLines(box, "ls -1A /var/media"), IsSupersetOf({"hdd", "usb"}));
}

// A client that never asks for binary mode, as BareTelnet: behind the
// distribution's telnetd, ash gets "ä" (C3 A4) as "C$"; bash's line editor
// and busybox's telnetd pass it on whole. What the box sends back is never
// stripped.
TEST_F(SimboxLogin, TypedNonAsciiReachesTheShellAsItsTelnetdPassesIt) {
    BareTelnet box;
    LogIn(box, Box().user, Box().password);
    const std::string arrived = Box().StripsEighthBit() ? "<WC$lder>" : "<Wälder>";

    EXPECT_THAT(ReplyLines(box, "echo '<Wälder>'"), Contains(arrived));
    EXPECT_EQ(BoxCommandsReceived().back(), "echo '" + arrived + "'");
    EXPECT_THAT(ReplyLines(box, "ls -1A /var/media/hdd/Dokus"),
                Contains(Box().Shown("Wälder im Herbst.ts")));
}

}  // namespace
}  // namespace olmira::test
