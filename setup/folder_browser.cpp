#include "folder_browser.h"

#include <QDir>

#include "folder_pickers.h"

TFolderBrowser::TFolderBrowser(FolderPickers& pickers, QWidget* owner, QString title,
                               QString initialFolder, bool includeFiles, bool newDialogStyle)
    : pickers_(pickers),
      owner_(owner),
      title_(std::move(title)),
      includeFiles_(includeFiles),
      newDialogStyle_(newDialogStyle),
      initialFolder_(std::move(initialFolder)) {}

bool TFolderBrowser::SetRoot(SpecialFolder folder) {
    root_.clear();
    const QString place = folder == SpecialFolder::Desktop ? QDir::rootPath() : QDir::homePath();
    if (!QDir(place).exists()) {
        return false;
    }
    root_ = place;
    return true;
}

bool TFolderBrowser::Execute() {
    FolderDialogRequest request;
    request.owner = owner_;
    request.title = title_;
    request.initialFolder = initialFolder_;
    request.root = root_;
    request.includeFiles = includeFiles_;
    request.newDialogStyle = newDialogStyle_;
    request.resolveLinks = !NoLinkResolution();
    const std::optional<QString> chosen = pickers_.ChooseFolder(request);
    // One object serves one Execute: a second choice is not taken.
    if (!chosen || chosen->isEmpty() || !folder_.isEmpty()) {
        return false;
    }
    folder_ = *chosen;
    return true;
}
