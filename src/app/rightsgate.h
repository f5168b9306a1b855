#pragma once

#include <QString>

class QWidget;

// Grants make menu entries visible. A key matches the objectName of a menu action
// exactly (letter case counts); a key that names no entry changes nothing.
namespace RightsGate {
void setVisibility(QWidget* mainWindow, const QString& key, bool visible);
// Makes every entry granted to the operator visible; returns how many grant rows were read.
int loadGrants(QWidget* mainWindow, const QString& loginCode);
// Whether the menu entry of this key is visible (granted), regardless of its menu.
bool isGranted(QWidget* mainWindow, const QString& key);
} // namespace RightsGate
