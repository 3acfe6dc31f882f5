#pragma once

#include <QString>

class FolderPickers;
class QWidget;

// The system's folder dialog for paths as this PC sees them, opened at the
// folder a field already holds. One object serves one Execute.
class TFolderBrowser {
public:
    // The places SetRoot can make the top of the dialog's tree. The
    // desktop, the top of the Windows shell's name space, is here the file
    // system's root.
    enum class SpecialFolder { Desktop, Home };

    TFolderBrowser(FolderPickers& pickers, QWidget* owner, QString title, QString initialFolder,
                   bool includeFiles, bool newDialogStyle);

    // Takes the given place as the root; false when it is not there.
    bool SetRoot(SpecialFolder folder);

    // Shows the dialog and waits; true when a folder with a path was chosen,
    // which is then in Folder.
    bool Execute();

    const QString& Title() const { return title_; }
    const QString& InitialFolder() const { return initialFolder_; }
    bool IncludeFiles() const { return includeFiles_; }
    bool NewDialogStyle() const { return newDialogStyle_; }
    // The status line and keeping links as they are: always on.
    bool StatusText() const { return true; }
    bool NoLinkResolution() const { return true; }
    const QString& Root() const { return root_; }
    // The chosen folder; empty until a successful Execute.
    const QString& Folder() const { return folder_; }

private:
    FolderPickers& pickers_;
    QWidget* owner_;
    QString title_;
    bool includeFiles_;
    bool newDialogStyle_;
    QString initialFolder_;
    QString folder_;
    QString root_;
};
