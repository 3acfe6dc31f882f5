#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

namespace olmira::bench {

// The name of the index-th recording, as a box's recorder names them: a
// programme's title, of mixed length, then the episode.
inline std::string RecordingName(int index) {
    static constexpr std::array<std::string_view, 8> kTitles = {
        "Tatort",
        "Die Sendung mit der Maus",
        "heute journal",
        "Der Bergdoktor",
        "Terra X - Faszination Erde mit Dirk Steffens",
        "Polizeiruf 110",
        "Sportschau",
        "Ein Fall f\xc3\xbcr zwei - Die fr\xc3\xbchen Jahre",
    };
    char episode[32];
    std::snprintf(episode, sizeof episode, " - Folge %06d.ts", index);
    return std::string(kTitles[static_cast<std::size_t>(index) % kTitles.size()]) + episode;
}

// Fills folder with entries empty recordings, unless it holds them already
// (an earlier benchmark of the same run); one process, no matter how many.
inline void MakeRecordingsFolder(const std::filesystem::path& folder, int entries) {
    std::filesystem::create_directories(folder);
    const auto present = std::distance(std::filesystem::directory_iterator(folder),
                                       std::filesystem::directory_iterator());
    if (present == entries) {
        return;
    }
    for (int i = 0; i < entries; ++i) {
        const int file =
            ::open((folder / RecordingName(i)).c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        if (file < 0) {
            throw std::runtime_error("cannot create recordings in " + folder.string());
        }
        ::close(file);
    }
}

}  // namespace olmira::bench
