#include "tidy/box_path.h"

#include <algorithm>
#include <vector>

#include "copy/name_pattern.h"

namespace olmira {

namespace {

bool IsControl(char c) {
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7f;
}

bool HasControl(std::string_view text) {
    return std::any_of(text.begin(), text.end(), IsControl);
}

bool IsDotName(std::string_view part) {
    return part == "." || part == "..";
}

// A path shown in a message keeps to one line.
std::string Shown(std::string_view path) {
    std::string shown(path);
    std::replace_if(shown.begin(), shown.end(), IsControl, '?');
    return shown;
}

// The parts between the slashes; a folder's final "/" adds none.
std::vector<std::string_view> Parts(std::string_view path) {
    if (path.ends_with('/')) {
        path.remove_suffix(1);
    }
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t slash = path.find('/', start);
        parts.push_back(path.substr(start, slash - start));
        if (slash == std::string_view::npos) {
            return parts;
        }
        start = slash + 1;
    }
}

}  // namespace

std::optional<std::string> PathRefusal(std::string_view path, PathUse use) {
    if (path.empty()) {
        return "Kein Pfad angegeben.";
    }
    const std::vector<std::string_view> parts = Parts(path);
    if (path.starts_with('/') || IsDotName(parts.front())) {
        return "Nur Pfade auf einem Laufwerk unter /var/media sind erlaubt: " + Shown(path);
    }
    if (HasControl(path)) {
        return "Pfade mit Steuerzeichen werden nicht angefasst: " + Shown(path);
    }
    if (std::any_of(parts.begin(), parts.end(), IsDotName)) {
        return "Pfade mit „.“ oder „..“ werden nicht angefasst: " + Shown(path);
    }
    if (std::any_of(parts.begin(), parts.end(),
                    [](std::string_view part) { return part.empty(); })) {
        return "Pfade mit leerem Teil („//“) werden nicht angefasst: " + Shown(path);
    }
    if (use == PathUse::Change && parts.size() == 1) {
        return "Ein Laufwerk selbst wird nicht gelöscht, umbenannt oder verschoben: " + Shown(path);
    }
    return std::nullopt;
}

std::optional<std::string> NameRefusal(std::string_view name, const EntryList& entries) {
    if (name.empty()) {
        return "Der Name darf nicht leer sein.";
    }
    if (IsDotName(name)) {
        return "Der Name „" + std::string(name) + "“ ist nicht erlaubt.";
    }
    if (name.find('/') != std::string_view::npos) {
        return "Der Name darf kein „/“ enthalten.";
    }
    if (HasControl(name)) {
        return "Der Name darf keine Steuerzeichen wie Zeilenumbrüche enthalten.";
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (IsFolderOrFile(entries.Kind(i)) && BareName(entries.Caption(i)) == name) {
            return "„" + std::string(name) + "“ gibt es in diesem Ordner schon.";
        }
    }
    return std::nullopt;
}

std::optional<std::string> RenameRefusal(std::string_view newName, std::string_view caption,
                                         const EntryList& entries) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string_view other = entries.Caption(i);
        if (IsFolderOrFile(entries.Kind(i)) && other != caption && ListedAs(newName, other)) {
            return "„" + std::string(newName) +
                   "“ gibt es in diesem Ordner womöglich schon: die Box zeigt „" +
                   std::string(BareName(other)) + "“.";
        }
    }
    return std::nullopt;
}

}  // namespace olmira
