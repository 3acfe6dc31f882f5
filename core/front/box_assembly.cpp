#include "front/box_assembly.h"

#include "session/session_window.h"
#include "settings/setup.h"

namespace olmira {

BoxAssembly::BoxAssembly(TSetup& settings, SessionWindow& window, CopyWindow& copyWindow,
                         TidyWindow& tidyWindow)
    : way_(settings, link_, telnet_, ssh_),
      conversation_(way_, settings.PromptMarker),
      session_(settings, window, way_, conversation_, clock_),
      copy_(settings, session_, window, copyWindow, conversation_),
      tidy_(settings, session_, window, tidyWindow, conversation_) {
    link_.Attach(session_);
    ssh_.Attach(session_);
    ssh_.AskTrust = [&window](const std::string& question) { return window.TrustBoxKey(question); };
    session_.OnConnectionEnded = [this] {
        copy_.ConnectionEnded();
        tidy_.ConnectionEnded();
    };
    session_.OnListed = [this](Pane pane) { tidy_.Listed(pane); };
    tidy_.CopyRunning = [this] { return !copy_.Accepting(); };
    tidy_.JobUsing = [this](const std::string& path) { return copy_.JobUsing(path); };
    copy_.TidyBusy = [this] { return tidy_.Busy(); };
}

BoxAssembly::~BoxAssembly() {
    telnet_.Disconnect();
    ssh_.Disconnect();
}

}  // namespace olmira
