#pragma once

#include <QHash>
#include <QString>

class QAction;
class QMenuBar;

// The menu bar's fixed tree: five menus, their items and separators, each a named control.
// Returns every item (not the menus) by control name; the menus themselves are named
// QMenu children of the bar.
QHash<QString, QAction *> buildMenuBar(QMenuBar *bar);
