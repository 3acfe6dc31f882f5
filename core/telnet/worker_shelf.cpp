#include "telnet/worker_shelf.h"

#include <algorithm>

namespace olmira {

void WorkerShelf::End(std::unique_ptr<ChannelWorker>& slot) {
    // Taken out of its slot first: calls served while we wait may refill it.
    auto worker = std::move(slot);
    if (!worker) {
        return;
    }
    worker->RequestStop();
    if (worker->InHandOver()) {
        retired_.push_back(std::move(worker));
        return;
    }
    worker->Join();
}

void WorkerShelf::JoinIdle() {
    for (;;) {
        const auto idle = std::find_if(retired_.begin(), retired_.end(),
                                       [](const auto& worker) { return !worker->InHandOver(); });
        if (idle == retired_.end()) {
            return;
        }
        auto worker = std::move(*idle);
        retired_.erase(idle);
        worker->Join();
    }
}

}  // namespace olmira
