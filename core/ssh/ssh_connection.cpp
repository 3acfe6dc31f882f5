#include "ssh/ssh_connection.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdlib>

#include "error.h"
#include "ssh/ssh_login.h"
#include "telnet/socket_error.h"
#include "telnet/tcp_connect.h"

namespace olmira {

namespace {

constexpr int kColumns = 80;
constexpr int kRows = 24;

std::string SessionError(ssh_session session, const std::string& what) {
    return what + ": " + ssh_get_error(session);
}

void SetOption(ssh_session session, ssh_options_e option, const void* value) {
    if (ssh_options_set(session, option, value) != SSH_OK) {
        throw Error(SessionError(session, "SSH-Einstellung nicht möglich"));
    }
}

}  // namespace

SshConnection::SshConnection(UiHandOver& handOver, SshTarget target, Calls calls)
    : target_(std::move(target)),
      calls_(std::move(calls)),
      wake_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)),
      thread_(handOver, [this] { Execute(); }) {}

void SshConnection::RequestStop() {
    stopRequested_ = true;
    Wake();
    const std::lock_guard lock(socketMutex_);
    if (socket_ >= 0) {
        ::shutdown(socket_, SHUT_RDWR);
    }
}

void SshConnection::Send(std::string_view bytes) {
    {
        const std::lock_guard lock(outgoingMutex_);
        outgoing_.append(bytes);
    }
    Wake();
}

void SshConnection::Wake() {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(wake_.Get(), &one, sizeof one);
}

void SshConnection::OnUi(const std::function<void()>& call) {
    thread_.RunOnUi([this, &call] {
        if (!stopRequested_) {
            call();
        }
    });
}

void SshConnection::Execute() {
    std::exception_ptr error;
    try {
        Establish();
    } catch (...) {
        error = std::current_exception();
    }
    if (error || stopRequested_) {
        ended_ = true;
        if (error && !stopRequested_) {
            OnUi([this, error] { calls_.connected(error); });
        }
        return;
    }
    established_ = true;
    try {
        OnUi([this] { calls_.connected(nullptr); });
        Pump();
    } catch (...) {
        // The connection is over either way; the session hears it below.
    }
    ended_ = true;
    channel_.reset();
    {
        const std::lock_guard lock(socketMutex_);
        socket_ = -1;
    }
    session_.reset();
    try {
        OnUi([this] { calls_.ended(); });
    } catch (...) {
        // Nobody is left to tell.
    }
}

// The TCP connect is ours, so that a stop ends its wait at once; libssh
// takes the socket over and closes it with the session.
void SshConnection::Establish() {
    UniqueFd socket = ConnectTcp(target_.host, target_.port, wake_.Get());
    if (!socket.Valid() || stopRequested_) {
        return;
    }
    session_.reset(ssh_new());
    if (!session_) {
        throw Error("Keine SSH-Sitzung möglich.");
    }
    ssh_session session = session_.get();
    const int verbosity = SSH_LOG_NOLOG;
    const int no = 0;
    SetOption(session, SSH_OPTIONS_LOG_VERBOSITY, &verbosity);
    SetOption(session, SSH_OPTIONS_PROCESS_CONFIG, &no);
    SetOption(session, SSH_OPTIONS_HOST, target_.host.c_str());
    SetOption(session, SSH_OPTIONS_PORT, &target_.port);
    SetOption(session, SSH_OPTIONS_USER, target_.user.c_str());
    SetOption(session, SSH_OPTIONS_KNOWNHOSTS, target_.knownHosts.c_str());
    SetOption(session, SSH_OPTIONS_TIMEOUT, &target_.stepTimeoutSeconds);
    // The keys in ~/.ssh as the user's shell expands "~"; libssh would take
    // the home folder from the password file.
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        SetOption(session, SSH_OPTIONS_SSH_DIR, (std::string(home) + "/.ssh").c_str());
    }
    const socket_t fd = socket.Get();
    SetOption(session, SSH_OPTIONS_FD, &fd);
    {
        const std::lock_guard lock(socketMutex_);
        socket_ = fd;
    }
    socket.Release();  // the session owns it now
    if (ssh_connect(session) != SSH_OK) {
        throw Error(SessionError(session, "Keine SSH-Verbindung zu " + target_.host));
    }
    VerifyHostKey(
        session, target_.host, target_.port, target_.knownHosts,
        [this](const std::string& question) {
            bool trusted = false;
            thread_.RunOnUi([&] { trusted = !stopRequested_ && calls_.trustNewKey(question); });
            return trusted;
        });
    LogIn(session, target_.user, target_.password);
    OpenShell();
}

void SshConnection::OpenShell() {
    ssh_session session = session_.get();
    channel_.reset(ssh_channel_new(session));
    if (!channel_ || ssh_channel_open_session(channel_.get()) != SSH_OK ||
        ssh_channel_request_pty_size(channel_.get(), "dumb", kColumns, kRows) != SSH_OK ||
        ssh_channel_request_shell(channel_.get()) != SSH_OK) {
        throw Error(SessionError(session, "Die Box hat keine Shell geöffnet"));
    }
}

// Everything received is handed over before the next wait, one block a
// pass; the line editor's cursor queries are answered as over Telnet.
void SshConnection::Pump() {
    std::array<char, 32768> chunk{};
    std::string block;
    while (!stopRequested_) {
        Flush();
        int received = 0;
        while ((received = ssh_channel_read_nonblocking(channel_.get(), chunk.data(), chunk.size(),
                                                        0)) > 0) {
            block.append(chunk.data(), static_cast<std::size_t>(received));
        }
        if (!block.empty()) {
            for (int asked = cursorQueries_.Feed(block); asked > 0; --asked) {
                WriteAll(kCursorPositionAnswer);
            }
            OnUi([this, &block] { calls_.received(block); });
            block.clear();
        }
        if (received == SSH_ERROR || ssh_channel_is_eof(channel_.get()) != 0 ||
            ssh_channel_is_closed(channel_.get()) != 0) {
            return;
        }
        AwaitWork();
    }
}

void SshConnection::Flush() {
    std::string bytes;
    {
        const std::lock_guard lock(outgoingMutex_);
        bytes.swap(outgoing_);
    }
    WriteAll(bytes);
}

void SshConnection::WriteAll(std::string_view bytes) {
    while (!bytes.empty()) {
        const int written = ssh_channel_write(channel_.get(), bytes.data(),
                                              static_cast<std::uint32_t>(bytes.size()));
        if (written <= 0) {
            throw Error(SessionError(session_.get(), "Senden an die Box gescheitert"));
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

// Until the box sends, a line is queued or a stop is asked for.
void SshConnection::AwaitWork() {
    std::array<pollfd, 2> waits{
        {{ssh_get_fd(session_.get()), POLLIN, 0}, {wake_.Get(), POLLIN, 0}}};
    while (::poll(waits.data(), waits.size(), -1) < 0) {
        if (errno != EINTR) {
            throw SocketError(errno);
        }
    }
    if ((waits[1].revents & POLLIN) != 0) {
        std::uint64_t count = 0;
        [[maybe_unused]] const ssize_t read = ::read(wake_.Get(), &count, sizeof count);
    }
}

}  // namespace olmira
