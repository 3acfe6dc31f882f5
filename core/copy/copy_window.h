#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace olmira {

// What the progress window shows when it opens.
struct CopyProgressStart {
    std::string source;  // source folder and entry name, below the media root
    std::string dest;    // destination folder
    std::int64_t sizeKB = 0;
};

// One poll's values, over the whole job; bar may lie outside 0 to 100, the
// window keeps it inside. A job of several entries also names the current
// one: item is its name, source its folder and name below the media root,
// and it is entry itemNumber (from 1) of itemCount; itemCount is 0 for a
// job of one entry.
struct CopyProgressUpdate {
    std::int64_t transferredKB = 0;
    std::int64_t bar = 0;
    // Unknown until the copying between two polls is.
    std::optional<std::int64_t> rateKBs;
    std::string item;
    std::string source;
    std::size_t itemNumber = 0;
    std::size_t itemCount = 0;
};

// The answers to the overwrite question of a job of several entries.
enum class OverwriteAnswer { Yes, YesToAll, No, NoToAll };

// Everything the copy does to the main window beyond the session's
// operations: the progress window, the panel of both panes, a question and
// a one-shot timer whose expiry calls CopyController::CopyTimerTimer.
class CopyWindow {
public:
    virtual ~CopyWindow() = default;

    virtual void ShowProgressWindow(const CopyProgressStart& start) = 0;
    virtual void UpdateProgressWindow(const CopyProgressUpdate& update) = 0;
    virtual void CloseProgressWindow() = 0;

    // panelMain, which holds both panes; the main tool bar stays usable.
    virtual void SetMainPanelEnabled(bool enabled) = 0;

    // A question with "&Ja" and "&Nein", "Nein" the default; true for "Ja".
    virtual bool AskYesNo(const std::string& text) = 0;
    // The overwrite question of a job of several entries: "&Ja", "Ja, &alle",
    // "&Nein" and "N&ein, alle", "Nein" the default.
    virtual OverwriteAnswer AskOverwrite(const std::string& text) = 0;

    // A job in the background has ended: title and what became of it.
    virtual void TellJobEnded(const std::string& title, const std::string& text) = 0;

    virtual void StartCopyTimer(int milliseconds) = 0;
    virtual void StopCopyTimer() = 0;
};

}  // namespace olmira
