#pragma once

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace olmira::test {

// The simulated box that tools/simbox started around this process.
struct SimboxEnv {
    std::string user;
    std::string password;
    // Every command line the box's shell received, one a line.
    std::string historyPath;
    // The folder the box shows as /var/media.
    std::string mediaPath;
};

// The box, or nothing when this process does not run under tools/simbox.
std::optional<SimboxEnv> FindSimbox();

// The command lines the box's shell received so far, oldest first.
std::vector<std::string> BoxCommandsReceived();

// Base of tests that talk to the box: outside a box they fail and say how to
// run them.
class SimboxTest : public ::testing::Test {
protected:
    void SetUp() override;
    const SimboxEnv& Box() const { return box_; }

private:
    SimboxEnv box_;
};

}  // namespace olmira::test
