#include "folder_pickers.h"

#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QStandardPaths>
#include <QUrl>

#include "browse_for_remote_folder.h"
#include "desktop/folder_paths.h"

// Qt's own dialog rather than the desktop's, so that both styles hold: the
// older one is read-only and so offers no new-folder button.
std::optional<QString> QtFolderPickers::ChooseFolder(const FolderDialogRequest& request) {
    QFileDialog dialog(request.owner, request.title);
    dialog.setObjectName(QStringLiteral("FolderBrowser"));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    QFileDialog::Options options = QFileDialog::DontUseNativeDialog;
    if (!request.includeFiles) {
        options |= QFileDialog::ShowDirsOnly;
    }
    if (!request.resolveLinks) {
        options |= QFileDialog::DontResolveSymlinks;
    }
    if (!request.newDialogStyle) {
        options |= QFileDialog::ReadOnly;
    }
    dialog.setOptions(options);

    const QString home = QDir::homePath();
    QList<QUrl> places{
        QUrl::fromLocalFile(request.root.isEmpty() ? QStringLiteral("/") : request.root),
        QUrl::fromLocalFile(home)};
    for (const auto location : {QStandardPaths::DesktopLocation, QStandardPaths::MoviesLocation}) {
        const QString folder = QStandardPaths::writableLocation(location);
        if (!folder.isEmpty() && folder != home && QDir(folder).exists()) {
            places << QUrl::fromLocalFile(folder);
        }
    }
    dialog.setSidebarUrls(places);

    const bool startsThere =
        !request.initialFolder.isEmpty() &&
        olmira::FolderExists(QFile::encodeName(request.initialFolder).toStdString());
    dialog.setDirectory(startsThere ? request.initialFolder : home);

    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().constFirst();
}

bool QtFolderPickers::ShowRemotePicker(TBrowseForRemoteFolder& picker) {
    return picker.exec() == QDialog::Accepted;
}

std::optional<QString> QtFolderPickers::AskText(QWidget* parent, const QString& caption,
                                                const QString& prompt, const QString& text) {
    bool confirmed = false;
    const QString answer =
        QInputDialog::getText(parent, caption, prompt, QLineEdit::Normal, text, &confirmed);
    if (!confirmed) {
        return std::nullopt;
    }
    return answer;
}

FolderPickers& SystemFolderPickers() {
    static QtFolderPickers pickers;
    return pickers;
}
