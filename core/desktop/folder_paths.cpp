#include "desktop/folder_paths.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

namespace olmira {

namespace {

std::string DropOneTrailing(std::string path, char separator) {
    if (!path.empty() && path.back() == separator) {
        path.pop_back();
    }
    return path;
}

bool IsFolder(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

}  // namespace

std::string ToBoxPath(std::string_view path) {
    std::string box(path);
    for (char& c : box) {
        if (c == '\\') {
            c = '/';
        }
    }
    return DropOneTrailing(std::move(box), '/');
}

std::string ToLocalPath(std::string_view path) {
    if (path == "/") {
        return std::string(path);
    }
    return DropOneTrailing(std::string(path), '/');
}

std::string StartFolder(std::string_view fieldText) {
    std::string folder(fieldText);
    if (!folder.empty() && folder.back() != '/' && folder.back() != '\\') {
        folder += '/';
    }
    return folder;
}

const std::string* DrivePathSetting(const TSetup& settings, std::string_view drive) {
    const std::string* const paths[] = {&settings.PC1, &settings.PC2, &settings.PC3,
                                        &settings.PC4, &settings.PC5, &settings.USB};
    for (std::size_t i = 0; i < std::size(kBoxDriveNames); ++i) {
        if (drive == kBoxDriveNames[i]) {
            return paths[i];
        }
    }
    return nullptr;
}

std::string NodePath(const std::vector<std::string>& names) {
    std::string path;
    for (const std::string& name : names) {
        path += name;
        path += '\\';
    }
    return path;
}

// An unconfigured drive gives no folder rather than the rest of the path on
// its own, which would start at the file system's root.
std::string ResolvePath(const TSetup& settings, std::string_view treePath) {
    const std::string* drivePath = DrivePathSetting(settings, treePath.substr(0, 3));
    if (drivePath == nullptr || drivePath->empty()) {
        return {};
    }
    std::string folder = *drivePath;
    for (const char c : treePath.substr(3)) {
        folder += c == '\\' ? '/' : c;
    }
    return folder;
}

std::string ResolveNames(const TSetup& settings, const std::vector<std::string>& names) {
    if (names.empty()) {
        return {};
    }
    std::string folder = ResolvePath(settings, names.front() + "\\");
    if (folder.empty()) {
        return {};
    }
    for (std::size_t i = 1; i < names.size(); ++i) {
        folder += names[i];
        folder += '/';
    }
    return folder;
}

bool FolderExists(const std::string& path) {
    return !path.empty() && IsFolder(path) && ::access(path.c_str(), X_OK) == 0;
}

bool CreateFolderPath(const std::string& path, int* errorNumber) {
    if (FolderExists(path) || ::mkdir(path.c_str(), 0777) == 0) {
        return true;
    }
    int error = errno;
    const std::size_t slash =
        path.size() < 2 ? std::string::npos : path.rfind('/', path.size() - 2);
    if (slash != std::string::npos) {
        int parentError = 0;
        const bool parentMade = CreateFolderPath(path.substr(0, slash + 1), &parentError);
        if (::mkdir(path.c_str(), 0777) == 0) {
            return true;
        }
        // The parent's reason tells more than the "missing" that follows it.
        error = parentMade ? errno : parentError;
    }
    if (errorNumber != nullptr) {
        *errorNumber = error;
    }
    return false;
}

std::optional<std::vector<std::string>> ListSubfolders(const std::string& folder) {
    const std::unique_ptr<DIR, DirCloser> dir(folder.empty() ? nullptr : ::opendir(folder.c_str()));
    if (!dir) {
        return std::nullopt;
    }
    const std::string prefix = folder.ends_with('/') ? folder : folder + "/";
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string name = entry->d_name;
        if (name.starts_with('.')) {
            continue;
        }
        const bool folderType = entry->d_type == DT_DIR;
        const bool mayBeFolder = entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN;
        if (folderType || (mayBeFolder && IsFolder(prefix + name))) {
            names.push_back(name);
        }
    }
    return names;
}

std::optional<std::string> NewFolderName(std::string_view typed) {
    std::string name(typed);
    for (char& c : name) {
        if (c == '/' || c == '\\') {
            c = '_';
        }
    }
    if (name.empty() || name == "." || name == "..") {
        return std::nullopt;
    }
    return name;
}

}  // namespace olmira
