#include "front/box_assembly.h"

#include "settings/setup.h"

namespace olmira {

BoxAssembly::BoxAssembly(TSetup& settings, SessionWindow& window, CopyWindow& copyWindow)
    : conversation_(link_, settings.PromptMarker),
      session_(settings, window, link_, conversation_, clock_),
      copy_(settings, session_, window, copyWindow, conversation_) {
    link_.Attach(session_);
    session_.OnConnectionEnded = [this] { copy_.ConnectionEnded(); };
}

BoxAssembly::~BoxAssembly() {
    telnet_.Disconnect();
}

}  // namespace olmira
