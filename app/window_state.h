#pragma once

#include <QByteArray>
#include <QSettings>
#include <QString>
#include <string>

#include "session/pane.h"

// What the window keeps between runs for this user: its geometry, each
// pane's last folder and how both panes sort. The settings file
// (olmirafm.ini) stays the user's to edit; this lives in a file of its own
// in the XDG config folder.
class WindowState {
public:
    // $XDG_CONFIG_HOME/olmirafm/fenster.ini, ~/.config when unset.
    static QString DefaultFile();

    explicit WindowState(const QString& file);

    QByteArray Geometry() const;
    void SetGeometry(const QByteArray& geometry);
    // Below /var/media as the box names it, ending in "/" ("hdd/Filme/");
    // empty when none was kept.
    std::string LastFolder(olmira::Pane pane) const;
    void SetLastFolder(olmira::Pane pane, const std::string& folder);
    // The entry list's column both panes sort by (0, the names, when none
    // was kept) and in which order.
    int SortColumn() const;
    Qt::SortOrder SortOrder() const;
    void SetSort(int column, Qt::SortOrder order);

private:
    QSettings settings_;
};
