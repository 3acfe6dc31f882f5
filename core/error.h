#pragma once

#include <stdexcept>
#include <string>

namespace olmira {

// Every failure the program reports carries the text the user sees.
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace olmira
