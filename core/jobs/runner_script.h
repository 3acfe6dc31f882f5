#pragma once

#include <string_view>

namespace olmira {

// The runner's text, as it is written to the box.
std::string_view RunnerScript();
// The first 10 hex digits of the SHA-1 of that text.
std::string_view RunnerVersion();

}  // namespace olmira
