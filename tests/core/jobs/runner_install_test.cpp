#include <gtest/gtest.h>

#include <algorithm>

#include "jobs/runner_commands.h"

namespace olmira {
namespace {

// The box's line editor acts on control characters (a tab completes names
// of the shell's folder into the line): none may reach it in the commands
// that write the runner.
TEST(RunnerInstallCommandsTest, HoldNoControlCharacters) {
    for (const std::string& command : RunnerInstallCommands()) {
        EXPECT_TRUE(std::none_of(command.begin(), command.end(), [](char c) {
            const auto byte = static_cast<unsigned char>(c);
            return byte < 0x20 || byte == 0x7f;
        })) << command.substr(0, 80);
    }
}

}  // namespace
}  // namespace olmira
