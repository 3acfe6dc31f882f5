#pragma once

#include <QString>

// Shows title and text through the desktop's notification service; false
// when the session runs none.
bool ShowDesktopNotice(const QString& title, const QString& text);
