#pragma once

#include <QDialog>

#include "desk/backup.h"

class QLineEdit;
class QPushButton;
class QRadioButton;

// "系统备份与恢复": backs the database up to the default or a chosen folder, or restores it
// from a chosen folder.
class TFormxtbf : public QDialog {
    Q_OBJECT
public:
    explicit TFormxtbf(QWidget* parent = nullptr);

    // Tells the operator why a backup or restore did not go ahead.
    static void tell(QWidget* parent, const Backup::Stop& stop);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildScreen();
    void defaultPathClick();
    void chosenPathClick();
    void restoreModeClick();
    void backupClick();
    void restoreClick();
    void chooseFolder(QLineEdit* box);

    QRadioButton* m_default = nullptr;      // RadioButton1
    QRadioButton* m_chosen = nullptr;       // RadioButton2
    QRadioButton* m_restore = nullptr;      // rb3
    QLineEdit* m_backupPath = nullptr;      // Edit1
    QLineEdit* m_restorePath = nullptr;     // Edit2
    QPushButton* m_chooseBackup = nullptr;  // BitBtn4
    QPushButton* m_chooseRestore = nullptr; // BitBtn5
};
