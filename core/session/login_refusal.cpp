#include "session/login_refusal.h"

#include "session/listing.h"

namespace olmira {

namespace {

constexpr std::string_view kLoginIncorrect = "Login incorrect";

bool IsLoginPrompt(std::string_view line) {
    return Trim(line).ends_with("login:");
}

}  // namespace

std::optional<std::string> LoginRefusal(const ReplyLines& lines, std::string_view openLine) {
    for (const std::string_view line : lines) {
        if (Trim(line).starts_with(kLoginIncorrect)) {
            return std::string(Trim(line));
        }
    }
    if (IsLoginPrompt(openLine)) {
        return std::string();
    }
    return std::nullopt;
}

}  // namespace olmira
