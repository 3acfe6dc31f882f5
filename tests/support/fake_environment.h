#pragma once

#include <map>
#include <optional>
#include <string>

#include "settings/program_folder.h"

namespace olmira::test_support {

// An environment that holds just variables, whatever the process's holds.
inline EnvironmentLookup FakeEnvironment(std::map<std::string, std::string> variables) {
    return [variables](const std::string& name) -> std::optional<std::string> {
        const auto found = variables.find(name);
        return found == variables.end() ? std::nullopt : std::optional(found->second);
    };
}

}  // namespace olmira::test_support
