#include "preferred_font.h"

#include <QFontDatabase>

QFont PreferredFont(const QString& family, int pointSize) {
    QFont font = QFontDatabase::hasFamily(family)
                     ? QFont(family)
                     : QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSize(pointSize);
    return font;
}
