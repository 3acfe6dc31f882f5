#include "ssh/ssh_login.h"

#include <vector>

#include "error.h"

namespace olmira {

namespace {

struct Method {
    int flag;
    const char* name;
};

constexpr Method kMethods[] = {
    {SSH_AUTH_METHOD_PUBLICKEY, "Schlüssel"},
    {SSH_AUTH_METHOD_PASSWORD, "Passwort"},
    {SSH_AUTH_METHOD_INTERACTIVE, "Tastatureingabe"},
};

std::string Listed(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) {
        text += (text.empty() ? "" : ", ") + name;
    }
    return text.empty() ? "keine" : text;
}

// Each prompt that hides its answer gets the password; others stay empty.
int AnswerPrompts(ssh_session session, const std::string& password) {
    int result = ssh_userauth_kbdint(session, nullptr, nullptr);
    for (int round = 0; result == SSH_AUTH_INFO && round < 5; ++round) {
        const int prompts = ssh_userauth_kbdint_getnprompts(session);
        for (int i = 0; i < prompts; ++i) {
            char echo = 0;
            ssh_userauth_kbdint_getprompt(session, static_cast<unsigned>(i), &echo);
            ssh_userauth_kbdint_setanswer(session, static_cast<unsigned>(i),
                                          echo != 0 ? "" : password.c_str());
        }
        result = ssh_userauth_kbdint(session, nullptr, nullptr);
    }
    return result;
}

int Try(ssh_session session, int method, const std::string& password) {
    switch (method) {
        case SSH_AUTH_METHOD_PUBLICKEY:
            return ssh_userauth_publickey_auto(session, nullptr, nullptr);
        case SSH_AUTH_METHOD_PASSWORD:
            return ssh_userauth_password(session, nullptr, password.c_str());
        default:
            return AnswerPrompts(session, password);
    }
}

}  // namespace

void LogIn(ssh_session session, const std::string& user, const std::string& password) {
    int result = ssh_userauth_none(session, nullptr);
    std::vector<std::string> offered;
    std::vector<std::string> tried;
    for (const Method& method : kMethods) {
        if (result == SSH_AUTH_SUCCESS || result == SSH_AUTH_ERROR) {
            break;
        }
        // The list may change after a partial success.
        if ((ssh_userauth_list(session, nullptr) & method.flag) == 0) {
            continue;
        }
        offered.emplace_back(method.name);
        if (method.flag != SSH_AUTH_METHOD_PUBLICKEY && password.empty()) {
            continue;
        }
        tried.emplace_back(method.name);
        result = Try(session, method.flag, password);
    }
    if (result == SSH_AUTH_SUCCESS) {
        return;
    }
    if (result == SSH_AUTH_ERROR) {
        throw Error("Anmeldung an der Box über SSH gescheitert: " +
                    std::string(ssh_get_error(session)));
    }
    throw Error("Die Box hat die Anmeldung als " + user + " über SSH abgelehnt.\nAngeboten: " +
                Listed(offered) + "; versucht: " + Listed(tried) +
                (password.empty() ? " (in den Einstellungen steht kein Passwort)" : "") + ".");
}

}  // namespace olmira
