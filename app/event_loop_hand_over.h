#pragma once

class QObject;

namespace olmira {
class UiHandOver;
}

// Lets Qt's event loop serve the hand-over: a worker's wake posts a Serve()
// to the thread of context, so the calls run there between other events, in
// the order the workers queued them. The workers must have ended before
// context is destroyed; posts still queued then are dropped by Qt.
void ServeHandOverOnEventLoop(olmira::UiHandOver& handOver, QObject& context);
