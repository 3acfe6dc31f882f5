// TformMain's keys that move between controls: Enter in a drive box and Tab
// between the panes.
#include <QComboBox>
#include <QStringList>

#include "entry_list_view.h"
#include "error.h"
#include "form_main.h"

namespace {

// The drive box's entry for what was typed, "/" optional: as listed, else
// in any case, as the completion keeps the case typed ("pc2" becomes
// "pc2/" for "PC2/"); -1 for none.
int FindDrive(const QComboBox& media, const QString& typed) {
    QStringList names{typed};
    if (!typed.endsWith(QLatin1Char('/'))) {
        names << typed + QLatin1Char('/');
    }
    for (const Qt::MatchFlags flags : {Qt::MatchFlags(Qt::MatchExactly | Qt::MatchCaseSensitive),
                                       Qt::MatchFlags(Qt::MatchFixedString)}) {
        for (const QString& name : names) {
            if (const int drive = media.findText(name, flags); drive >= 0) {
                return drive;
            }
        }
    }
    return -1;
}

}  // namespace

// What the drive box shows counts, typed or picked ("usb" stands for
// "usb/"): a name the box did not list is refused rather than the drive
// picked before listed under it.
void TformMain::ChooseDrive(olmira::Pane pane) {
    Guarded([this, pane] {
        QComboBox& media = *ui_.Find(pane)->media;
        const QString typed = media.currentText().trimmed();
        const int drive = FindDrive(media, typed);
        if (drive < 0 && media.count() > 0) {
            throw olmira::Error("Ein Laufwerk „" + typed.toStdString() +
                                "“ hat die Box nicht gemeldet.");
        }
        if (drive >= 0) {
            media.setCurrentIndex(drive);
        }
        if (const std::optional<std::string> chosen = SelectedDrive(pane)) {
            Session().ChooseDrive(pane, *chosen);
        }
    });
}

// Tab and Shift+Tab anywhere in a pane go to the other pane's list, as the
// user works between the two; outside the panes, or with the other pane
// unusable, they move along the window's controls.
bool TformMain::focusNextPrevChild(bool next) {
    const QWidget* focused = focusWidget();
    for (const auto& [from, to] : {std::pair(olmira::Source, olmira::Destination),
                                   std::pair(olmira::Destination, olmira::Source)}) {
        EntryListView& list = *ui_.Find(to)->list;
        if (focused != nullptr && ui_.Find(from)->panel->isAncestorOf(focused) &&
            list.isEnabled()) {
            list.setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return QMainWindow::focusNextPrevChild(next);
}
