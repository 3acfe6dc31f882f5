#include "settings/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <filesystem>
#include <optional>

#include "telnet/unique_fd.h"

namespace olmira {

namespace {

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Lives next to the target so that the rename stays on one file system; it
// removes itself unless it was renamed into place.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::filesystem::path& target)
        : name_(target.string() + ".XXXXXX"), fd_(::mkstemp(name_.data())), exists_(fd_.Valid()) {}
    ~TemporaryFile() {
        fd_.Reset();
        if (exists_) {
            ::unlink(name_.c_str());
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    bool WriteAndSync(std::string_view content, mode_t mode) {
        // Once fsync succeeded, close has nothing left to report.
        return exists_ && ::fchmod(fd_.Get(), mode) == 0 && WriteAll(fd_.Get(), content) &&
               ::fsync(fd_.Get()) == 0;
    }

    bool RenameTo(const std::filesystem::path& target) {
        if (::rename(name_.c_str(), target.c_str()) != 0) {
            return false;
        }
        exists_ = false;
        return true;
    }

private:
    std::string name_;
    UniqueFd fd_;
    bool exists_;
};

// Replacing a symbolic link by a file would cut the user's link; the file it
// points at is replaced instead.
std::filesystem::path FileBehindLinks(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_symlink(path, error)) {
        return path;
    }
    std::filesystem::path target = std::filesystem::canonical(path, error);
    return error ? std::filesystem::path(path) : target;
}

std::filesystem::path FolderOf(const std::filesystem::path& file) {
    return file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
}

// Someone who restricted or widened the file's mode meant it; a new file holds
// a password and is for its owner only.
std::optional<mode_t> ModeToKeep(const std::filesystem::path& target) {
    struct stat status {};
    if (::stat(target.c_str(), &status) == 0) {
        return status.st_mode & 07777;
    }
    if (errno == ENOENT) {
        return S_IRUSR | S_IWUSR;
    }
    return std::nullopt;
}

// Makes the rename itself survive a crash; the new content is in place
// already, so a failure here is not worth reporting.
void SyncFolder(const std::filesystem::path& folder) {
    const UniqueFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.Valid()) {
        ::fsync(fd.Get());
    }
}

}  // namespace

WholeFile ReadWholeFile(const std::string& path) {
    WholeFile file;
    const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.Valid()) {
        file.ErrorNumber = errno;
        return file;
    }
    std::array<char, 16384> buffer{};
    for (;;) {
        const ssize_t got = ::read(fd.Get(), buffer.data(), buffer.size());
        if (got > 0) {
            file.Bytes.append(buffer.data(), static_cast<std::size_t>(got));
        } else if (got == 0) {
            return file;
        } else if (errno != EINTR) {
            file.ErrorNumber = errno;
            file.Bytes.clear();
            return file;
        }
    }
}

bool ReplaceWholeFile(const std::string& path, std::string_view content) {
    const std::filesystem::path target = FileBehindLinks(path);
    const std::filesystem::path folder = FolderOf(target);
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    const std::optional<mode_t> mode = ModeToKeep(target);
    if (error || !mode) {
        return false;
    }
    TemporaryFile temporary(target);
    if (!temporary.WriteAndSync(content, *mode) || !temporary.RenameTo(target)) {
        return false;
    }
    SyncFolder(folder);
    return true;
}

}  // namespace olmira
