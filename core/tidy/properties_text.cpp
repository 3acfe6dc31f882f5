#include "tidy/properties_text.h"

#include "copy/box_figures.h"
#include "copy/job_plan.h"
#include "copy/name_pattern.h"

namespace olmira {

namespace {

constexpr std::int64_t kBytesPerKB = 1024;

// "1.310.720 Bytes (1,3 MB)"; below a kB the bytes alone.
std::string Bytes(std::int64_t bytes) {
    std::string text = GermanThousands(bytes) + " Bytes";
    if (bytes >= kBytesPerKB) {
        text += " (" + GermanSize(bytes / kBytesPerKB) + ")";
    }
    return text;
}

std::string Files(std::int64_t files) {
    return GermanThousands(files) + (files == 1 ? " Datei" : " Dateien");
}

}  // namespace

std::string PropertiesText(const EntryProperties& properties) {
    // "hdd/Filme/Konzert.ts" or "hdd/Filme/": the last part names it, the
    // rest is where it lies; a drive lies nowhere.
    const std::string_view path = BareName(properties.path);
    const std::size_t slash = path.rfind('/');
    const std::string_view place =
        slash == std::string_view::npos ? std::string_view() : path.substr(0, slash + 1);
    std::string text = "Name: " + std::string(path.substr(place.size()));
    if (!place.empty()) {
        text += "\nOrt: " + std::string(place);
    }
    if (properties.status && !properties.folder) {
        text += "\nGröße: " + Bytes(properties.status->bytes);
    }
    if (properties.contentBytes && properties.contentFiles) {
        text +=
            "\nInhalt: " + Files(*properties.contentFiles) + ", " + Bytes(*properties.contentBytes);
    }
    if (properties.status) {
        text += "\nGeändert: " + GermanDate(properties.status->modified);
    }
    if (properties.drive) {
        text += "\nLaufwerk " + std::string(DriveOf(properties.path)) + ": " +
                GermanSize(properties.drive->freeKB) + " frei von " +
                GermanSize(properties.drive->totalKB);
    }
    for (const std::string& message : properties.messages) {
        text += "\n" + message;
    }
    return text;
}

}  // namespace olmira
