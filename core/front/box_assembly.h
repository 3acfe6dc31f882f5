#pragma once

#include "conversation/conversation.h"
#include "conversation/telnet_link.h"
#include "conversation/tick_clock.h"
#include "copy/copy_controller.h"
#include "front/way_in.h"
#include "handover/ui_hand_over.h"
#include "session/box_session.h"
#include "ssh/ssh_link.h"
#include "telnet/telnet_channel.h"
#include "tidy/tidy_controller.h"

namespace olmira {

struct TSetup;
class SessionWindow;
class CopyWindow;
class TidyWindow;

// Everything between a front and the box, wired the same way for the window
// and the console: the Telnet and SSH channels and their hand-over, the conversation,
// the session, the copy and the tidying. A front gives its window interfaces, serves the
// hand-over on its own event loop and runs the two timers.
class BoxAssembly {
public:
    // settings and the windows must outlive the assembly.
    BoxAssembly(TSetup& settings, SessionWindow& window, CopyWindow& copyWindow,
                TidyWindow& tidyWindow);
    // Hangs up first: the reader may be handing a block over right now, and
    // it has to be served while the session still exists.
    ~BoxAssembly();
    BoxAssembly(const BoxAssembly&) = delete;
    BoxAssembly& operator=(const BoxAssembly&) = delete;

    UiHandOver& HandOver() { return handOver_; }
    BoxSession& Session() { return session_; }
    CopyController& Copier() { return copy_; }
    TidyController& Tidy() { return tidy_; }
    const Conversation& Talk() const { return conversation_; }

private:
    // The hand-over outlives the channel, whose threads hand calls over to
    // the event loop until the channel is gone.
    UiHandOver handOver_;
    TTelnetChannel telnet_{handOver_};
    TelnetLink link_{telnet_};
    SshLink ssh_{handOver_};
    WayIn way_;
    SystemTickClock clock_;
    Conversation conversation_;
    BoxSession session_;
    CopyController copy_;
    TidyController tidy_;
};

}  // namespace olmira
