#pragma once

#include <optional>
#include <string>

#include "session/pane.h"

namespace olmira {

// Everything deleting, renaming, making folders and the properties do to the
// main window beyond the session's operations. Texts are bytes as in
// SessionWindow: the program's own are UTF-8, names from the box as listed.
class TidyWindow {
public:
    virtual ~TidyWindow() = default;

    // The delete question: "Löschen" and "Abbrechen", "Abbrechen" the
    // default and Esc; true for "Löschen".
    virtual bool AskDelete(const std::string& text) = 0;
    // An input box with title, a prompt and the name preset (the old name
    // when renaming, empty for a new folder); nullopt when cancelled. The
    // name comes back as UTF-8 bytes.
    virtual std::optional<std::string> AskName(const std::string& title, const std::string& prompt,
                                               const std::string& preset) = 0;
    // An entry's properties, one fact per line, in a message box.
    virtual void ShowProperties(const std::string& title, const std::string& text) = 0;
    // Beside the pane's folder label: "frei: 212,5 GB"; empty shows nothing.
    virtual void SetFreeSpaceText(Pane pane, const std::string& text) = 0;
};

}  // namespace olmira
