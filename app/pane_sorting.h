#pragma once

#include <array>

#include "main_window_ui.h"

class WindowState;

// Both panes' lists sort alike: a click on either list's header sorts both,
// by that column, and a second click the other way round. The sort starts
// as state kept it and is kept there at each change.
void SortPanesAlike(const std::array<PaneUi, 2>& panes, WindowState& state);
