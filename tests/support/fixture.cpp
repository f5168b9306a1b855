#include "fixture.h"

#include "data/clock.h"
#include "data/database.h"
#include "data/passwords.h"
#include "data/paths.h"
#include "data/session.h"
#include "data/sql.h"
#include "reports/reportoutput.h"
#include "ui/filedialogs.h"
#include "ui/messages.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace {
// The delivered database is built once per test program and copied for each test.
QString templateDatabase()
{
    static QTemporaryDir folder;
    static QString file;
    if (file.isEmpty()) {
        ProgramPaths::setHome(folder.path());
        QString error;
        if (!Database::open(&error))
            qFatal("cannot create the delivered database: %s", qPrintable(error));
        Sql::run("insert into userk(loginuser,name,passw,dj) values(:a,:b,:c,:d)",
                 {Fixture::operatorCode, QString::fromUtf8(Fixture::operatorName),
                  Passwords::hash(Fixture::operatorPassword), "A"});
        // The test operator holds every grant, as the superuser does.
        Sql::run("insert into usergrantk(loginuser,funename,funcname) "
                 "select :a, ownerename, ownercname from funk",
                 {Fixture::operatorCode});
        Sql::run("insert into usergrantk(loginuser,funename,funcname) "
                 "select :a, funcename, funccname from subfunk",
                 {Fixture::operatorCode});
        Database::close();
        file = ProgramPaths::databaseFile();
    }
    return file;
}
} // namespace

Fixture::Fixture()
{
    const QString source = templateDatabase();
    ProgramPaths::setHome(m_dir.path());
    QDir().mkpath(ProgramPaths::dataFolder());
    if (!QFile::copy(source, ProgramPaths::databaseFile()))
        qFatal("cannot copy the delivered database");
    QFile::setPermissions(ProgramPaths::databaseFile(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QString error;
    if (!Database::open(&error))
        qFatal("cannot open the test database: %s", qPrintable(error));
    Clock::setToday(today());
    Messages::setScripted(true);
    FileDialogs::setScripted(true);
    ReportOutput::setScripted(true, path("reports"));
    loginAs(operatorCode, QString::fromUtf8(operatorName), "A");
}

Fixture::~Fixture()
{
    // A screen that asks the operator something after its action has written keeps every
    // other desk waiting; the store counts it, and the test that did it says so.
    static int heldBefore = 0;
    if (Transaction::heldWhileWaiting() != heldBefore) {
        qWarning("the library stayed locked for writing while the operator was asked (%d times)",
                 Transaction::heldWhileWaiting() - heldBefore);
        heldBefore = Transaction::heldWhileWaiting();
    }
    Database::close();
    Session::reset();
    Clock::setToday(QDate());
}

QString Fixture::path(const QString& relative) const
{
    return QDir(m_dir.path()).filePath(relative);
}

void Fixture::loginAs(const QString& code, const QString& name, const QString& grade)
{
    OperatorSession& s = Session::current();
    s = OperatorSession();
    s.loginCode = code;
    s.name = name;
    s.grade = grade;
    s.attempted = true;
    s.completed = true;
    Sql grants("select funename from usergrantk where loginuser=:code");
    grants.bind(code).exec();
    while (grants.next())
        s.grants.insert(grants.text("funename"));
}

int Fixture::count(const QString& statement, const QVariantList& values)
{
    return Sql::scalar(statement, values).toInt();
}
