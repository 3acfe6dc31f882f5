#pragma once

#include <atomic>
#include <exception>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

#include "handover/hand_over_thread.h"
#include "ssh/host_key.h"
#include "ssh/ssh_handles.h"
#include "telnet/channel_worker.h"
#include "telnet/cursor_query.h"
#include "telnet/unique_fd.h"

namespace olmira {

// Where and as whom a connection logs in.
struct SshTarget {
    std::string host;
    int port = 22;
    std::string user;
    std::string password;
    // The program's own known-hosts file, in OpenSSH's format.
    std::string knownHosts;
    // How long the key exchange, the login and each step of opening the
    // shell may take: a box that accepts the connection and then says
    // nothing ends in a message instead of a wait without end.
    long stepTimeoutSeconds = 10;
};

// One SSH connection to the box on a thread of its own: the connect, the
// box's key checked, the login and a shell on a "dumb" terminal, then the
// shell's output handed to the UI thread block by block, in order, and the
// lines queued by the UI thread written out. libssh's session is only ever
// used on this thread. Starts when created.
class SshConnection final : public ChannelWorker {
public:
    // Each runs on the UI thread.
    struct Calls {
        // Once: nullptr when the shell is ready, or why there is none.
        std::function<void(std::exception_ptr error)> connected;
        std::function<void(const std::string& block)> received;
        // The box or the network ended the connection after it was made.
        std::function<void()> ended;
        TrustNewKey trustNewKey;
    };

    SshConnection(UiHandOver& handOver, SshTarget target, Calls calls);

    void RequestStop() override;
    bool InHandOver() const override { return thread_.InHandOver(); }
    void Join() override { thread_.Join(); }

    // UI thread: the bytes go out after those queued before.
    void Send(std::string_view bytes);
    bool Established() const { return established_; }
    bool Ended() const { return ended_; }

private:
    void Execute();
    void Establish();
    void OpenShell();
    void Pump();
    void Flush();
    void WriteAll(std::string_view bytes);
    void AwaitWork();
    void Wake();
    // On the UI thread unless a stop was asked for meanwhile.
    void OnUi(const std::function<void()>& call);

    const SshTarget target_;
    const Calls calls_;
    const UniqueFd wake_;
    std::atomic<bool> stopRequested_{false};
    std::atomic<bool> established_{false};
    std::atomic<bool> ended_{false};
    // The socket, for a stop to cut a wait in libssh short; -1 once gone.
    std::mutex socketMutex_;
    int socket_ = -1;
    std::mutex outgoingMutex_;
    std::string outgoing_;
    SshSession session_;
    SshChannel channel_;
    CursorQueryScanner cursorQueries_;
    HandOverThread thread_;  // last: the thread runs on everything above
};

}  // namespace olmira
