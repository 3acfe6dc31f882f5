#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "conversation/reply_lines.h"

namespace olmira {

// A file system's space as `df -k PATH` reports it, in kB.
struct DiskSpace {
    std::int64_t totalKB = 0;
    std::int64_t freeKB = 0;  // the "Available" column
};

// The figures of the file system in the reply lines of `df -k PATH`: the
// header line ("Filesystem 1K-blocks Used Available Use% Mounted on", from
// coreutils; busybox pads differently), then one data line, or - when the
// device name is long - the device alone on one line and the figures on the
// next. Other lines (the echo of the command, the prompt, error lines like
// "df: /x: No such file or directory") are ignored. nullopt when no figures
// are found.
std::optional<DiskSpace> ParseDiskSpace(const ReplyLines& lines);

// The type of the file system that holds path (an absolute path on the box),
// from the lines of the box's /proc/mounts ("device mountpoint type options 0 0";
// blanks etc. in mount points stand as octal escapes like \040): the entry
// with the longest mount point that is path itself or a parent folder of it
// (a mount point "/var/media/usb" holds "/var/media/usb/x" but not
// "/var/media/usb2/x"); a later line for the same mount point wins (it is
// mounted over the earlier). Empty when no line holds it.
std::string FileSystemType(const ReplyLines& lines, std::string_view path);

// Whether a file system type cannot hold files of 4 GiB or more: vfat, msdos, fat.
bool IsFatFileSystem(std::string_view type);

// The first figure of a `du` reply line ("11720\t/var/media/hdd/x" or with
// blanks), for `du -sk` (kB) and `du -sbL` (bytes); the echo and prompt lines
// don't start with a digit. nullopt when no line starts with a number
// followed by a tab or blank.
std::optional<std::int64_t> ParseDuFigure(const ReplyLines& lines);

// The line that ends each command's output where several du commands share
// one line, so that one round trip measures many entries.
inline constexpr std::string_view kSizeEnd = "olmirafm-du";
// The output of each of those commands, in their order, without the echo;
// fewer parts when the reply was cut short.
std::vector<ReplyLines> SizeReplies(const ReplyLines& lines);

// The kB that the reply of DiskUsagesCommand(paths) gives for each of
// paths, in their order; nullopt for a path it gave no line for (du named
// it in a message instead).
std::vector<std::optional<std::int64_t>> ParseDuFigures(const ReplyLines& lines,
                                                        const std::vector<std::string>& paths);

// A count that `wc -l` printed: a line of digits alone (busybox may pad it
// with blanks). nullopt when none.
std::optional<std::int64_t> ParseCount(const ReplyLines& lines);

// A number with German thousands separators: 4812 -> "4.812", 11720 ->
// "11.720", -1234567 -> "-1.234.567", 0 -> "0".
std::string GermanThousands(std::int64_t value);

// A size in kB as users read it, steps of 1024 with one German decimal:
// 512 -> "512 kB", 23961 -> "23,4 MB", 222822400 -> "212,5 GB", and "TB"
// from 1024 GB on.
std::string GermanSize(std::int64_t kB);

}  // namespace olmira
