#pragma once

#include <signal.h>
#include <sys/resource.h>

namespace olmira::test_support {

// Makes every write beyond the given size fail with EFBIG, for as long as it
// lives. Root ignores file permissions but not this limit, so it is how the
// tests make a write fail halfway.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) : oldHandler_(::signal(SIGXFSZ, SIG_IGN)) {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        rlimit limited = old_;
        limited.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        ::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    decltype(SIG_IGN) oldHandler_;
    rlimit old_{};
};

}  // namespace olmira::test_support
