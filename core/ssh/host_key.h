#pragma once

#include <libssh/libssh.h>

#include <functional>
#include <string>

namespace olmira {

// Asked about a box whose key is not stored yet, with the question to put
// to the user: true to trust and store the key.
using TrustNewKey = std::function<bool(const std::string& question)>;

// "SHA256:..." of a public key, as OpenSSH shows it.
std::string KeyFingerprint(ssh_key key);

// The question for a box's first key, naming its fingerprint.
std::string NewKeyQuestion(const std::string& host, const std::string& fingerprint);
// The refusal of a key that differs from the stored one, with both
// fingerprints and how to accept a new key on purpose.
std::string ChangedKeyMessage(const std::string& host, const std::string& stored,
                              const std::string& offered);

// Checks the connected session's server key against knownHosts, the file
// the session names (SSH_OPTIONS_KNOWNHOSTS): a known key passes, a new one
// passes and is stored if trust says so, a changed one never passes.
// Throws olmira::Error with the message to show otherwise.
void VerifyHostKey(ssh_session session, const std::string& host, int port,
                   const std::string& knownHosts, const TrustNewKey& trust);

}  // namespace olmira
