#pragma once

#include <atomic>
#include <mutex>
#include <string_view>

#include "telnet/unique_fd.h"

namespace olmira {

// The connected socket, shared by the channel (UI thread) and its reader.
// Closing only shuts it down: the descriptor itself is released when the
// last holder lets go, so no thread ever polls a number that was reused.
class TelnetSocket {
public:
    explicit TelnetSocket(UniqueFd fd) : fd_(std::move(fd)) {}

    int Fd() const { return fd_.Get(); }
    bool Closed() const { return closed_; }
    // Whether the box takes our bytes as binary, as the reader has agreed
    // with it: then no byte and no line end is changed on its way.
    bool BinaryInput() const { return binaryInput_; }
    void SetBinaryInput(bool binary) { binaryInput_ = binary; }
    // Marks the connection closed and shuts it down both ways, which also
    // wakes a thread waiting on it.
    void Close();

    // Writes all bytes under the lock both threads share, so command lines
    // and negotiation answers never interleave on the wire. Throws
    // olmira::Error; a connection that is gone is closed first.
    void WriteAll(std::string_view bytes);

private:
    [[noreturn]] void FailWrite(int error);

    UniqueFd fd_;
    std::atomic<bool> closed_{false};
    std::atomic<bool> binaryInput_{false};
    std::mutex writeMutex_;
};

}  // namespace olmira
