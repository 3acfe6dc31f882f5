#include "image_list.h"

namespace {

// In the order of ImageIndex.
constexpr std::array<const char*, ImageList::kCount> kImageFiles = {
    "connect", "disconnect", "exit",  "setup", "properties", "refresh", "folder",
    "file",    "folder_up",  "tools", "log",   "copy",       "delete",
};

}  // namespace

ImageList::ImageList() {
    // The pictures live in a static library, whose resources the linker
    // would otherwise drop.
    Q_INIT_RESOURCE(images);
    for (int i = 0; i < kCount; ++i) {
        icons_[i] = QIcon(QStringLiteral(":/images/%1.svg").arg(QLatin1String(kImageFiles[i])));
    }
}

const QIcon& ImageList::Icon(int index) const {
    return index >= 0 && index < kCount ? icons_[index] : none_;
}

ImageIndex EntryImage(olmira::EntryKind kind) {
    switch (kind) {
        case olmira::EntryKind::ThisFolder:
            return ImageRefresh;
        case olmira::EntryKind::ParentFolder:
            return ImageFolderUp;
        case olmira::EntryKind::Folder:
            return ImageFolder;
        case olmira::EntryKind::File:
            break;
    }
    return ImageFile;
}
