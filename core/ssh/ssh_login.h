#pragma once

#include <libssh/libssh.h>

#include <string>

namespace olmira {

// Logs the connected session in as the user its options name: by public
// key first (the user's agent, then the keys in ~/.ssh), then by the
// password from the settings, asked as a password or by keyboard-interactive
// prompts. Throws olmira::Error naming the methods the box offered and
// those tried.
void LogIn(ssh_session session, const std::string& user, const std::string& password);

}  // namespace olmira
