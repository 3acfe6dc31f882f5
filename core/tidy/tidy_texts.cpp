#include "tidy/tidy_texts.h"

#include <charconv>
#include <cstdint>

#include "copy/box_figures.h"
#include "copy/name_pattern.h"

namespace olmira {

namespace {

// A question about several entries names this many of them.
constexpr std::size_t kNamedEntries = 5;

std::int64_t ListedKB(const ListEntry& entry) {
    std::int64_t kB = 0;
    std::from_chars(entry.size.data(), entry.size.data() + entry.size.size(), kB);
    return kB;
}

// The first entries one a line, as the list shows them, then how many more:
// a slip of the mouse shows before anything is gone.
std::string NamedEntries(const std::vector<ListEntry>& entries) {
    std::string names;
    for (std::size_t i = 0; i < entries.size() && i < kNamedEntries; ++i) {
        names += "\n" + Quoted(entries[i].caption);
    }
    if (entries.size() > kNamedEntries) {
        names += "\nund " + std::to_string(entries.size() - kNamedEntries) + " weitere";
    }
    return names;
}

// A file by its name, a folder with what it holds, several by count and kB
// and their first names.
std::string SelectionQuestion(const std::vector<ListEntry>& entries) {
    if (entries.size() == 1) {
        const ListEntry& entry = entries.front();
        return entry.kind == EntryKind::Folder ? "Den Ordner " + Quoted(BareName(entry.caption)) +
                                                     " mit allem, was er enthält, löschen?"
                                               : Quoted(entry.caption) + " löschen?";
    }
    std::size_t folders = 0;
    std::int64_t filesKB = 0;
    for (const ListEntry& entry : entries) {
        if (entry.kind == EntryKind::Folder) {
            ++folders;
        } else {
            filesKB += ListedKB(entry);
        }
    }
    std::string question = EntriesText(entries.size()) + " löschen";
    if (folders == 0) {
        return question + " (" + GermanSize(filesKB) + ")?" + NamedEntries(entries);
    }
    question += ", davon " + std::to_string(folders) + " Ordner mit ihrem Inhalt";
    if (folders < entries.size()) {
        question += " (Dateien: " + GermanSize(filesKB) + ")";
    }
    return question + "?" + NamedEntries(entries);
}

}  // namespace

std::string Quoted(std::string_view name) {
    return "„" + std::string(name) + "“";
}

std::string EntriesText(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " Eintrag" : " Einträge");
}

std::string DeleteQuestion(const std::vector<ListEntry>& selected, std::size_t infoFiles) {
    std::string question = SelectionQuestion(selected);
    if (infoFiles == 1) {
        question += "\nDie Infodatei wird mitgelöscht.";
    } else if (infoFiles > 1) {
        question += "\nDie " + std::to_string(infoFiles) + " Infodateien werden mitgelöscht.";
    }
    return question;
}

}  // namespace olmira
