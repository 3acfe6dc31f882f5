#pragma once

#include <string>

#include "tidy/tidy_controller.h"

namespace olmira {

// The properties' message, one fact a line: name, place, size or content,
// the time of the last change, the drive's free space, then what the box
// said instead of missing figures.
std::string PropertiesText(const EntryProperties& properties);

}  // namespace olmira
