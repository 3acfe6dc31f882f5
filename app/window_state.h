#pragma once

#include <QByteArray>
#include <QSettings>
#include <QString>
#include <string>

#include "session/pane.h"

// What the window keeps between runs for this user: its geometry and each
// pane's last folder. The settings file (olmirafm.ini) stays the user's to
// edit; this lives in a file of its own in the XDG config folder.
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

private:
    QSettings settings_;
};
