#include "tidy/outcome_check.h"

#include <algorithm>
#include <iterator>

#include "copy/copy_progress.h"
#include "copy/name_pattern.h"
#include "tidy/tidy_texts.h"

namespace olmira {

namespace {

// Captions, each as often as the listing has it.
using Captions = std::vector<std::string>;

Captions FoldersAndFiles(const EntryList& entries) {
    Captions captions;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (IsFolderOrFile(entries.Kind(i))) {
            captions.emplace_back(entries.Caption(i));
        }
    }
    return captions;
}

bool IsFolderCaption(std::string_view caption) {
    return caption.ends_with('/');
}

// Takes the first caption that fits out of captions.
template <class Fits>
std::optional<std::string> Take(Captions& captions, Fits fits) {
    const auto found = std::find_if(captions.begin(), captions.end(), fits);
    if (found == captions.end()) {
        return std::nullopt;
    }
    std::string caption = std::move(*found);
    captions.erase(found);
    return caption;
}

// The entries after has that before, without what the change took away, had not.
Captions Added(const NamesCheck& check, const EntryList& after) {
    Captions before = FoldersAndFiles(*check.before);
    for (const std::string& gone : check.gone) {
        Take(before, [&gone](const std::string& caption) { return ListedAs(gone, caption); });
    }
    Captions added = FoldersAndFiles(after);
    for (const std::string& kept : before) {
        Take(added, [&kept](const std::string& caption) { return caption == kept; });
    }
    return added;
}

std::string_view Extension(std::string_view name) {
    const std::size_t dot = BareName(name).rfind('.');
    return dot == std::string_view::npos ? std::string_view() : BareName(name).substr(dot);
}

// The new entries of asked's kind, those with its extension when there are
// such: a recording's info file is renamed with it.
std::string Instead(const AskedName& asked, const Captions& added) {
    Captions shown;
    std::copy_if(added.begin(), added.end(), std::back_inserter(shown),
                 [&asked](const std::string& caption) {
                     return IsFolderCaption(caption) == (asked.kind == EntryKind::Folder);
                 });
    const auto sameExtension = [&asked](const std::string& caption) {
        return Extension(caption) == Extension(asked.name);
    };
    if (std::any_of(shown.begin(), shown.end(), sameExtension)) {
        std::erase_if(shown, [&sameExtension](const std::string& c) { return !sameExtension(c); });
    }
    if (shown.empty()) {
        return "; die Box zeigt keinen neuen Eintrag.";
    }
    for (std::string& caption : shown) {
        caption = Quoted(BareName(caption));
    }
    return "; die Box zeigt " + Joined(shown, ", ") + ".";
}

}  // namespace

CheckedNames CheckNames(const NamesCheck& check, const EntryList& after) {
    Captions added = Added(check, after);
    CheckedNames checked;
    std::vector<const AskedName*> missing;
    for (const AskedName& asked : check.asked) {
        std::optional<std::string> caption = Take(added, [&asked](const std::string& listed) {
            return IsFolderCaption(listed) == (asked.kind == EntryKind::Folder) &&
                   ListedAs(asked.name, listed);
        });
        if (!caption) {
            missing.push_back(&asked);
        } else if (&asked == &check.asked.front()) {
            checked.caption = std::move(caption);
        }
    }
    for (const AskedName* asked : missing) {
        checked.problems.push_back(asked->notDone + Instead(*asked, added));
    }
    return checked;
}

}  // namespace olmira
