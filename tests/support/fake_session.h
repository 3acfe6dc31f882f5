#pragma once

#include "conversation/conversation.h"
#include "copy/copy_controller.h"
#include "fake_box.h"
#include "front/headless_window.h"
#include "session/box_session.h"
#include "settings/setup.h"
#include "tidy/tidy_controller.h"

namespace olmira {

// A session with its copy and tidying, wired as the fronts wire them, on a fake channel
// and clock: the test plays the box.
struct FakeSession {
    FakeSession() {
        channel.session = &session;
        session.OnConnectionEnded = [this] {
            copy.ConnectionEnded();
            tidy.ConnectionEnded();
        };
        session.OnListed = [this](Pane pane) { tidy.Listed(pane); };
        tidy.CopyRunning = [this] { return !copy.Accepting(); };
        tidy.JobUsing = [this](const std::string& path) { return copy.JobUsing(path); };
        copy.TidyBusy = [this] { return tidy.Busy(); };
    }
    FakeSession(const FakeSession&) = delete;
    FakeSession& operator=(const FakeSession&) = delete;

    TSetup settings;
    HeadlessWindow window;
    FakeChannel channel;
    FakeClock clock;
    Conversation conversation{channel, settings.PromptMarker};
    BoxSession session{settings, window, channel, conversation, clock};
    CopyController copy{settings, session, window, window, conversation};
    TidyController tidy{settings, session, window, window, conversation};
};

}  // namespace olmira
