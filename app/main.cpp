#include <QApplication>

#include "form_main.h"
#include "message_boxes.h"
#include "settings/program_folder.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(kApplicationTitle);

    QtMessageBoxes boxes;
    TformMain formMain(olmira::RunningProgramPlace(), boxes);
    formMain.show();
    return QApplication::exec();
}
