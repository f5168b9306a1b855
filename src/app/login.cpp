#include "app/login.h"

#include "data/passwords.h"
#include "data/session.h"
#include "data/sql.h"
#include "ui/gbklimit.h"
#include "ui/help.h"
#include "ui/messages.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr const char* superuserCode = "ADMIN";
}

Tloginfm::Tloginfm(QWidget* parent) : QDialog(parent)
{
    setObjectName("Tloginfm");
    setWindowTitle(QString::fromUtf8("用户登录"));
    // No border icons: the dialog closes only by its buttons.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    Help::setContext(this, 10);

    m_code = new QLineEdit(this);
    m_code->setObjectName("Edit1");
    GbkLimit::apply(m_code, 8); // userk.loginuser
    m_password = new QLineEdit(this);
    m_password->setObjectName("Edit2");
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setMaxLength(Passwords::maxLength);
    m_login = new QPushButton(QString::fromUtf8("登录"), this);
    m_login->setObjectName("BitBtn1");
    m_login->setAutoDefault(false);
    m_exit = new QPushButton(QString::fromUtf8("退出"), this);
    m_exit->setObjectName("BitBtn2");
    m_exit->setAutoDefault(false);
    m_warning =
        new QLabel(QString::fromUtf8("超级用户代号“%1”的口令仍为初始口令“%2”，请您及时更改密码!")
                       .arg(superuserCode, Passwords::deliveredSuperuserPassword),
                   this);
    m_warning->setObjectName("lts");
    m_warning->setStyleSheet("color: #c00000;");
    m_warning->setWordWrap(true);
    m_warning->hide();

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel(QString::fromUtf8("用户代号："), this), 0, 0);
    fields->addWidget(m_code, 0, 1);
    fields->addWidget(new QLabel(QString::fromUtf8("口    令："), this), 1, 0);
    fields->addWidget(m_password, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_login);
    buttons->addWidget(m_exit);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(m_warning);
    layout->addLayout(buttons);
    setMinimumWidth(340);

    m_code->installEventFilter(this);
    m_password->installEventFilter(this);
    connect(m_login, &QPushButton::clicked, this, &Tloginfm::attemptLogin);
    connect(m_exit, &QPushButton::clicked, this, [this] {
        close();
        m_quit = true; // "退出" ends the program in any case
        QDialog::done(QDialog::Rejected);
    });
}

bool Tloginfm::superuserHasDeliveredPassword()
{
    try {
        Sql q("select passw from userk where loginuser= :t0");
        q.bind(superuserCode).exec();
        return q.next() &&
               Passwords::verify(q.text("passw"), Passwords::deliveredSuperuserPassword);
    } catch (const StoreError&) {
        return false;
    }
}

void Tloginfm::showEvent(QShowEvent* event)
{
    m_warning->setVisible(superuserHasDeliveredPassword());
    adjustSize();
    QDialog::showEvent(event);
    m_code->setFocus();
}

bool Tloginfm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
        if (watched == m_code && enter) {
            if (!m_code->text().isEmpty())
                m_password->setFocus();
            return true;
        }
        if (watched == m_password && enter) {
            m_login->click();
            return true;
        }
        if (watched == m_password && key == Qt::Key_Escape) {
            m_code->setFocus();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Tloginfm::attemptLogin()
{
    if (m_password->text().isEmpty()) {
        Messages::notice(this, QString::fromUtf8("提示"),
                         QString::fromUtf8("你未输入口令，请输入完整的登录信息后再回车。"));
        m_password->setFocus();
        return;
    }
    OperatorSession& session = Session::current();
    session.attempted = false;
    session.completed = false;
    // Only the superuser's code is read in any letter case.
    QString code = m_code->text();
    if (code.toUpper() == QLatin1String(superuserCode))
        code = superuserCode;
    const QString typed = m_password->text();

    bool found = false;
    QString name, grade, hash;
    try {
        Sql q("select * from userk where loginuser=:loginuser");
        q.bind(code).exec();
        if (q.next()) {
            found = true;
            name = q.text("Name");
            grade = q.text("dj");
            hash = q.text("passw");
        }
    } catch (const StoreError&) {
        // Same answer as an unknown operator; the flags stay unset.
        Messages::plain(this, QString::fromUtf8("用户名或者密码不对！"));
        return;
    }
    if (!found || !Passwords::verify(hash, typed)) {
        session.attempted = true;
        Messages::plain(this, QString::fromUtf8("用户名或者密码不对！"));
        return;
    }
    session.loginCode = code;
    session.name = name;
    session.grade = grade;
    session.attempted = true;
    session.completed = true;
    m_succeeded = true;
    accept();
}

bool Tloginfm::closeAllowed()
{
    if (m_code->text().isEmpty() || m_password->text().isEmpty()) {
        m_quit = true;
        return true;
    }
    return Session::current().attempted;
}

void Tloginfm::closeEvent(QCloseEvent* event)
{
    if (closeAllowed())
        event->accept();
    else
        event->ignore();
}

void Tloginfm::reject()
{
    // Escape and the system's close request follow the closing rules.
    if (closeAllowed())
        QDialog::reject();
}

void Tloginfm::done(int result)
{
    if (m_succeeded || m_quit || closeAllowed())
        QDialog::done(result);
}
