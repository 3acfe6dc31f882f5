#include "session/headless_session.h"

#include <chrono>

#include "error.h"

namespace olmira {

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kTimerPeriod = std::chrono::milliseconds(250);

}  // namespace

HeadlessSession::HeadlessSession(TSetup settings) : settings_(std::move(settings)) {
    link_.Attach(session_);
}

HeadlessSession::~HeadlessSession() = default;

void HeadlessSession::ThrowIfFailed() {
    if (!window_.errors.empty()) {
        throw Error(window_.errors.front());
    }
    if (!window_.messages.empty()) {
        throw Error(window_.messages.front());
    }
}

void HeadlessSession::RunUntil(const std::function<bool()>& done, const char* waitingFor,
                               std::chrono::milliseconds patience) {
    const auto deadline = Clock::now() + patience;
    auto nextTick = Clock::now() + kTimerPeriod;
    while (!done()) {
        ThrowIfFailed();
        if (connected_ && window_.connectImage == 0 && !session_.Connecting()) {
            throw Error("Verbindung zur Box wurde getrennt");
        }
        if (Clock::now() > deadline) {
            throw Error(std::string("Keine Antwort der Box: ") + waitingFor);
        }
        handOver_.ServeFor(
            std::chrono::duration_cast<std::chrono::milliseconds>(nextTick - Clock::now()));
        if (Clock::now() >= nextTick) {
            nextTick += kTimerPeriod;
            if (window_.timerRunning) {
                session_.TimerTimer();
            }
        }
    }
    ThrowIfFailed();
}

void HeadlessSession::LogIn() {
    session_.tbConnectClick();
    RunUntil([this] { return window_.connectImage == 1; }, "Verbindung");
    connected_ = true;
    RunUntil([this] { return window_.View(Source).enabled; }, "Liste der Laufwerke");
}

std::vector<std::string> HeadlessSession::Drives() {
    if (!connected_) {
        LogIn();
    }
    return window_.View(Source).drives;
}

std::vector<ListEntry> HeadlessSession::Listing(std::string path) {
    if (!connected_) {
        LogIn();
    }
    while (!path.empty() && path.front() == '/') {
        path.erase(0, 1);
    }
    if (path.empty() || path.back() != '/') {
        path += '/';
    }
    const int shown = window_.View(Source).listingsShown;
    session_.ShowFolder(Source, path);
    RunUntil([this, shown] { return window_.View(Source).listingsShown > shown; },
             "Verzeichnisliste");
    return window_.View(Source).entries;
}

void HeadlessSession::Finish() {
    session_.DisconnectForExit();
}

}  // namespace olmira
