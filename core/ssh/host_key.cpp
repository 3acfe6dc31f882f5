#include "ssh/host_key.h"

#include "error.h"
#include "settings/whole_file.h"
#include "ssh/known_hosts.h"
#include "ssh/ssh_handles.h"

namespace olmira {

namespace {

SshKey ServerKey(ssh_session session) {
    ssh_key key = nullptr;
    if (ssh_get_server_publickey(session, &key) != SSH_OK) {
        throw Error("Die Box hat keinen Schlüssel gezeigt: " + std::string(ssh_get_error(session)));
    }
    return SshKey(key);
}

// The fingerprints of the keys the file keeps for the box, one after the
// other; libssh tells that a key differs, not which one it had.
std::string StoredFingerprints(const std::string& path, const std::string& pattern) {
    std::string found;
    for (const KnownKey& known : KnownKeys(ReadWholeFile(path).Bytes, pattern)) {
        ssh_key key = nullptr;
        if (ssh_pki_import_pubkey_base64(
                known.base64.c_str(), ssh_key_type_from_name(known.type.c_str()), &key) == SSH_OK) {
            const SshKey owned(key);
            found += (found.empty() ? "" : ", ") + KeyFingerprint(owned.get());
        }
    }
    return found.empty() ? "unbekannt" : found;
}

}  // namespace

std::string KeyFingerprint(ssh_key key) {
    unsigned char* hash = nullptr;
    std::size_t length = 0;
    if (ssh_get_publickey_hash(key, SSH_PUBLICKEY_HASH_SHA256, &hash, &length) != SSH_OK) {
        return "unbekannt";
    }
    char* text = ssh_get_fingerprint_hash(SSH_PUBLICKEY_HASH_SHA256, hash, length);
    ssh_clean_pubkey_hash(&hash);
    const SshText owned(text);
    return owned ? std::string(owned.get()) : "unbekannt";
}

std::string NewKeyQuestion(const std::string& host, const std::string& fingerprint) {
    return "Die Box " + host +
           " ist über SSH noch unbekannt. Ihr Schlüssel hat den Fingerabdruck\n" + fingerprint +
           "\nStimmt er mit dem der Box überein? Dann diesem Schlüssel vertrauen und ihn "
           "speichern?";
}

std::string ChangedKeyMessage(const std::string& host, const std::string& stored,
                              const std::string& offered) {
    return "Der Schlüssel der Box " + host +
           " ist nicht mehr der gespeicherte; die Verbindung wurde abgelehnt.\n"
           "Gespeichert: " +
           stored + "\nJetzt gezeigt: " + offered +
           "\nWurde die Box neu eingerichtet, lässt sich der gespeicherte Schlüssel in den "
           "Einstellungen (Netzwerk, \"Gespeicherten Schlüssel vergessen\") absichtlich "
           "vergessen. Sonst gibt sich vielleicht ein anderes Gerät als die Box aus.";
}

void VerifyHostKey(ssh_session session, const std::string& host, int port,
                   const std::string& knownHosts, const TrustNewKey& trust) {
    const std::string offered = KeyFingerprint(ServerKey(session).get());
    switch (ssh_session_is_known_server(session)) {
        case SSH_KNOWN_HOSTS_OK:
            return;
        case SSH_KNOWN_HOSTS_CHANGED:
        case SSH_KNOWN_HOSTS_OTHER:
            throw Error(ChangedKeyMessage(
                host, StoredFingerprints(knownHosts, HostPattern(host, port)), offered));
        case SSH_KNOWN_HOSTS_UNKNOWN:
        case SSH_KNOWN_HOSTS_NOT_FOUND:
            break;
        case SSH_KNOWN_HOSTS_ERROR:
        default:
            throw Error("Die gespeicherten Schlüssel der Boxen sind nicht lesbar: " +
                        std::string(ssh_get_error(session)));
    }
    if (!trust(NewKeyQuestion(host, offered))) {
        throw Error("Dem Schlüssel der Box " + host + " (" + offered +
                    ") wurde nicht vertraut; keine Verbindung.");
    }
    if (ssh_session_update_known_hosts(session) != SSH_OK) {
        throw Error("Der Schlüssel der Box ließ sich nicht speichern: " +
                    std::string(ssh_get_error(session)));
    }
}

}  // namespace olmira
