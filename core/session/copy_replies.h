#pragma once

namespace olmira {

// Whoever runs copies on the box: the session hands it the replies of the
// copy states and tells it when the connection has ended.
class CopyReplies {
public:
    virtual ~CopyReplies() = default;
    virtual void HandleCopyStarted() = 0;
    virtual void HandleCopyProgress() = 0;
    // Disconnect, exit or a lost connection; the window shows the
    // disconnected look already.
    virtual void ConnectionEnded() = 0;
};

}  // namespace olmira
