#pragma once

namespace olmira {

// Something the channel runs on a thread of its own and must end before it
// goes away. All three calls are for the UI thread.
class ChannelWorker {
public:
    virtual ~ChannelWorker() = default;
    virtual void RequestStop() = 0;
    // True while one of the worker's hand-overs runs further up the UI
    // thread's stack: joining it now would wait for ourselves.
    virtual bool InHandOver() const = 0;
    // Serves hand-overs until the thread has ended, then joins it.
    virtual void Join() = 0;
};

}  // namespace olmira
