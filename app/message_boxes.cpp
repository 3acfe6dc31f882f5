#include "message_boxes.h"

void QtMessageBoxes::Show(QWidget* parent, const QString& title, QMessageBox::Icon icon,
                          const QString& text) {
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    box.exec();
}
