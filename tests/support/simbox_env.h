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
    // The box's shell: "bash", or "busybox" for ash with busybox's commands.
    std::string shell;
    // Where the box's shell finds its commands (the slow cp aside).
    std::string toolsPath;
    // The box's Telnet service: "inetutils", the distribution's telnetd, or
    // "busybox", busybox's own.
    std::string telnetd;
    // How many tries a login gets before the box hangs up.
    int loginTries = 0;
    // A private key the box's SSH service accepts for its user.
    std::string sshKey;

    bool IsBusybox() const { return shell == "busybox"; }
    // The prompt as the box sends it: ash's line editor asks for the cursor
    // position (ESC [ 6 n) right after it.
    std::string Prompt() const { return IsBusybox() ? "/ # \x1b[6n" : "root@box:~# "; }
    // Whether the box's shell gets what a client types with each byte's 8th
    // bit cleared while the client has not asked for binary mode: the
    // distribution's telnetd sets istrip then, and only bash's line editor
    // clears it again.
    bool StripsEighthBit() const { return IsBusybox() && telnetd == "inetutils"; }
    // A file name as the box's listings show it: without a UTF-8 locale,
    // busybox shows each byte outside ASCII as "?".
    std::string Shown(const std::string& name) const;
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
