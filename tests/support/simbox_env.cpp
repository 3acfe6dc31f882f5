#include "simbox_env.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <utility>

namespace olmira::test {
namespace {

constexpr const char* kNotInBox =
    "no simulated box: run this test as `tools/simbox run -- <test binary>`";

std::optional<std::string> Variable(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr) {
        return std::nullopt;
    }
    return std::string(value);
}

}  // namespace

std::optional<SimboxEnv> FindSimbox() {
    auto user = Variable("SIMBOX_USER");
    auto password = Variable("SIMBOX_PASS");
    auto history = Variable("SIMBOX_HISTORY");
    auto media = Variable("SIMBOX_MEDIA");
    auto shell = Variable("SIMBOX_SHELL");
    auto path = Variable("SIMBOX_PATH");
    auto telnetd = Variable("SIMBOX_TELNETD");
    auto tries = Variable("SIMBOX_LOGIN_TRIES");
    if (!user || !password || !history || !media || !shell || !path || !telnetd || !tries) {
        return std::nullopt;
    }
    return SimboxEnv{*user,
                     *password,
                     *history,
                     *media,
                     *shell,
                     *path,
                     *telnetd,
                     std::atoi(tries->c_str()),
                     Variable("SIMBOX_SSH_KEY").value_or("")};
}

std::string SimboxEnv::Shown(const std::string& name) const {
    std::string shown = name;
    if (IsBusybox()) {
        std::replace_if(
            shown.begin(), shown.end(),
            [](char byte) { return (static_cast<unsigned char>(byte) & 0x80) != 0; }, '?');
    }
    return shown;
}

std::vector<std::string> BoxCommandsReceived() {
    const auto box = FindSimbox();
    if (!box) {
        throw std::runtime_error(kNotInBox);
    }
    std::ifstream history(box->historyPath);
    if (!history) {
        throw std::runtime_error("cannot read the box's history " + box->historyPath);
    }
    std::vector<std::string> commands;
    for (std::string line; std::getline(history, line);) {
        commands.push_back(line);
    }
    return commands;
}

void SimboxTest::SetUp() {
    auto box = FindSimbox();
    ASSERT_TRUE(box.has_value()) << kNotInBox;
    box_ = *std::move(box);
}

}  // namespace olmira::test
