#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "conversation/reply_lines.h"

namespace olmira {

// Whether what the box said after the password refuses the login: most
// logins answer a wrong password with "Login incorrect" and ask again
// ("box login: ") instead of hanging up. The box's words when it does, or
// an empty text when it only asked again; nullopt while nothing says so.
std::optional<std::string> LoginRefusal(const ReplyLines& lines, std::string_view openLine);

}  // namespace olmira
