#include "error_guard.h"

#include <exception>

#include "message_boxes.h"
#include "text_codec.h"

std::string ErrorBoxText(std::string text) {
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') {
        text += '.';
    }
    return text;
}

void ErrorGuard::Run(const std::function<void()>& handler) const {
    try {
        handler();
    } catch (const std::exception& error) {
        ShowError(error.what());
    } catch (...) {
        ShowError("Unbekannter Fehler");
    }
}

void ErrorGuard::ShowError(const std::string& text) const {
    boxes_.Show(&parent_, kApplicationTitle, QMessageBox::Critical, DecodeText(ErrorBoxText(text)));
}
