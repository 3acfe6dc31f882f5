#include "event_loop_hand_over.h"

#include <QMetaObject>
#include <QObject>

#include "handover/ui_hand_over.h"

void ServeHandOverOnEventLoop(olmira::UiHandOver& handOver, QObject& context) {
    QObject* target = &context;
    handOver.SetWake([&handOver, target] {
        QMetaObject::invokeMethod(
            target, [&handOver] { handOver.Serve(); }, Qt::QueuedConnection);
    });
}
