#pragma once

#include <string>

namespace olmira {

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
};

// One row of a pane's entry list. Caption and size are bytes as the box sent
// them; the window decides how to show them and hands them back unchanged.
struct ListEntry {
    std::string caption;
    int image = ImageFile;
    std::string size;

    bool operator==(const ListEntry&) const = default;
};

}  // namespace olmira
