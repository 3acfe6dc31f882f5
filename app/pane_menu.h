#pragma once

#include <QKeySequence>
#include <array>
#include <functional>

class QMenu;
class QWidget;

// What a pane offers on its entries, in the order of its context menu.
enum class PaneOperation { Copy, Move, Rename, NewFolder, Delete, Properties, Refresh };

struct PaneOperationKey {
    PaneOperation operation;
    // The menu's text and the key as the menu shows it.
    const char* text;
    const char* keyText;
    // The window's shortcut; empty where the window already has one (F5,
    // F6) or none is offered.
    QKeySequence shortcut;
    // The object name of the window's shortcut and the menu's action.
    const char* name;
};

// Delete is also the list's own Entf.
inline const std::array<PaneOperationKey, 7> kPaneOperations{{
    {PaneOperation::Copy, "Kopieren", "F5", {}, "Copy"},
    {PaneOperation::Move, "Verschieben", "F6", {}, "Move"},
    {PaneOperation::Rename, "Umbenennen", "F2", QKeySequence(Qt::Key_F2), "Rename"},
    {PaneOperation::NewFolder, "Neuer Ordner", "F7", QKeySequence(Qt::Key_F7), "NewFolder"},
    {PaneOperation::Delete, "Löschen", "Entf", QKeySequence(Qt::Key_F8), "Delete"},
    {PaneOperation::Properties, "Eigenschaften", "Alt+Eingabe",
     QKeySequence(Qt::ALT | Qt::Key_Return), "Properties"},
    {PaneOperation::Refresh, "Aktualisieren", "", {}, "Refresh"},
}};

// The context menu of an entry list, object name "PaneMenu", its actions
// "actionCopy" and so on; it deletes itself once closed. Copy and move are
// offered only when jobEnabled.
QMenu* PaneMenu(QWidget* parent, bool jobEnabled, const std::function<void(PaneOperation)>& run);
