#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "telnet/unique_fd.h"

// A stand-in for the box that only listens: accepts one connection on port
// 23 of address and keeps every byte the program sends until the program
// closes it. Unlike the box's Telnet service it never drops what arrived
// just before the close.
class ListeningBox {
public:
    explicit ListeningBox(const char* address);
    ~ListeningBox();
    ListeningBox(const ListeningBox&) = delete;
    ListeningBox& operator=(const ListeningBox&) = delete;

    // What the program sent, once it has closed the connection; nothing if
    // it did not close it within timeout.
    std::optional<std::string> ReceivedUntilClosed(std::chrono::milliseconds timeout);

private:
    void Serve(int listener);
    bool WaitReadable(int fd) const;

    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::condition_variable closed_;
    std::string received_;
    bool connectionClosed_ = false;
    std::thread server_;
};

// A host on address whose port 23 takes no further connection: its queue of
// one is already full, so a connection attempt hangs unanswered.
class FullHost {
public:
    explicit FullHost(const char* address);

private:
    olmira::UniqueFd listener_;
    olmira::UniqueFd queued_;
};
