#pragma once

#include <QString>

class QWidget;

// File and folder choosers, and the input box. Tests queue the next answers;
// an empty answer stands for Cancel.
namespace FileDialogs {
QString saveFile(QWidget* parent, const QString& caption, const QString& proposedPath,
                 const QString& filter);
QString openFile(QWidget* parent, const QString& caption, const QString& folder,
                 const QString& filter);
QString chooseFolder(QWidget* parent, const QString& caption, const QString& folder);

void setScripted(bool scripted);
void queueAnswer(const QString& path); // next dialog's answer ("" = Cancel)
QString lastProposed();                // the path or folder the last dialog proposed
} // namespace FileDialogs

namespace InputBox {
// Returns false when the operator cancels.
bool getText(QWidget* parent, const QString& caption, const QString& prompt, QString* text);
void queueAnswer(bool accepted, const QString& text = QString());
} // namespace InputBox
