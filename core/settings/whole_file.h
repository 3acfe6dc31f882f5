#pragma once

#include <string>
#include <string_view>

namespace olmira {

// A file's bytes as read in one go; ErrorNumber is the errno of the failure,
// 0 when the whole file was read.
struct WholeFile {
    std::string Bytes;
    int ErrorNumber = 0;
};

WholeFile ReadWholeFile(const std::string& path);

// Replaces the file at path with content so that a reader sees either the old
// file or the new one, never a mixture: the content goes to a temporary file in
// the same folder, is synced and renamed over the old file. A new file gets
// mode 0600, an existing one keeps its mode; a symbolic link keeps pointing at
// the replaced file. A missing folder is created. Returns false, with the old
// file untouched and no temporary file left, when any step fails.
bool ReplaceWholeFile(const std::string& path, std::string_view content);

}  // namespace olmira
