#pragma once

#include <QList>
#include <QString>

// The main window's commands, in menu order. The key of each entry is the grant key
// that makes it visible, and the objectName of its menu action.
struct MenuItemEntry {
    const char* key;
    const char* caption;
    const char* shortcut = nullptr; // e.g. "F1"
    bool startsVisible = false;
};

struct MenuEntry {
    const char* key;
    const char* caption;
    bool startsVisible = false;
    QList<MenuItemEntry> items; // empty: the top-level entry is itself the command
};

struct SideBarButton {
    const char* caption;
    const char* key;     // the menu item it stands for
    const char* refusal; // plain message when that item is not granted
};

struct SideBarHeader {
    const char* caption;
    QList<SideBarButton> buttons;
};

namespace CommandTable {
const QList<MenuEntry>& menus();
const QList<SideBarHeader>& sideBar();
// Every key that opens something: menu item keys and command-menus such as "cwcx".
QStringList commandKeys();
} // namespace CommandTable
