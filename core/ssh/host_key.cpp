#include "ssh/host_key.h"

#include "error.h"
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

std::string StoredFingerprint(ssh_session session) {
    ssh_knownhosts_entry* entry = nullptr;
    if (ssh_session_get_known_hosts_entry(session, &entry) == SSH_KNOWN_HOSTS_ERROR ||
        entry == nullptr) {
        return "unbekannt";
    }
    const SshKnownHostsEntry owned(entry);
    return owned->publickey != nullptr ? KeyFingerprint(owned->publickey) : "unbekannt";
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

void VerifyHostKey(ssh_session session, const std::string& host, const TrustNewKey& trust) {
    const std::string offered = KeyFingerprint(ServerKey(session).get());
    switch (ssh_session_is_known_server(session)) {
        case SSH_KNOWN_HOSTS_OK:
            return;
        case SSH_KNOWN_HOSTS_CHANGED:
        case SSH_KNOWN_HOSTS_OTHER:
            throw Error(ChangedKeyMessage(host, StoredFingerprint(session), offered));
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
