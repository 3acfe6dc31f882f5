#pragma once

#include <QFont>
#include <QString>

// family at pointSize where it is installed, else the desktop's sans-serif
// font at that size.
QFont PreferredFont(const QString& family, int pointSize);
