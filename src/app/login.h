#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// The login dialog. A successful login fills the operator session; closing with an
// empty box, or with "退出", asks the program to end (see quitRequested()).
class Tloginfm : public QDialog {
    Q_OBJECT
public:
    explicit Tloginfm(QWidget* parent = nullptr);

    // True when the program must end after the dialog.
    bool quitRequested() const { return m_quit; }
    // Whether the superuser still has the delivered password (the warning label).
    static bool superuserHasDeliveredPassword();

    void attemptLogin(); // "登录"

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

public slots:
    void reject() override;
    void done(int result) override;

private:
    bool closeAllowed();

    QLineEdit* m_code;
    QLineEdit* m_password;
    QPushButton* m_login;
    QPushButton* m_exit;
    QLabel* m_warning;
    bool m_quit = false;
    bool m_succeeded = false;
};
