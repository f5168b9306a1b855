#include "ui/filedialogs.h"

#include "data/sql.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QQueue>

namespace {
struct Script {
    bool scripted = false;
    QQueue<QString> answers;
    QString lastProposed;
    QQueue<QPair<bool, QString>> inputs;
};

Script& script()
{
    static Script s;
    return s;
}

QString scriptedAnswer(const QString& proposed)
{
    script().lastProposed = proposed;
    return script().answers.isEmpty() ? QString() : script().answers.dequeue();
}
} // namespace

QString FileDialogs::saveFile(QWidget* parent, const QString& caption, const QString& proposedPath,
                              const QString& filter)
{
    Transaction::beforeWaitingForPerson(caption);
    if (script().scripted)
        return scriptedAnswer(proposedPath);
    // The overwrite question belongs to the caller, which asks in the desk's own words.
    return QFileDialog::getSaveFileName(parent, caption, proposedPath, filter, nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

QString FileDialogs::openFile(QWidget* parent, const QString& caption, const QString& folder,
                              const QString& filter)
{
    Transaction::beforeWaitingForPerson(caption);
    if (script().scripted)
        return scriptedAnswer(folder);
    return QFileDialog::getOpenFileName(parent, caption, folder, filter);
}

QString FileDialogs::chooseFolder(QWidget* parent, const QString& caption, const QString& folder)
{
    Transaction::beforeWaitingForPerson(caption);
    if (script().scripted)
        return scriptedAnswer(folder);
    return QFileDialog::getExistingDirectory(parent, caption, folder);
}

void FileDialogs::setScripted(bool scripted)
{
    script() = Script();
    script().scripted = scripted;
}

void FileDialogs::queueAnswer(const QString& path)
{
    script().answers.enqueue(path);
}

QString FileDialogs::lastProposed()
{
    return script().lastProposed;
}

bool InputBox::getText(QWidget* parent, const QString& caption, const QString& prompt,
                       QString* text)
{
    Transaction::beforeWaitingForPerson(caption);
    if (script().scripted) {
        if (script().inputs.isEmpty())
            return false;
        const auto answer = script().inputs.dequeue();
        if (answer.first && text)
            *text = answer.second;
        return answer.first;
    }
    bool ok = false;
    const QString typed = QInputDialog::getText(parent, caption, prompt, QLineEdit::Normal,
                                                text ? *text : QString(), &ok);
    if (ok && text)
        *text = typed;
    return ok;
}

void InputBox::queueAnswer(bool accepted, const QString& text)
{
    script().inputs.enqueue({accepted, text});
}
