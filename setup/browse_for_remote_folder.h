#pragma once

#include <QDialog>
#include <QIcon>
#include <array>
#include <string>
#include <vector>

#include "error_guard.h"
#include "settings/setup.h"

class FolderPickers;
class MessageBoxes;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// "Ordner suchen": the box's drives as the box names them (PC1 to PC5, USB)
// in a tree whose folders are listed through the paths under which this PC
// reaches the drives. Serves the fields that hold folders as the box sees
// them, and can create a new folder. One dialog serves one Execute.
class TBrowseForRemoteFolder final : public QDialog {
    Q_OBJECT

public:
    // The pictures of the tree's nodes, kept in each node under PictureRole.
    enum Picture { PictureDrive = 0, PictureOpenedFolder = 1, PictureFolder = 2 };
    static constexpr int PictureRole = Qt::UserRole;
    // The node's name as the file system spells it, bytes in a QByteArray.
    static constexpr int NameRole = Qt::UserRole + 1;
    // The text of the child that gives a node not yet expanded its button.
    static constexpr const char* kPlaceholderText = "y";

    // The drive paths are those of settings, the ones loaded at start-up.
    TBrowseForRemoteFolder(const olmira::TSetup& settings, MessageBoxes& boxes,
                           FolderPickers& pickers, QWidget* owner);

    QString HeaderText() const { return headerText_; }
    void SetHeaderText(const QString& text) { headerText_ = text; }
    bool AllowNewFolder() const { return allowNewFolder_; }
    void SetAllowNewFolder(bool allow) { allowNewFolder_ = allow; }
    // The tree path chosen with "Ok" (PC1\aufnahmen\); empty otherwise.
    const std::string& SelectedPath() const { return selectedPath_; }

    // Fills the tree, shows the dialog modally; true when it was closed with
    // "Ok".
    bool Execute();

    // The names from the drive down to node joined by "\" and ended by "\";
    // empty for no node.
    std::string NodePath(const QTreeWidgetItem* node) const;
    // The folder on this PC for a tree path; empty when it names no
    // configured drive.
    std::string ResolvePath(const std::string& treePath) const;

    // Handlers.
    void DriveTreeExpanding(QTreeWidgetItem* node);
    void bOkClick();
    void bCancelClick();
    void bNewFolderClick();

    QTreeWidget& DriveTree() const { return *driveTree_; }
    QTreeWidgetItem* SelectedNode() const;

private:
    void FormCreate();
    QTreeWidgetItem* AddNode(QTreeWidgetItem* parent, const std::string& name, Picture picture);
    void SetPicture(QTreeWidgetItem& node, Picture picture) const;
    std::vector<std::string> NodeNames(const QTreeWidgetItem* node) const;
    void UpdateButtons();

    const olmira::TSetup& settings_;
    FolderPickers& pickers_;
    ErrorGuard guard_;
    std::array<QIcon, 3> images_;
    QLabel* labelHeader_ = nullptr;
    QTreeWidget* driveTree_ = nullptr;
    QPushButton* bNewFolder_ = nullptr;
    QPushButton* bOk_ = nullptr;
    QPushButton* bCancel_ = nullptr;

    QString headerText_;
    bool allowNewFolder_ = false;
    std::string selectedPath_;
};
