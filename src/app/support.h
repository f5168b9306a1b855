#pragma once

#include <QDialog>

// The two support dialogs of the help menu: who to contact for help with the program.
class Taboutfm : public QDialog {
    Q_OBJECT
public:
    explicit Taboutfm(QWidget* parent = nullptr);
};

// The second support dialog also helps with the camera's video driver.
class TFormzxbz : public QDialog {
    Q_OBJECT
public:
    explicit TFormzxbz(QWidget* parent = nullptr);
    // The folder holding the video driver installers, under the program folder.
    static QString driverFolder();
    void openDriverFolder();
};
