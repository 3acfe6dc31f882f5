#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

#include "message_boxes.h"

// The windows need a QApplication; without a display they draw offscreen.
// What a window keeps for later (the jobs it handed to the box) stays in a
// folder of the test's own, so that no test finds another's.
int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication application(argc, argv);
    QApplication::setApplicationName(kApplicationTitle);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
