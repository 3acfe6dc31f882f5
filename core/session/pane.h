#pragma once

namespace olmira {

// A plain enumeration on purpose: callers may hand over any number, and
// pane lookups must cope with values that name no pane.
enum Pane : int { Source = 1, Destination = 2 };

}  // namespace olmira
