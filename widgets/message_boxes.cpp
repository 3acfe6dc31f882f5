#include "message_boxes.h"

#include <QPushButton>

void QtMessageBoxes::Show(QWidget* parent, const QString& title, QMessageBox::Icon icon,
                          const QString& text) {
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    box.exec();
}

bool QtMessageBoxes::Ask(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, parent);
    QPushButton* yes = box.addButton(QStringLiteral("Ja"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("Nein"), QMessageBox::NoRole);
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}
