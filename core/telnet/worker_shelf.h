#pragma once

#include <memory>
#include <vector>

#include "telnet/channel_worker.h"

namespace olmira {

// Ends a channel's workers on the UI thread. A worker ended from inside one
// of its own hand-overs cannot be joined there; it waits on the shelf until
// that call has returned.
class WorkerShelf {
public:
    // Asks the worker in slot to stop and joins it, or shelves it; the slot
    // is empty afterwards.
    void End(std::unique_ptr<ChannelWorker>& slot);
    // Joins the shelved workers whose hand-over has returned.
    void JoinIdle();

private:
    std::vector<std::unique_ptr<ChannelWorker>> retired_;
};

}  // namespace olmira
