#include "handover/hand_over_thread.h"

#include <utility>

namespace olmira {
namespace {

class ScopedFlag {
public:
    explicit ScopedFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~ScopedFlag() { flag_ = false; }
    ScopedFlag(const ScopedFlag&) = delete;
    ScopedFlag& operator=(const ScopedFlag&) = delete;

private:
    bool& flag_;
};

}  // namespace

HandOverThread::HandOverThread(UiHandOver& handOver, std::function<void()> body)
    : handOver_(handOver), thread_([this, body = std::move(body)] {
          body();
          finished_ = true;
          handOver_.Notify();
      }) {}

HandOverThread::~HandOverThread() {
    Join();
}

void HandOverThread::RunOnUi(const UiHandOver::Task& task) {
    handOver_.Run([this, &task] {
        ScopedFlag running(inHandOver_);
        task();
    });
}

void HandOverThread::Join() {
    if (!thread_.joinable()) {
        return;
    }
    handOver_.ServeUntil([this] { return finished_.load(); });
    thread_.join();
}

}  // namespace olmira
