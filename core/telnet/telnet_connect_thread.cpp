#include "telnet/telnet_connect_thread.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "telnet/socket_error.h"

namespace olmira {
namespace {

UniqueFd MakeCancelEvent() {
    UniqueFd event(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
    if (!event.Valid()) {
        throw SocketError(errno);
    }
    return event;
}

}  // namespace

TelnetConnectThread::TelnetConnectThread(UiHandOver& handOver, Open open, Outcome outcome)
    : open_(std::move(open)),
      outcome_(std::move(outcome)),
      cancel_(MakeCancelEvent()),
      thread_(handOver, [this] { Execute(); }) {}

void TelnetConnectThread::RequestStop() {
    cancelled_ = true;
    const std::uint64_t one = 1;
    // Cannot fail short of a full counter, which a few requests never reach.
    [[maybe_unused]] const auto written = ::write(cancel_.Get(), &one, sizeof one);
}

void TelnetConnectThread::Execute() {
    UniqueFd socket;
    std::exception_ptr error;
    try {
        socket = open_(cancel_.Get());
    } catch (...) {
        error = std::current_exception();
    }
    if (cancelled_) {
        return;
    }
    try {
        // Checked again on the UI thread: a cancel that came after the
        // connect finished still wins.
        thread_.RunOnUi([&] {
            if (!cancelled_) {
                outcome_(std::move(socket), error);
            }
        });
    } catch (...) {
        // What the outcome handler threw has nowhere else to go.
    }
}

}  // namespace olmira
