#include <gtest/gtest.h>

#include <QApplication>

#include "message_boxes.h"

// The windows need a QApplication; without a display they draw offscreen.
int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(kApplicationTitle);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
