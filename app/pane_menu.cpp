#include "pane_menu.h"

#include <QMenu>

QMenu* PaneMenu(QWidget* parent, bool jobEnabled, const std::function<void(PaneOperation)>& run) {
    auto* menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("PaneMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    for (const PaneOperationKey& key : kPaneOperations) {
        QString text = QString::fromUtf8(key.text);
        if (*key.keyText != '\0') {
            // Shown right-aligned as the key; the window's shortcuts do the work.
            text += QLatin1Char('\t') + QString::fromUtf8(key.keyText);
        }
        QAction* action = menu->addAction(text);
        action->setObjectName(QStringLiteral("action") + QString::fromUtf8(key.name));
        const PaneOperation operation = key.operation;
        const bool job = operation == PaneOperation::Copy || operation == PaneOperation::Move;
        action->setEnabled(!job || jobEnabled);
        QObject::connect(action, &QAction::triggered, menu, [run, operation] { run(operation); });
        if (operation == PaneOperation::Move || operation == PaneOperation::Delete) {
            menu->addSeparator();
        }
    }
    return menu;
}
