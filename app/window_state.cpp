#include "window_state.h"

#include <QStandardPaths>

namespace {

QString FolderKey(olmira::Pane pane) {
    return pane == olmira::Source ? QStringLiteral("Ordner/Quelle") : QStringLiteral("Ordner/Ziel");
}

}  // namespace

QString WindowState::DefaultFile() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/olmirafm/fenster.ini");
}

WindowState::WindowState(const QString& file) : settings_(file, QSettings::IniFormat) {}

QByteArray WindowState::Geometry() const {
    return settings_.value(QStringLiteral("Fenster/Geometrie")).toByteArray();
}

void WindowState::SetGeometry(const QByteArray& geometry) {
    settings_.setValue(QStringLiteral("Fenster/Geometrie"), geometry);
}

// Kept as the box's bytes, which need not be UTF-8.
std::string WindowState::LastFolder(olmira::Pane pane) const {
    return settings_.value(FolderKey(pane)).toByteArray().toStdString();
}

void WindowState::SetLastFolder(olmira::Pane pane, const std::string& folder) {
    settings_.setValue(FolderKey(pane),
                       QByteArray(folder.data(), static_cast<qsizetype>(folder.size())));
}

int WindowState::SortColumn() const {
    return settings_.value(QStringLiteral("Sortierung/Spalte"), 0).toInt();
}

Qt::SortOrder WindowState::SortOrder() const {
    return settings_.value(QStringLiteral("Sortierung/Absteigend"), false).toBool()
               ? Qt::DescendingOrder
               : Qt::AscendingOrder;
}

void WindowState::SetSort(int column, Qt::SortOrder order) {
    settings_.setValue(QStringLiteral("Sortierung/Spalte"), column);
    settings_.setValue(QStringLiteral("Sortierung/Absteigend"), order == Qt::DescendingOrder);
}
