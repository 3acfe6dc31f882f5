#pragma once

#include <QIcon>
#include <array>

#include "session/list_entry.h"

// Indices into the main window's image list.
enum ImageIndex : int {
    ImageConnect = 0,
    ImageDisconnect = 1,
    ImageExit = 2,
    ImageSetup = 3,
    ImageProperties = 4,
    ImageRefresh = 5,
    ImageFolder = 6,
    ImageFile = 7,
    ImageFolderUp = 8,
    ImageTools = 9,
    ImageLog = 10,
    ImageCopy = 11,
    ImageDelete = 12,
};

// The picture of an entry list's row: this folder shows the refresh
// buttons' picture, the parent folder the folder-up buttons'.
ImageIndex EntryImage(olmira::EntryKind kind);

// The pictures shared by the tool bars and the entry lists, indexed
// by ImageIndex. Drawn as SVG, so they stay sharp on any screen.
class ImageList {
public:
    static constexpr int kCount = 13;

    ImageList();

    // An empty icon for an index outside the list.
    const QIcon& Icon(int index) const;

private:
    std::array<QIcon, kCount> icons_;
    QIcon none_;
};
