#pragma once

#include <QString>
#include <optional>

class QWidget;
class TBrowseForRemoteFolder;

// What a folder dialog for paths as this PC sees them is asked to show.
struct FolderDialogRequest {
    QWidget* owner = nullptr;
    QString title;
    // The folder to open at; empty for none.
    QString initialFolder;
    // The top of the dialog's tree: the file system's root.
    QString root;
    bool includeFiles = false;
    // The newer style offers a new-folder button, the older one does not.
    bool newDialogStyle = false;
    // Always off: a chosen link is returned as itself, not as its target.
    bool resolveLinks = false;
};

// Every modal step of the folder pickers goes through here, so GUI tests can
// answer them without a modal loop, as they do the message boxes.
class FolderPickers {
public:
    virtual ~FolderPickers() = default;

    // The system's folder dialog: the chosen path, nullopt when cancelled.
    virtual std::optional<QString> ChooseFolder(const FolderDialogRequest& request) = 0;
    // Shows the filled remote picker modally; true when it was closed with
    // "Ok".
    virtual bool ShowRemotePicker(TBrowseForRemoteFolder& picker) = 0;
    // An input box with one line of text: what was confirmed with Ok,
    // nullopt when cancelled.
    virtual std::optional<QString> AskText(QWidget* parent, const QString& caption,
                                           const QString& prompt, const QString& text) = 0;
};

// The real dialogs: Qt's own folder dialog, the picker's modal loop and
// Qt's input box.
class QtFolderPickers final : public FolderPickers {
public:
    std::optional<QString> ChooseFolder(const FolderDialogRequest& request) override;
    bool ShowRemotePicker(TBrowseForRemoteFolder& picker) override;
    std::optional<QString> AskText(QWidget* parent, const QString& caption, const QString& prompt,
                                   const QString& text) override;
};

// The program's pickers, one for the whole run.
FolderPickers& SystemFolderPickers();
