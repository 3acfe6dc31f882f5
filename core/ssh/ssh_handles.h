#pragma once

#include <libssh/libssh.h>

#include <memory>

namespace olmira {

// libssh's objects, each freed by its own function when its owner goes.
struct SshSessionFree {
    void operator()(ssh_session session) const {
        ssh_disconnect(session);
        ssh_free(session);
    }
};
struct SshChannelFree {
    void operator()(ssh_channel channel) const { ssh_channel_free(channel); }
};
struct SshKeyFree {
    void operator()(ssh_key key) const { ssh_key_free(key); }
};
struct SshStringFree {
    void operator()(char* text) const { ssh_string_free_char(text); }
};
struct SshKnownHostsEntryFree {
    void operator()(ssh_knownhosts_entry* entry) const { ssh_knownhosts_entry_free(entry); }
};

using SshSession = std::unique_ptr<ssh_session_struct, SshSessionFree>;
using SshChannel = std::unique_ptr<ssh_channel_struct, SshChannelFree>;
using SshKey = std::unique_ptr<ssh_key_struct, SshKeyFree>;
using SshText = std::unique_ptr<char, SshStringFree>;
using SshKnownHostsEntry = std::unique_ptr<ssh_knownhosts_entry, SshKnownHostsEntryFree>;

}  // namespace olmira
