#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "simbox_env.h"
#include "temp_folder.h"

namespace {

inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

// word for /bin/sh as one argument, whatever it holds.
inline std::string ShellArgument(const std::string& word) {
    std::string quoted = "'";
    for (const char c : word) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

// Each word as one argument for /bin/sh, a blank before each.
inline std::string ShellArguments(const std::vector<std::string>& words) {
    std::string arguments;
    for (const std::string& word : words) {
        arguments += " " + ShellArgument(word);
    }
    return arguments;
}

class CliOnTheBox : public olmira::test::SimboxTest {
protected:
    // Runs olmirafm-cli with arguments against host; extraIni goes to the
    // end of its INI file. Its record of handed jobs stays in the test's
    // folder.
    Outcome Run(const std::string& host, const std::string& arguments,
                const std::string& extraIni = "") {
        folder.Write("olmirafm.ini", "[Network]\r\nolmira_Host=" + host +
                                         "\r\nolmira_User=" + Box().user + "\r\nolmira_Pass=" +
                                         password.value_or(Box().password) + "\r\n" + extraIni);
        const std::string command = "XDG_CONFIG_HOME=" + ShellArgument(folder.File("config")) +
                                    " " + environment + std::string(OLMIRAFM_CLI) + " --ini " +
                                    folder.File("olmirafm.ini") + " " + arguments + " >" +
                                    folder.File("out") + " 2>" + folder.File("err");
        Outcome outcome;
        outcome.status = WEXITSTATUS(std::system(command.c_str()));
        outcome.out = folder.Read("out");
        outcome.err = folder.Read("err");
        return outcome;
    }

    // olmirafm-cli with command and paths, each one argument, on this box.
    Outcome Cli(const std::string& command, const std::vector<std::string>& paths) {
        return Run("127.0.0.1", command + ShellArguments(paths));
    }

    std::filesystem::path Media() const { return Box().mediaPath; }

    olmira::test_support::TempFolder folder;
    // The password the INI file gives; the box's own unless a test sets one.
    std::optional<std::string> password;
    // More of the program's environment, "NAME=value " each.
    std::string environment;
};

}  // namespace
