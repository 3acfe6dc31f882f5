#include "browse_for_remote_folder.h"

#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <cstring>

#include "desktop/folder_paths.h"
#include "folder_pickers.h"
#include "preferred_font.h"
#include "text_codec.h"

namespace {

constexpr QSize kClientSize(338, 310);
constexpr QRect kTreeGeometry(1, 24, 335, 248);
constexpr QSize kButtonSize(90, 25);
constexpr int kButtonTop = 279;
constexpr int kMargin = 8;
constexpr int kTreeIndent = 19;

QByteArray Bytes(const std::string& text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

QPushButton* Button(QWidget* parent, const char* name, const QString& text, int left) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromUtf8(name));
    button->setGeometry(QRect(QPoint(left, kButtonTop), kButtonSize));
    return button;
}

}  // namespace

TBrowseForRemoteFolder::TBrowseForRemoteFolder(const olmira::TSetup& settings, MessageBoxes& boxes,
                                               FolderPickers& pickers, QWidget* owner)
    : QDialog(owner), settings_(settings), pickers_(pickers), guard_(boxes, *this) {
    setObjectName(QStringLiteral("BrowseForRemoteFolder"));
    setWindowTitle(QStringLiteral("Ordner suchen"));
    setFont(PreferredFont(QStringLiteral("MS Sans Serif"), 8));
    setFixedSize(kClientSize);
    images_ = {style()->standardIcon(QStyle::SP_DriveHDIcon),
               style()->standardIcon(QStyle::SP_DirOpenIcon),
               style()->standardIcon(QStyle::SP_DirClosedIcon)};

    labelHeader_ = new QLabel(this);
    labelHeader_->setObjectName(QStringLiteral("labelHeader"));
    labelHeader_->setGeometry(kMargin, 4, kClientSize.width() - 2 * kMargin, 18);

    driveTree_ = new QTreeWidget(this);
    driveTree_->setObjectName(QStringLiteral("DriveTree"));
    driveTree_->setGeometry(kTreeGeometry);
    driveTree_->setHeaderHidden(true);
    driveTree_->setIndentation(kTreeIndent);
    driveTree_->setIconSize(QSize(16, 16));
    driveTree_->setSelectionMode(QAbstractItemView::SingleSelection);

    bNewFolder_ = Button(this, "bNewFolder", QStringLiteral("Neuer Ordner"), kMargin);
    const int right = kClientSize.width() - kMargin;
    bCancel_ = Button(this, "bCancel", QStringLiteral("Abbrechen"), right - kButtonSize.width());
    bOk_ = Button(this, "bOk", QStringLiteral("Ok"), right - 2 * kButtonSize.width() - 6);
    bOk_->setDefault(true);
    setTabOrder(driveTree_, bOk_);
    setTabOrder(bOk_, bCancel_);
    setTabOrder(bCancel_, bNewFolder_);

    connect(driveTree_, &QTreeWidget::itemExpanded, this,
            &TBrowseForRemoteFolder::DriveTreeExpanding);
    connect(driveTree_, &QTreeWidget::itemSelectionChanged, this,
            &TBrowseForRemoteFolder::UpdateButtons);
    connect(bOk_, &QPushButton::clicked, this, &TBrowseForRemoteFolder::bOkClick);
    connect(bCancel_, &QPushButton::clicked, this, &TBrowseForRemoteFolder::bCancelClick);
    connect(bNewFolder_, &QPushButton::clicked, this, &TBrowseForRemoteFolder::bNewFolderClick);
    FormCreate();
}

void TBrowseForRemoteFolder::FormCreate() {
    allowNewFolder_ = false;
    UpdateButtons();
}

// Only configured drives appear; the USB disk only while its folder is
// there, the network drives without such a test.
bool TBrowseForRemoteFolder::Execute() {
    bNewFolder_->setVisible(allowNewFolder_);
    labelHeader_->setText(headerText_);
    driveTree_->clear();
    for (const char* drive : olmira::kBoxDriveNames) {
        const std::string& path = *olmira::DrivePathSetting(settings_, drive);
        const bool isUsb = std::strcmp(drive, "USB") == 0;
        if (!path.empty() && (!isUsb || olmira::FolderExists(path))) {
            AddNode(nullptr, drive, PictureDrive);
        }
    }
    UpdateButtons();
    return pickers_.ShowRemotePicker(*this);
}

QTreeWidgetItem* TBrowseForRemoteFolder::AddNode(QTreeWidgetItem* parent, const std::string& name,
                                                 Picture picture) {
    auto* node = new QTreeWidgetItem(QStringList{DecodeText(name)});
    node->setData(0, NameRole, Bytes(name));
    SetPicture(*node, picture);
    node->addChild(new QTreeWidgetItem(QStringList{QString::fromLatin1(kPlaceholderText)}));
    if (parent == nullptr) {
        driveTree_->addTopLevelItem(node);
    } else {
        parent->addChild(node);
    }
    return node;
}

void TBrowseForRemoteFolder::SetPicture(QTreeWidgetItem& node, Picture picture) const {
    node.setData(0, PictureRole, static_cast<int>(picture));
    node.setIcon(0, images_[static_cast<std::size_t>(picture)]);
}

std::vector<std::string> TBrowseForRemoteFolder::NodeNames(const QTreeWidgetItem* node) const {
    std::vector<std::string> names;
    for (; node != nullptr; node = node->parent()) {
        names.insert(names.begin(), node->data(0, NameRole).toByteArray().toStdString());
    }
    return names;
}

std::string TBrowseForRemoteFolder::NodePath(const QTreeWidgetItem* node) const {
    return olmira::NodePath(NodeNames(node));
}

std::string TBrowseForRemoteFolder::ResolvePath(const std::string& treePath) const {
    return olmira::ResolvePath(settings_, treePath);
}

QTreeWidgetItem* TBrowseForRemoteFolder::SelectedNode() const {
    const QList<QTreeWidgetItem*> selected = driveTree_->selectedItems();
    return selected.isEmpty() ? nullptr : selected.constFirst();
}

// Read afresh on every expansion; a folder that cannot be read gives no
// children, and the node loses its expand button.
void TBrowseForRemoteFolder::DriveTreeExpanding(QTreeWidgetItem* node) {
    qDeleteAll(node->takeChildren());
    const std::optional<std::vector<std::string>> folders =
        olmira::ListSubfolders(olmira::ResolveNames(settings_, NodeNames(node)));
    for (const std::string& folder : folders.value_or(std::vector<std::string>{})) {
        AddNode(node, folder, PictureFolder);
    }
    if (node->parent() != nullptr) {
        SetPicture(*node, PictureOpenedFolder);
    }
    UpdateButtons();
}

void TBrowseForRemoteFolder::bOkClick() {
    const QTreeWidgetItem* node = SelectedNode();
    if (node == nullptr) {
        return;
    }
    selectedPath_ = NodePath(node);
    accept();
}

void TBrowseForRemoteFolder::bCancelClick() {
    selectedPath_.clear();
    reject();
}

// A name that creates nothing, or a folder that could not be created, adds
// no node; the parent's next expansion shows the folders as they are.
void TBrowseForRemoteFolder::bNewFolderClick() {
    guard_.Run([this] {
        QTreeWidgetItem* parent = SelectedNode();
        if (parent == nullptr) {
            return;
        }
        const std::optional<QString> typed = pickers_.AskText(
            this, QStringLiteral("Neuer Ordner"), QStringLiteral("Name des neuen Ordners"),
            QStringLiteral("Neuer Ordner"));
        if (!typed) {
            return;
        }
        const std::optional<std::string> name = olmira::NewFolderName(typed->toStdString());
        const std::string parentFolder = olmira::ResolveNames(settings_, NodeNames(parent));
        if (!name || parentFolder.empty()) {
            return;
        }
        const std::string path = parentFolder + *name;
        int error = 0;
        if (!olmira::CreateFolderPath(path, &error)) {
            guard_.ShowError("Der Ordner " + path +
                             " kann nicht angelegt werden: " + std::strerror(error));
            return;
        }
        AddNode(parent, *name, PictureFolder);
    });
}

// Without a selected node there is nothing to return or to create in.
void TBrowseForRemoteFolder::UpdateButtons() {
    const bool selected = SelectedNode() != nullptr;
    bOk_->setEnabled(selected);
    bNewFolder_->setEnabled(selected);
}
